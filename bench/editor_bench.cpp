// Figures for the editor's project files and registry imports: seconds per
// 1 000 entries at 1 000, 10 000 and 100 000 entries, with the peak resident
// memory of each run, for
//   - the load of a saved project of N files with N/4 registry values and
//     N/10 shortcuts, through the project controller as the editor opens it;
//   - the save of that project, through the controller as the editor saves;
//   - the import of a registry export file of N sections.
// A linear load, save or import costs about the same per entry at every
// size. Each measurement runs in a fresh child process of this program, so
// its peak resident memory is its own.
//
// Usage: editor_bench [largest]   (default 100000)

#include "benchchild.h"
#include "codec.h"
#include "files.h"
#include "paths.h"
#include "projectcontroller.h"
#include "regfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The window the controller talks to: no questions, no display.
class QuietShell : public wharf::ProjectPrompts, public wharf::ProgressDisplay, public wharf::RecentFileList {
public:
    wharf::MessageAnswer showMessage(wharf::MessageKind, wharf::MessageButtons buttons, const std::string &) override
    {
        return buttons == wharf::MessageButtons::Ok ? wharf::MessageAnswer::Ok : wharf::MessageAnswer::Yes;
    }
    std::optional<std::string> chooseProjectToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseProjectToSave() override { return std::nullopt; }
    void showProgress(int, const std::string &) override {}
    void showBusy(wharf::BusyKind, const std::string &) override {}
    void hideBusy() override {}
    void AddRecentFile(const std::string &) override {}
};

// N files in groups of 100, N/4 registry values in keys of five, N/10
// shortcuts, and a few installation types.
void fillProject(wharf::Project &p, size_t n)
{
    p.General.AppName = "Bench";
    for (size_t g = 0; g * 100 < n; ++g) {
        wharf::GroupEntry group;
        group.Name = "Group " + std::to_string(g);
        for (size_t f = g * 100; f < n && f < (g + 1) * 100; ++f) {
            wharf::FileEntry file;
            file.Source = "files/dir" + std::to_string(f / 1000) + "/file" + std::to_string(f) + ".dat";
            file.Destination = "{app}\\dir" + std::to_string(f / 1000) + "\\file" + std::to_string(f) + ".dat";
            file.Description = "file" + std::to_string(f) + ".dat";
            file.CompareVersions = f % 3 == 0;
            group.Files.push_back(std::move(file));
        }
        p.Groups.push_back(std::move(group));
    }
    p.InstallTypes = {{"Full", "|0|"}, {"Minimal", "|0|"}};
    wharf::RegistryEntry key = wharf::intermediateKeyRecord();
    wharf::RegistryInserter registry(p.Registry);
    for (size_t v = 0; v < n / 4; ++v) {
        wharf::RegistryEntry value;
        value.Data = "data " + std::to_string(v);
        registry.add("HKEY_LOCAL_MACHINE", "Software\\Bench\\Key" + std::to_string(v / 5), key, true, value,
                     "Value" + std::to_string(v % 5));
    }
    for (size_t s = 0; s < n / 10; ++s) {
        wharf::ShortcutEntry shortcut;
        shortcut.Title = "Shortcut " + std::to_string(s);
        shortcut.Target = "{app}\\file" + std::to_string(s) + ".dat";
        shortcut.Location = shortcut.Target;
        p.Shortcuts.push_back(std::move(shortcut));
    }
}

std::string scratchFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/editor_bench.XXXXXX";
    if (!::mkdtemp(folder.data()))
        std::exit(1);
    return folder + "/";
}

// The best of several runs, so the small sizes are not swamped by the noise
// of a shared machine: at least three runs and about 100 000 entries in all.
template <typename Run>
double bestOf(size_t n, Run run)
{
    const size_t runs = std::max<size_t>(3, 100000 / std::max<size_t>(n, 1));
    double best = 1e300;
    for (size_t i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

// The child runs: each prints its seconds.
int childSave(size_t n, const std::string &file)
{
    QuietShell shell;
    wharf::ProjectController controller(wharf::extractFilePath(file), shell, shell, shell);
    fillProject(controller.document(), n);
    std::printf("%.6f\n", bestOf(n, [&] { controller.SaveProject(file); }));
    return 0;
}

int childLoad(size_t n, const std::string &file)
{
    QuietShell shell;
    wharf::ProjectController controller(wharf::extractFilePath(file), shell, shell, shell);
    std::printf("%.6f\n", bestOf(n, [&] { controller.LoadProject(file); }));
    return controller.document().fileCount() == n ? 0 : 1;
}

int childImport(size_t n)
{
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (size_t i = 0; i < n; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\Bench\\Area" + std::to_string(i / 100) + "\\Key" +
                std::to_string(i) + "]\r\n@=\"default " + std::to_string(i) + "\"\r\n\"Count\"=dword:0000001f\r\n\r\n";
    const std::string bytes = "\xff\xfe" + wharf::toUtf16Le(text);
    bool imported = false;
    std::printf("%.6f\n", bestOf(n, [&] {
        wharf::RegistryTree tree;
        const wharf::RegFile file = wharf::parseRegFile(bytes);
        wharf::importRegFile(tree, file);
        imported = tree.hasEntries();
    }));
    return imported ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--save")
        return childSave(std::strtoull(argv[2], nullptr, 10), argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--load")
        return childLoad(std::strtoull(argv[2], nullptr, 10), argv[3]);
    if (argc == 3 && std::string(argv[1]) == "--import")
        return childImport(std::strtoull(argv[2], nullptr, 10));

    const size_t largest = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;
    const std::string folder = scratchFolder();
    std::printf("| entries | load s/1000 | load peak MiB | save s/1000 | save peak MiB | import s/1000 | "
                "import peak MiB |\n|---|---|---|---|---|---|---|\n");
    for (size_t n = 1000; n <= largest; n *= 10) {
        const std::string file = folder + "bench" + std::to_string(n) + ".wfp";
        const wharf::bench::RunResult save = wharf::bench::runChild({"--save", std::to_string(n), file});
        const wharf::bench::RunResult load = wharf::bench::runChild({"--load", std::to_string(n), file});
        const wharf::bench::RunResult import = wharf::bench::runChild({"--import", std::to_string(n)});
        const double per = 1000.0 / static_cast<double>(n);
        std::printf("| %zu | %.4f | %.1f | %.4f | %.1f | %.4f | %.1f |\n", n, load.seconds * per,
                    load.peakKiB / 1024.0, save.seconds * per, save.peakKiB / 1024.0, import.seconds * per,
                    import.peakKiB / 1024.0);
        std::fflush(stdout);
        wharf::deleteFile(file);
    }
    ::rmdir(folder.c_str());
    return 0;
}
