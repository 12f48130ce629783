#include "encdec.h"

#include "codec.h"

#include <cstring>
#include <istream>
#include <ostream>

#include <nettle/ripemd160.h>

namespace wharf {
namespace {

// Overwrites memory in a way the optimiser may not drop.
void secureWipe(void *data, size_t size)
{
    volatile auto *p = static_cast<volatile uint8_t *>(data);
    for (size_t i = 0; i < size; ++i)
        p[i] = 0;
}

// Key bytes that are overwritten when they go.
class WipedKey {
public:
    explicit WipedKey(std::string bytes) : m_bytes(std::move(bytes)) {}
    ~WipedKey() { secureWipe(m_bytes.data(), m_bytes.size()); }
    WipedKey(const WipedKey &) = delete;
    WipedKey &operator=(const WipedKey &) = delete;
    std::string_view bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

std::string passwordBytes(std::string_view password)
{
    try {
        return toWindows1252(password);
    } catch (const ECodecError &e) {
        throw EBlowfishError(std::string("Blowfish: the password can't be used: ") + e.what());
    }
}

// Reads up to size bytes; fewer only at the end of the stream.
size_t readSome(std::istream &in, uint8_t *buffer, size_t size)
{
    in.read(reinterpret_cast<char *>(buffer), static_cast<std::streamsize>(size));
    const auto got = static_cast<size_t>(in.gcount());
    if (in.bad())
        throw std::ios_base::failure("read error");
    return got;
}

void writeAll(std::ostream &out, const uint8_t *data, size_t size)
{
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw std::ios_base::failure("write error");
}

void rewind(std::istream &source, std::ostream &target)
{
    source.clear();
    source.seekg(0);
    target.seekp(0);
}

} // namespace

CipherContext::CipherContext(std::string_view key, const CipherBlock &iv) : m_chain(iv)
{
    // nettle divides by the key length, so an empty key must never reach it.
    if (key.empty() || key.size() > BLOWFISH_MAX_KEY_SIZE)
        throw EBlowfishError("Blowfish: Key must be between 1 and 56 bytes long");
    // A weak key still gives a valid schedule; the result is only advisory.
    blowfish_set_key(&m_schedule, key.size(), reinterpret_cast<const uint8_t *>(key.data()));
}

CipherContext::~CipherContext()
{
    secureWipe(&m_schedule, sizeof m_schedule);
    secureWipe(m_chain.data(), m_chain.size());
}

CipherContext CipherContext::forPassword(std::string_view password, const CipherBlock &iv)
{
    return CipherContext(WipedKey(passwordBytes(password)).bytes(), iv);
}

void XorBuffers(const uint8_t *a, const uint8_t *b, uint8_t *out, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = a[i] ^ b[i];
}

void EncryptBuffer(CipherContext &context, uint8_t *buffer, size_t length)
{
    CipherBlock &chain = context.chain();
    for (size_t off = 0; off + 8 <= length; off += 8) {
        uint8_t *block = buffer + off;
        XorBuffers(block, chain.data(), block, 8);
        blowfish_encrypt(&context.schedule(), 8, block, block);
        std::memcpy(chain.data(), block, 8);
    }
}

void DecryptBuffer(CipherContext &context, uint8_t *buffer, size_t length)
{
    CipherBlock &chain = context.chain();
    for (size_t off = 0; off + 8 <= length; off += 8) {
        uint8_t *block = buffer + off;
        CipherBlock kept;
        std::memcpy(kept.data(), block, 8);
        blowfish_decrypt(&context.schedule(), 8, block, block);
        XorBuffers(block, chain.data(), block, 8);
        chain = kept;
    }
}

PasswordDigest DigestString(std::string_view password)
{
    const std::string bytes = passwordBytes(password);
    ripemd160_ctx ctx;
    ripemd160_init(&ctx);
    ripemd160_update(&ctx, bytes.size(), reinterpret_cast<const uint8_t *>(bytes.data()));
    PasswordDigest digest;
    ripemd160_digest(&ctx, digest.size(), digest.data());
    return digest;
}

void EncryptStream(std::istream &source, std::ostream &target, std::string_view password)
{
    rewind(source, target);
    CipherContext context = CipherContext::forPassword(password);
    const PasswordDigest digest = DigestString(password);
    writeAll(target, digest.data(), digest.size());
    std::vector<uint8_t> chunk(kStreamChunk);
    for (;;) {
        const size_t got = readSome(source, chunk.data(), chunk.size());
        EncryptBuffer(context, chunk.data(), got);
        writeAll(target, chunk.data(), got);
        if (got < kStreamChunk)
            break;
    }
    secureWipe(chunk.data(), chunk.size());
}

int DecryptStream(std::istream &source, std::ostream &target, const std::vector<std::string> &passwords)
{
    rewind(source, target);
    PasswordDigest stored;
    if (readSome(source, stored.data(), stored.size()) < stored.size())
        return -1;
    int match = -1;
    for (size_t i = 0; i < passwords.size() && match < 0; ++i) {
        // A password that can't be keyed can't have written the file.
        try {
            if (DigestString(passwords[i]) == stored)
                match = static_cast<int>(i);
        } catch (const EBlowfishError &) {
        }
    }
    if (match < 0)
        return -1;
    CipherContext context = CipherContext::forPassword(passwords[static_cast<size_t>(match)]);
    std::vector<uint8_t> chunk(kStreamChunk);
    for (;;) {
        const size_t got = readSome(source, chunk.data(), chunk.size());
        DecryptBuffer(context, chunk.data(), got);
        writeAll(target, chunk.data(), got);
        if (got < kStreamChunk)
            break;
    }
    secureWipe(chunk.data(), chunk.size());
    return match;
}

} // namespace wharf
