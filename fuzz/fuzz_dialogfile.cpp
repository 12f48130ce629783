// Any bytes as a dialog file. Input that does not start with the digest of
// one of the designer's passwords is taken as the plain text and enciphered
// under password 0 first, so that mutations reach the INI reader directly.
// Whatever loads must write and read back as the same document.
#include "dialogfile.h"
#include "encdec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool startsWithDigest(const std::string &bytes, const std::string &password)
{
    const wharf::PasswordDigest digest = wharf::DigestString(password);
    return bytes.size() >= digest.size() &&
           bytes.compare(0, digest.size(), std::string(digest.begin(), digest.end())) == 0;
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "dialog file round trip: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto &passwords = wharf::dialogPasswords();
    std::string file(reinterpret_cast<const char *>(data), size);
    if (!startsWithDigest(file, passwords[0]) && !startsWithDigest(file, passwords[1])) {
        std::istringstream plain(file);
        std::ostringstream enciphered;
        wharf::EncryptStream(plain, enciphered, passwords[0]);
        file = std::move(enciphered).str();
    }
    const wharf::TDecodedDialog first = wharf::decodeDialogFile(file);
    if (first.passwordIndex < 0)
        return 0;

    std::string written;
    try {
        written = wharf::encodeDialogFile(first.contents);
    } catch (const wharf::EDialogFileError &) {
        fail("a dialog that was read can't be written");
    }
    const wharf::TDecodedDialog second = wharf::decodeDialogFile(written);
    if (second.passwordIndex != wharf::kPasswordProfessional)
        fail("a written dialog is not under password 0");
    if (!(second.contents.page == first.contents.page))
        fail("the page changed");
    if (second.contents.controls != first.contents.controls)
        fail("the controls changed");
    // Written once more, the bytes stand still.
    if (wharf::encodeDialogFile(second.contents) != written)
        fail("a second write gave other bytes");
    return 0;
}
