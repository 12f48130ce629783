#pragma once
// Password cipher: Blowfish in CBC mode keyed by a password, RIPEMD-160
// password digests, and the enciphered stream used for dialog files
// (20-byte digest of the password, then the body in 10240-byte chunks on one
// continuing chain, a final tail shorter than a block left plain).
//
// Passwords are UTF-8 text inside the programs; the key and the digest are
// made from the password's Windows-1252 bytes, so files written on Windows
// and by the setup runtime agree.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nettle/blowfish.h>

namespace wharf {

using CipherBlock = std::array<uint8_t, 8>;
using PasswordDigest = std::array<uint8_t, 20>;

// The one initialisation vector of the whole system; the setup runtime
// uses it too.
inline constexpr CipherBlock kInitVector = {0xA4, 0x0E, 0x71, 0xC9, 0x3B, 0x58, 0xD2, 0x06};

// Size of the chunks of an enciphered stream.
inline constexpr size_t kStreamChunk = 10240;

// Raised when a key can't be made (empty or longer than 56 bytes, or a
// password that has no Windows-1252 form).
class EBlowfishError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A Blowfish key schedule and the chaining value. Everything enciphered
// with one context, in however many calls, forms one chain. The contents
// are wiped when the context goes.
class CipherContext {
public:
    // key: raw key bytes, 1 to 56 of them; throws EBlowfishError otherwise.
    CipherContext(std::string_view key, const CipherBlock &iv = kInitVector);
    ~CipherContext();
    CipherContext(const CipherContext &) = delete;
    CipherContext &operator=(const CipherContext &) = delete;

    // A context keyed by a password's Windows-1252 bytes.
    static CipherContext forPassword(std::string_view password, const CipherBlock &iv = kInitVector);

    const blowfish_ctx &schedule() const { return m_schedule; }
    CipherBlock &chain() { return m_chain; }

private:
    blowfish_ctx m_schedule{};
    CipherBlock m_chain{};
};

// out[i] = a[i] XOR b[i] for i in [0, count).
void XorBuffers(const uint8_t *a, const uint8_t *b, uint8_t *out, size_t count);

// Enciphers floor(length / 8) blocks of buffer in place in CBC mode; the last
// length mod 8 bytes stay as they are.
void EncryptBuffer(CipherContext &context, uint8_t *buffer, size_t length);

// The inverse of EncryptBuffer, with the same whole-block rule.
void DecryptBuffer(CipherContext &context, uint8_t *buffer, size_t length);

// RIPEMD-160 of the password's Windows-1252 bytes. Throws EBlowfishError
// when the password has no Windows-1252 form.
PasswordDigest DigestString(std::string_view password);

// Writes the enciphered form of all of source to target, both taken from
// their start. Throws EBlowfishError before writing anything when the
// password can't key the cipher, and std::ios_base::failure when a stream
// fails.
void EncryptStream(std::istream &source, std::ostream &target, std::string_view password);

// Deciphers source into target with the first password whose digest equals
// the stored one; returns its index, or -1 (nothing written) when none
// matches or source is shorter than a digest.
int DecryptStream(std::istream &source, std::ostream &target, const std::vector<std::string> &passwords);

} // namespace wharf
