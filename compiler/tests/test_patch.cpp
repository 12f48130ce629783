#include "patch.h"

#include "patchapplier.h"
#include "testdata.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

#include <zlib.h>

using namespace wharf;
using namespace wharf::testing;

namespace {

std::string makePatch(const std::string &newData, const std::string &oldData, int chainLimit = kArchiveChainLimit,
                      const PatchProgress &progress = {})
{
    std::istringstream newFile(newData);
    std::istringstream oldFile(oldData);
    std::ostringstream patch;
    CreatePatch(newFile, oldFile, patch, chainLimit, progress);
    return patch.str();
}

// Patches, applies and compares; returns the records for further checks.
std::vector<PatchRecord> roundTrip(const std::string &newData, const std::string &oldData, int chainLimit = kArchiveChainLimit)
{
    std::vector<PatchRecord> records;
    const std::string patch = makePatch(newData, oldData, chainLimit);
    const std::string rebuilt = ApplyPatch(oldData, patch, &records);
    EXPECT_EQ(rebuilt.size(), newData.size());
    EXPECT_TRUE(rebuilt == newData) << "rebuilt file differs";
    return records;
}

std::string le32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    return s;
}

uint32_t crcOf(const std::string &s)
{
    return static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef *>(s.data()), static_cast<uInt>(s.size())));
}

std::vector<int> modesOf(const std::vector<PatchRecord> &records)
{
    std::vector<int> modes;
    for (const PatchRecord &r : records)
        modes.push_back(r.mode);
    return modes;
}

std::string repeated(const std::string &part, size_t times)
{
    std::string s;
    for (size_t i = 0; i < times; ++i)
        s += part;
    return s;
}

// A block that matches nothing around it: its neighbours are set apart.
std::string marked(std::string data, size_t at, const std::string &block, char before, char after)
{
    data.replace(at, block.size(), block);
    data[at - 1] = before;
    data[at + block.size()] = after;
    return data;
}

} // namespace

TEST(PatchTest, RoundTripsRebuildTheNewFile)
{
    const std::string program = randomBytes(3'000'000, 1);
    const std::string text = textBytes(2'500'000, 2);
    struct Case {
        const char *name;
        std::string newData, oldData;
        std::vector<int> modes;
    } cases[] = {
        {"program and its next version", editedCopy(program, 40, 300, 3), program, {1, 1, 0}},
        {"text with edits", editedCopy(text, 200, 50, 4), text, {1, 1, 0}},
        {"unrelated files", randomBytes(100'000, 5), randomBytes(90'000, 6), {1, 0}},
        {"new file shorter than old", program.substr(1000, 500'000), program, {1, 0}},
        {"runs of one byte", std::string(300'000, 'z') + "tail", std::string(100'000, 'z'), {1, 0}},
        {"periodic data", repeated("abc", 66'667), std::string(150'000, 'a') + repeated("bca", 3), {1, 0}},
        {"four bytes each", "wxyz", "wxyz", {1, 0}},
        {"old chunk a quarter of the new", randomBytes(4000, 7), randomBytes(1000, 8), {1, 0}},
        {"old chunk under a quarter", randomBytes(4000, 7), randomBytes(999, 8), {0, 0}},
        {"new file of 3 bytes", "abc", program, {0, 0}},
        {"old file of 3 bytes", randomBytes(100, 9), "abc", {0, 0}},
        {"empty old file", randomBytes(100, 9), "", {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(modesOf(roundTrip(c.newData, c.oldData)), c.modes);
    }
}

TEST(PatchTest, IdenticalFiveMegabyteFiles)
{
    const std::string data = randomBytes(5'000'000, 11);
    const std::vector<PatchRecord> records = roundTrip(data, data);
    ASSERT_EQ(records.size(), 4u);
    const uint32_t lengths[] = {2097152, 2097152, 5'000'000 - 2 * 2097152};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].mode, 1);
        EXPECT_EQ(records[i].newLength, lengths[i]);
        EXPECT_EQ(records[i].oldLength, lengths[i]);
        EXPECT_GT(records[i].commandCount, 0u);
        EXPECT_LE(records[i].longestCommand, 65535u);
        // A match stops two bytes before the chunk's end.
        EXPECT_EQ(records[i].uncoveredTail, 2u);
        EXPECT_LT(records[i].literalCount, 100u); // copies, not literals
    }
    EXPECT_EQ(records[3].mode, 0);
    EXPECT_EQ(records[3].newLength, 0u);
}

TEST(PatchTest, TenMegabytesAgainstOne)
{
    const std::string oldData = randomBytes(1'048'576, 12);
    std::string newData = editedCopy(oldData, 10, 100, 13);
    newData += randomBytes(10'000'000 - newData.size(), 14);
    const std::vector<PatchRecord> records = roundTrip(newData, oldData);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(modesOf(records), (std::vector<int>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(records[0].oldLength, 1'048'576u);
    for (size_t i = 1; i < 6; ++i)
        EXPECT_EQ(records[i].oldLength, 0u) << i;
    EXPECT_EQ(records[4].newLength, 10'000'000u - 4 * 2097152);
}

TEST(PatchTest, RawRecordsByteExact)
{
    const std::string hundred = randomBytes(100, 15);
    const std::string tail = le32(0) + '\0' + le32(0);
    struct Case {
        const char *name;
        std::string newData, oldData, expected;
    } cases[] = {
        {"empty new file", "", hundred, le32(100) + '\0' + le32(0)},
        {"empty new and old file", "", "", tail},
        {"new file of 3 bytes", "abc", hundred, le32(100) + '\0' + le32(3) + le32(crcOf("abc")) + "abc" + tail},
        {"new file of 3 bytes, no old", "abc", "", le32(0) + '\0' + le32(3) + le32(crcOf("abc")) + "abc" + tail},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string patch = makePatch(c.newData, c.oldData);
        EXPECT_EQ(patch, c.expected);
        EXPECT_EQ(ApplyPatch(c.oldData, patch), c.newData);
    }
    // The applier does check the CRCs it is given.
    std::string broken = makePatch("abc", "");
    broken[13] = 'x';
    EXPECT_THROW(ApplyPatch("", broken), std::runtime_error);
}

TEST(PatchTest, MatchesNeedTwentyBytes)
{
    const std::string oldData = randomBytes(400, 21);
    for (size_t length : {19u, 20u, 21u}) {
        SCOPED_TRACE(length);
        const std::string newData = marked(randomBytes(400, 22), 100, oldData.substr(200, length), 'A', 'B');
        const std::vector<PatchRecord> records = roundTrip(newData, marked(oldData, 200, oldData.substr(200, length), 'C', 'D'));
        ASSERT_EQ(records[0].mode, 1);
        EXPECT_EQ(records[0].commandCount, length < 20 ? 0u : 1u);
        EXPECT_EQ(records[0].literalCount, 400u - (length < 20 ? 0 : length));
    }
}

TEST(PatchTest, ChainOrderAndLimitChooseTheCandidate)
{
    // The new file holds a 60-byte block at 200. The old file holds all 60
    // bytes at 50 and only the first 30 at 300; the chain lists 300 first.
    const std::string block = randomBytes(60, 31);
    std::string oldData = marked(randomBytes(1000, 32), 50, block, 'a', 'b');
    oldData = marked(oldData, 300, block.substr(0, 30), 'c', 'd');
    const std::string newData = marked(randomBytes(1000, 33), 200, block, 'e', 'f');
    struct Case {
        int chainLimit;
        std::vector<uint32_t> oldPositions;
        uint32_t longest;
    } cases[] = {
        {0, {}, 0},
        {1, {301, 81}, 30},    // the 30-byte copy, then the rest of the block from 50
        {2, {51}, 60},         // the longer match further down the chain wins
        {1024, {51}, 60},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chainLimit);
        const std::vector<PatchRecord> records = roundTrip(newData, oldData, c.chainLimit);
        EXPECT_EQ(records[0].oldPositions, c.oldPositions);
        EXPECT_EQ(records[0].longestCommand, c.longest);
    }
}

TEST(PatchTest, EqualMatchesPreferTheHighestOldPosition)
{
    const std::string block = randomBytes(40, 41);
    std::string oldData = marked(randomBytes(1000, 42), 100, block, 'a', 'b');
    oldData = marked(oldData, 600, block, 'c', 'd');
    const std::string newData = marked(randomBytes(1000, 43), 300, block, 'e', 'f');
    const std::vector<PatchRecord> records = roundTrip(newData, oldData);
    EXPECT_EQ(records[0].oldPositions, (std::vector<uint32_t>{601}));
}

TEST(PatchTest, FindMatchesChecksItsInputAndReportsProgress)
{
    DiffBuffers buffers;
    const std::string small = "abc";
    const std::string big = randomBytes(1000, 51);
    const auto *s = reinterpret_cast<const uint8_t *>(small.data());
    const auto *b = reinterpret_cast<const uint8_t *>(big.data());
    try {
        FindMatches(s, 3, b, 1000, 1024, buffers);
        FAIL() << "no exception";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "Buffer size should be at least 4 bytes");
    }
    EXPECT_THROW(FindMatches(b, 1000, s, 3, 1024, buffers), std::invalid_argument);

    // No match anywhere: 1000 one-byte steps, reported after every 16th.
    const std::string other = randomBytes(1000, 52);
    std::vector<uint32_t> reports;
    const MatchCounts counts = FindMatches(reinterpret_cast<const uint8_t *>(other.data()), 1000, b, 1000, 1024, buffers,
                                           [&](uint32_t n) { reports.push_back(n); });
    EXPECT_EQ(counts.literalCount, 1000u);
    EXPECT_EQ(counts.commandBytes, 10u);
    ASSERT_EQ(reports.size(), 62u);
    for (uint32_t n : reports)
        EXPECT_EQ(n, 16u);
    // The end command: length 0, old position 0, new position length + 1.
    const uint8_t end[10] = {0, 0, 0, 0, 0, 0, 0xE9, 0x03, 0, 0};
    EXPECT_EQ(std::memcmp(buffers.commands.data(), end, 10), 0);
}
