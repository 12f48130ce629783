// Any bytes as clipboard data in the designer's control format. What the
// decoder takes must encode (Copy accepts it) and decode back to the same key
// list, and a pasted control's place must lie inside the dialog area.
#include "clipboardformat.h"
#include "keylist.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "control clipboard round trip: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::optional<wharf::TStringList> keys = wharf::decodeControlClipboard(bytes);
    if (!keys)
        return 0;
    std::string copied;
    try {
        copied = wharf::encodeControlClipboard(*keys);
    } catch (const std::exception &) {
        fail("a key list that pastes can't be copied");
    }
    const std::optional<wharf::TStringList> again = wharf::decodeControlClipboard(copied);
    if (!again || *again != *keys)
        fail("decode, encode, decode changed the key list");

    // The indexed key-list store answers as a plain scan of the list does,
    // before and after writes through it.
    wharf::TStringList copy = *keys;
    wharf::TKeyListStore store(copy);
    const auto agrees = [&](const std::string &key) {
        const std::string indexed = store.ReadString(wharf::kKeyListSection, key, "\n");
        const std::optional<std::string> scanned = wharf::keyListValue(copy, key);
        return scanned ? indexed == *scanned : indexed == "\n";
    };
    for (size_t i = 0; i < keys->size() && i < 64; ++i) {
        const std::string &line = (*keys)[i];
        const std::string key = line.substr(0, std::min(line.find('='), line.size()));
        if (!agrees(key))
            fail("the key-list index disagrees with the list");
        if (i % 3 == 0) {
            store.WriteString(wharf::kKeyListSection, key + "x", "w");
            if (!agrees(key + "x") || !agrees(key))
                fail("the key-list index disagrees after a write");
        }
    }

    // The place of the pasted control, among a few placed ones made from the
    // input's first bytes.
    std::vector<wharf::TRect> placed;
    for (size_t i = 0; i + 4 <= std::min<size_t>(size, 32); i += 4)
        placed.push_back({data[i] + 0, data[i + 1] + 0, data[i + 2] % 120 + 3, data[i + 3] % 120 + 3});
    const wharf::TRect surface = wharf::kSurfaceRect;
    const wharf::TRect wanted{wharf::keyListInteger(*keys, "Left", 0), wharf::keyListInteger(*keys, "Top", 0),
                              std::clamp<int32_t>(wharf::keyListInteger(*keys, "Width", 0), 3, surface.width),
                              std::clamp<int32_t>(wharf::keyListInteger(*keys, "Height", 0), 3, surface.height)};
    const wharf::TRect place = wharf::pastePlace(wanted, surface, placed);
    if (place.left < surface.left || place.top < surface.top || place.right() > surface.right() ||
        place.bottom() > surface.bottom() || place.width != wanted.width || place.height != wanted.height)
        fail("a pasted control lies outside the dialog area");
    return 0;
}
