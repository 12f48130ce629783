#include "encdec.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace wharf;

namespace {

std::string hex(const uint8_t *p, size_t n)
{
    static const char *d = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

std::vector<uint8_t> unhex(const std::string &s)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < s.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(s.substr(i, 2), nullptr, 16)));
    return out;
}

std::string keyBytes(const std::string &hexKey)
{
    const auto k = unhex(hexKey);
    return std::string(k.begin(), k.end());
}

std::string encipher(const std::string &plain, const std::string &password)
{
    std::istringstream in(plain);
    std::ostringstream out;
    EncryptStream(in, out, password);
    return out.str();
}

} // namespace

// Published Blowfish vectors pin the key schedule and the big-endian block
// order; the CBC vector pins the chaining.
TEST(CipherTest, BlowfishKnownAnswers)
{
    struct Case {
        const char *key, *plain, *cipher;
    } cases[] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    };
    for (const Case &c : cases) {
        // A zero chaining value makes one CBC block equal plain Blowfish.
        CipherContext ctx(keyBytes(c.key), CipherBlock{});
        auto block = unhex(c.plain);
        EncryptBuffer(ctx, block.data(), block.size());
        EXPECT_EQ(hex(block.data(), 8), c.cipher) << c.key;
    }
}

TEST(CipherTest, CbcKnownAnswerAcrossCalls)
{
    const CipherBlock iv = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};
    std::string plain = "7654321 Now is the time for ";
    plain.resize(32, '\0');
    std::vector<uint8_t> buf(plain.begin(), plain.end());
    CipherContext ctx(keyBytes("0123456789ABCDEFF0E1D2C3B4A59687"), iv);
    // Two calls form one chain.
    EncryptBuffer(ctx, buf.data(), 16);
    EncryptBuffer(ctx, buf.data() + 16, 16);
    EXPECT_EQ(hex(buf.data(), buf.size()), "6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC");

    CipherContext back(keyBytes("0123456789ABCDEFF0E1D2C3B4A59687"), iv);
    DecryptBuffer(back, buf.data(), 8);
    DecryptBuffer(back, buf.data() + 8, 24);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), plain);
}

TEST(CipherTest, Ripemd160KnownAnswers)
{
    auto d = DigestString("");
    EXPECT_EQ(hex(d.data(), 20), "9C1185A5C5E9FC54612808977EE8F548B2258D31");
    d = DigestString("abc");
    EXPECT_EQ(hex(d.data(), 20), "8EB208F7E05D987A9B044A8E98C6B087F15A0BFC");
    // Non-ASCII passwords are digested as their Windows-1252 bytes.
    EXPECT_EQ(DigestString("\u00E9"), DigestString(std::string("\xC3\xA9")));
}

TEST(CipherTest, PartialBlocksStayPlain)
{
    CipherContext ctx("pw");
    uint8_t small[7] = {1, 2, 3, 4, 5, 6, 7};
    EncryptBuffer(ctx, small, 7);
    EXPECT_EQ(hex(small, 7), "01020304050607");
}

TEST(CipherTest, KeyLengthIsChecked)
{
    EXPECT_THROW(CipherContext(""), EBlowfishError);
    EXPECT_THROW(CipherContext(std::string(57, 'k')), EBlowfishError);
    EXPECT_NO_THROW(CipherContext(std::string(56, 'k')));
    EXPECT_NO_THROW(CipherContext("k"));
    try {
        CipherContext c("");
    } catch (const EBlowfishError &e) {
        EXPECT_STREQ(e.what(), "Blowfish: Key must be between 1 and 56 bytes long");
    }
    std::istringstream in("data");
    std::ostringstream out;
    EXPECT_THROW(EncryptStream(in, out, ""), EBlowfishError);
    EXPECT_TRUE(out.str().empty());
}

TEST(CipherTest, StreamLayout)
{
    const std::string password = "secret";
    const auto digest = DigestString(password);
    const std::string digestBytes(digest.begin(), digest.end());
    struct Case {
        size_t size;
    } cases[] = {{0}, {13}, {10240}, {10245}, {20480 + 3}};
    for (const Case &c : cases) {
        std::string plain(c.size, '\0');
        for (size_t i = 0; i < c.size; ++i)
            plain[i] = static_cast<char>(i * 7 + 3);
        const std::string file = encipher(plain, password);
        ASSERT_EQ(file.size(), 20 + c.size) << c.size;
        EXPECT_EQ(file.substr(0, 20), digestBytes);
        // The tail of fewer than 8 bytes is stored plain.
        const size_t tail = c.size % 8;
        EXPECT_EQ(file.substr(file.size() - tail), plain.substr(plain.size() - tail));
        if (c.size >= 8) {
            EXPECT_NE(file.substr(20, 8), plain.substr(0, 8));
        }
        // The body is one CBC chain over the whole stream, chunks included.
        std::vector<uint8_t> body(plain.begin(), plain.end());
        CipherContext ctx = CipherContext::forPassword(password);
        EncryptBuffer(ctx, body.data(), body.size());
        EXPECT_EQ(file.substr(20), std::string(body.begin(), body.end())) << c.size;

        std::istringstream in(file);
        std::ostringstream back;
        EXPECT_EQ(DecryptStream(in, back, {password}), 0);
        EXPECT_EQ(back.str(), plain);
    }
    EXPECT_EQ(encipher("same data here!!", password), encipher("same data here!!", password));
}

TEST(CipherTest, PasswordSearch)
{
    const std::string file = encipher("dialog text", "right");
    auto tryList = [&](const std::vector<std::string> &list) {
        std::istringstream in(file);
        std::ostringstream out;
        const int index = DecryptStream(in, out, list);
        if (index < 0) {
            EXPECT_TRUE(out.str().empty());
        }
        return index;
    };
    EXPECT_EQ(tryList({"wrong", "right"}), 1);
    EXPECT_EQ(tryList({"right", "right"}), 0);
    EXPECT_EQ(tryList({}), -1);
    EXPECT_EQ(tryList({"", std::string(60, 'x'), "nope"}), -1);

    std::istringstream shortFile("too short");
    std::ostringstream out;
    EXPECT_EQ(DecryptStream(shortFile, out, {"right"}), -1);
}
