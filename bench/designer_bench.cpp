// The designer's load, save, and copy-and-paste of one control holding N
// list lines (a check list box with N items), at N = 1 000, 10 000 and
// 100 000, each in a child process for its own peak resident memory. The
// figures are seconds per 1 000 lines, so linear cost shows as a flat column.
//
// What is timed is the window-free core the designer runs: the dialog file
// codec, the document, the surface model and the key-list reads the
// rendering of a check list box makes (every item, its Checked and Enabled
// keys).
#include "benchchild.h"
#include "clipboardformat.h"
#include "dialogdocument.h"
#include "dialogfile.h"
#include "files.h"
#include "keylist.h"
#include "surfacemodel.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The reads of the prototype rendering of a check list box.
size_t renderReads(const wharf::TStringList &keys)
{
    wharf::TStringList copy = keys;
    const wharf::TKeyListStore store(copy);
    const wharf::TStringList items = wharf::ReadScriptLines(store, wharf::kKeyListSection, "Items", copy.size());
    size_t checked = 0;
    for (size_t n = 0; n < items.size(); ++n) {
        const std::string stem = "Items" + std::to_string(n);
        checked += store.ReadBool(wharf::kKeyListSection, stem + "Checked", false) ? 1 : 0;
        checked += store.ReadBool(wharf::kKeyListSection, stem + "Enabled", true) ? 0 : 1;
    }
    return checked + items.size();
}

void writeDialog(const std::string &path, size_t lines)
{
    wharf::TStringList keys = {"[Controls]", "Type=8", "Name=CheckList1", "Left=10", "Top=10", "Width=200",
                               "Height=200", "ItemsCount=" + std::to_string(lines)};
    for (size_t i = 0; i < lines; ++i) {
        keys.push_back("ItemsLine" + std::to_string(i) + "=item number " + std::to_string(i));
        if (i % 10 == 0)
            keys.push_back("Items" + std::to_string(i) + "Checked=1");
    }
    wharf::TDialogDocument doc;
    doc.addControl(std::move(keys));
    doc.SaveDialogFile(path);
}

// Load: the file into the document and onto the surface, rendered.
double childLoad(const std::string &path)
{
    wharf::TDialogDocument doc;
    const auto start = Clock::now();
    if (doc.LoadDialogFile(path) != wharf::TLoadResult::Loaded)
        return -1;
    wharf::TSurfaceModel model(doc, "", [] { return 0u; });
    if (renderReads(doc.control(0).keys) == 0)
        return -1;
    return since(start);
}

double childSave(const std::string &path)
{
    wharf::TDialogDocument doc;
    if (doc.LoadDialogFile(path) != wharf::TLoadResult::Loaded)
        return -1;
    const auto start = Clock::now();
    doc.SaveDialogFile(path + ".saved");
    return since(start);
}

// Copy, then Paste: the clipboard bytes, their decoding, the free place,
// the new control added, shown and rendered.
double childPaste(const std::string &path)
{
    wharf::TDialogDocument doc;
    if (doc.LoadDialogFile(path) != wharf::TLoadResult::Loaded)
        return -1;
    wharf::TSurfaceModel model(doc, "", [] { return 0u; });
    const auto start = Clock::now();
    const std::string bytes = wharf::encodeControlClipboard(doc.control(0).keys);
    std::optional<wharf::TStringList> keys = wharf::decodeControlClipboard(bytes);
    if (!keys)
        return -1;
    const wharf::TRect wanted{wharf::keyListInteger(*keys, "Left", 0), wharf::keyListInteger(*keys, "Top", 0),
                              wharf::keyListInteger(*keys, "Width", 0), wharf::keyListInteger(*keys, "Height", 0)};
    const wharf::TRect place = wharf::pastePlace(wanted, model.surface(), {model.controlBounds(0)});
    wharf::setKeyListValue(*keys, "Left", std::to_string(place.left));
    wharf::setKeyListValue(*keys, "Top", std::to_string(place.top));
    const size_t index = model.BuildControl(std::move(*keys));
    if (renderReads(doc.control(index).keys) == 0)
        return -1;
    return since(start);
}

int child(const std::string &mode, const std::string &path)
{
    const double seconds = mode == "load" ? childLoad(path) : mode == "save" ? childSave(path) : childPaste(path);
    if (seconds < 0)
        return 1;
    std::printf("%.6f\n", seconds);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        if (argc == 4 && std::string(argv[1]) == "--child")
            return child(argv[2], argv[3]);
        // For profiling one operation by hand: writes the dialog of N lines.
        if (argc == 4 && std::string(argv[1]) == "--write") {
            writeDialog(argv[3], std::strtoul(argv[2], nullptr, 10));
            return 0;
        }
        if (argc != 1) {
            std::fprintf(stderr, "usage: designer_bench [--write lines file | --child load|save|paste file]\n");
            return 2;
        }
        const wharf::ScratchFolder scratch;
        const std::vector<size_t> sizes = {1000, 10000, 100000};
        std::printf("  %-22s %8s %12s %14s %10s\n", "operation", "lines", "seconds", "s per 1000", "peak MiB");
        std::vector<double> first(3, 0), last(3, 0);
        for (size_t s = 0; s < sizes.size(); ++s) {
            const std::string path = scratch.file("n" + std::to_string(sizes[s]) + ".ddf");
            writeDialog(path, sizes[s]);
            const char *modes[] = {"load", "save", "copy and paste"};
            const char *args[] = {"load", "save", "paste"};
            for (int m = 0; m < 3; ++m) {
                // The best of three runs, so that a busy machine disturbs less.
                wharf::bench::RunResult best;
                for (int run = 0; run < 3; ++run) {
                    const wharf::bench::RunResult r = wharf::bench::runChild({"--child", args[m], path});
                    if (r.seconds < 0) {
                        std::fprintf(stderr, "%s of %zu lines failed\n", modes[m], sizes[s]);
                        return 1;
                    }
                    if (best.seconds < 0 || r.seconds < best.seconds)
                        best = r;
                }
                const double perThousand = best.seconds / (static_cast<double>(sizes[s]) / 1000.0);
                if (s == 0)
                    first[m] = perThousand;
                last[m] = perThousand;
                std::printf("  %-22s %8zu %12.4f %14.5f %10.1f\n", modes[m], sizes[s], best.seconds, perThousand,
                            best.peakKiB / 1024.0);
            }
        }
        const char *modes[] = {"load", "save", "copy and paste"};
        for (int m = 0; m < 3; ++m)
            std::printf("  %s: cost per line at 100 000 / at 1 000 = %.2f\n", modes[m], last[m] / first[m]);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
