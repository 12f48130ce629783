#include "testtools.h"

#include "files.h"
#include "peimage.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace wharf::testing {

std::string fixturePath(const std::string &name) { return std::string(WHARF_FIXTURE_DIR) + "/" + name; }

std::string programPath(const std::string &name)
{
    return wharf::testing::builtProgramFolder() + "/" + name;
}

std::string slurp(const std::string &path) { return readFile(path).value_or(std::string()); }

std::string runTool(const std::string &command, int *exitCode)
{
    std::string out;
    FILE *pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    if (exitCode)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::vector<std::string> wrestoolList(const std::string &path)
{
    int code = 0;
    const std::string out = runTool("wrestool -l '" + path + "'", &code);
    EXPECT_EQ(code, 0) << out;
    const auto field = [](const std::string &text, const std::string &key) {
        const std::size_t at = text.find(key);
        if (at == std::string::npos)
            return std::string();
        const std::size_t start = at + key.size();
        return text.substr(start, text.find_first_of(" ]", start) - start);
    };
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = std::min(out.find('\n', start), out.size());
        const std::string line = out.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with("--type="))
            continue;
        items.push_back(field(line, "--type=") + "/" + field(line, "--name=") + "/" +
                        field(line, "--language=") + "/" + field(line, " size="));
    }
    std::sort(items.begin(), items.end());
    return items;
}

std::string wrestoolExtract(const std::string &path, const std::string &selector, const std::string &out)
{
    int code = 0;
    const std::string log = runTool("wrestool -x " + selector + " -o '" + out + "' '" + path + "'", &code);
    EXPECT_EQ(code, 0) << log;
    return slurp(out);
}

std::vector<std::pair<std::string, std::string>> iconImages(const std::string &ico)
{
    std::vector<std::pair<std::string, std::string>> images;
    if (ico.size() < 6)
        return images;
    const auto *p = reinterpret_cast<const uint8_t *>(ico.data());
    for (uint16_t i = 0; i < readLe16(p + 4) && 6 + 16u * (i + 1) <= ico.size(); ++i) {
        const uint8_t *e = p + 6 + 16 * i;
        images.emplace_back(ico.substr(6 + 16 * i, 12), ico.substr(readLe32(e + 12), readLe32(e + 8)));
    }
    return images;
}

} // namespace wharf::testing
