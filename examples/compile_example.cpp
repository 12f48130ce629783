// Compiles a project file through the compiler library's public interface,
// as the editor's batch compile does, and prints every line the compiler
// reports. Exits with 1 when an error line came, 2 on bad usage.
//
//   wharfforge-example PROJECT.wfp [--output FOLDER] [--app-dir FOLDER]
//
// Like the editor, it compiles a scratch copy of the project whose
// [Temporary] WorkDir is the project's own folder, so relative paths in the
// project resolve against it; --output replaces the project's output folder.
// Both are written in the project file's own encoding, Windows-1252; a folder
// whose path it can't hold is refused (status 2).
// The copy lies in a private folder of this run ($XDG_RUNTIME_DIR, else
// $TMPDIR, else /tmp), so the program folder is only read and two runs
// never share it.

#include "wharfforge.h"

#include "codec.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool g_sawError = false;

bool printLine(const char *text, uint16_t kind, uint16_t percent)
{
    if (kind == 1)
        g_sawError = true;
    if (kind != 2)
        std::printf("[%3u%%] %s\n", percent, text);
    return true;
}

std::string absolute(const std::string &path)
{
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf) == nullptr)
        return path;
    return buf;
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// Sets key in [Temporary] of the INI text, adding the line when missing.
std::string setTemporaryKey(const std::string &text, const std::string &key, const std::string &value)
{
    std::istringstream in(text);
    std::string line, out;
    bool inTemporary = false, done = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            if (inTemporary && !done) {
                out += key + "=" + value + "\r\n";
                done = true;
            }
            inTemporary = line == "[Temporary]";
        } else if (inTemporary && line.compare(0, key.size() + 1, key + "=") == 0) {
            if (done)
                continue;
            line = key + "=" + value;
            done = true;
        }
        out += line + "\r\n";
    }
    if (!done)
        out += (inTemporary ? "" : "[Temporary]\r\n") + key + "=" + value + "\r\n";
    return out;
}

// A folder of this run's own (mode 0700), removed with the scratch copy in
// it when the object goes. path() is empty, and error() says why, when it
// could not be made.
class PrivateFolder {
public:
    PrivateFolder()
    {
        std::string parent;
        for (const char *name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            const char *value = std::getenv(name);
            struct stat st {};
            if (value != nullptr && value[0] == '/' && ::stat(value, &st) == 0 && S_ISDIR(st.st_mode)) {
                parent = value;
                break;
            }
        }
        if (parent.empty())
            parent = "/tmp";
        std::string pattern = parent + "/wharfforge-example-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            m_error = "Cannot create a private folder in " + parent + ": " + std::strerror(errno);
        else
            m_path = pattern;
    }
    ~PrivateFolder()
    {
        if (m_path.empty())
            return;
        std::remove((m_path + "/wftemp.tmp").c_str());
        ::rmdir(m_path.c_str());
    }
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    const std::string &path() const { return m_path; }
    const std::string &error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
};

} // namespace

int main(int argc, char **argv)
{
    std::string project, output, appDir = folderOf(absolute("/proc/self/exe"));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--output" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--app-dir" && i + 1 < argc)
            appDir = argv[++i];
        else if (project.empty() && arg.rfind("--", 0) != 0)
            project = arg;
        else {
            std::cerr << "usage: " << argv[0] << " PROJECT.wfp [--output FOLDER] [--app-dir FOLDER]\n";
            return 2;
        }
    }
    if (project.empty()) {
        std::cerr << "usage: " << argv[0] << " PROJECT.wfp [--output FOLDER] [--app-dir FOLDER]\n";
        return 2;
    }
    project = absolute(project);
    std::ifstream in(project, std::ios::binary);
    if (!in) {
        std::cerr << "Cannot read " << project << ": " << std::strerror(errno) << "\n";
        return 2;
    }
    std::stringstream content;
    content << in.rdbuf();
    if (!output.empty() && output.front() != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd))
            output = std::string(cwd) + "/" + output;
    }
    // The paths are UTF-8; the project file is Windows-1252 text.
    std::string text = content.str();
    for (const auto &[key, folder, what] : {std::tuple{"WorkDir", folderOf(project) + "/", "from the project folder"},
                                            std::tuple{"OutputDir", output, "into the output folder"}}) {
        if (folder.empty())
            continue;
        try {
            text = setTemporaryKey(text, key, wharf::toWindows1252(folder));
        } catch (const wharf::ECodecError &e) {
            std::cerr << "Cannot compile " << what << " " << folder << ": " << e.what()
                      << ", the encoding of project files.\n";
            return 2;
        }
    }

    const PrivateFolder folder;
    if (folder.path().empty()) {
        std::cerr << folder.error() << "\n";
        return 2;
    }
    const std::string scratch = folder.path() + "/wftemp.tmp";
    {
        std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::cerr << "Cannot write " << scratch << ": " << std::strerror(errno) << "\n";
            return 2;
        }
    }
    // A failure the compiler does not report as a line of its own (an
    // output file it can't write, say) comes out as an exception.
    bool stopped = false;
    try {
        stopped = CompileFile(scratch.c_str(), appDir.c_str(), printLine, true);
    } catch (const std::exception &e) {
        std::printf("ERROR: %s\n", e.what());
        g_sawError = true;
    }
    return (g_sawError || stopped) ? 1 : 0;
}
