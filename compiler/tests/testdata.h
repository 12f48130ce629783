#pragma once
// Test-only: reproducible file contents for the patch and archive tests.

#include <cstdint>
#include <random>
#include <string>

namespace wharf::testing {

// n bytes of seeded noise: incompressible, and no 20-byte run repeats.
inline std::string randomBytes(size_t n, uint32_t seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i += 4) {
        const uint32_t v = gen();
        for (size_t k = 0; k < 4 && i + k < n; ++k)
            s[i + k] = static_cast<char>(v >> (8 * k));
    }
    return s;
}

// A "next version" of data: count scattered edits, each replacing, inserting
// or deleting up to maxRun bytes.
inline std::string editedCopy(std::string data, int count, size_t maxRun, uint32_t seed)
{
    std::mt19937 gen(seed);
    for (int i = 0; i < count && !data.empty(); ++i) {
        const size_t at = gen() % data.size();
        const size_t run = 1 + gen() % maxRun;
        const std::string noise = randomBytes(run, gen());
        switch (gen() % 3) {
        case 0:
            data.replace(at, std::min(run, data.size() - at), noise);
            break;
        case 1:
            data.insert(at, noise);
            break;
        default:
            data.erase(at, run);
            break;
        }
    }
    return data;
}

// Text-like data that compresses well: numbered lines.
inline std::string textBytes(size_t n, uint32_t seed)
{
    std::mt19937 gen(seed);
    std::string s;
    while (s.size() < n)
        s += "line " + std::to_string(gen() % 1000) + " of the test file\r\n";
    s.resize(n);
    return s;
}

} // namespace wharf::testing
