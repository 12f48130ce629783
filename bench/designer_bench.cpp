// The designer's load, save, and copy-and-paste of one control holding N
// list lines (a check list box with N items), at N = 1 000, 10 000 and
// 100 000, and the load of a dialog of N controls whose sections are all
// missing (each comes in with its defaults and a generated name), at
// N = 1 000, 10 000 and 100 000; each run in a child process for its own peak
// resident memory. The figures are seconds per 1 000 lines or controls, so
// linear cost shows as a flat column.
//
// What is timed is the window-free core the designer runs: the dialog file
// codec, the document, the surface model and the key-list reads the
// rendering of a check list box makes (every item, its Checked and Enabled
// keys).
#include "benchchild.h"
#include "clipboardformat.h"
#include "dialogdocument.h"
#include "dialogfile.h"
#include "encdec.h"
#include "files.h"
#include "keylist.h"
#include "surfacemodel.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
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

// CtlCount = controls and no control section; a comment line for each
// control, since the reader makes no more controls than the file has lines.
void writeControlsDialog(const std::string &path, size_t controls)
{
    std::string plain = "[Dialog]\r\nDlgTitle=Many\r\nCtlCount=" + std::to_string(controls) + "\r\n";
    for (size_t i = 0; i < controls; ++i)
        plain += ";\r\n";
    std::istringstream in(plain);
    std::ostringstream out;
    wharf::EncryptStream(in, out, wharf::dialogPasswords()[0]);
    if (!wharf::writeFile(path, out.str()))
        throw std::runtime_error("could not write " + path);
}

// Load: the file into the document and onto the surface; a dialog of one
// control of many lines has that control rendered as well.
double childLoad(const std::string &path, bool manyControls)
{
    wharf::TDialogDocument doc;
    const auto start = Clock::now();
    if (doc.LoadDialogFile(path) != wharf::TLoadResult::Loaded)
        return -1;
    const wharf::TSurfaceModel model(doc, "", [] { return 0u; });
    const bool shown = manyControls ? model.selected() >= 0 : renderReads(doc.control(0).keys) > 0;
    return shown ? since(start) : -1;
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
    const double seconds = mode == "load"       ? childLoad(path, false)
                           : mode == "controls" ? childLoad(path, true)
                           : mode == "save"     ? childSave(path)
                                                : childPaste(path);
    if (seconds < 0)
        return 1;
    std::printf("%.6f\n", seconds);
    return 0;
}

struct Operation {
    const char *label; // as printed
    const char *mode;  // of the child
};

// One table: each operation at each size on a file write(path, size) made,
// the best of three runs each, and the cost per unit at the largest size
// against that at the smallest.
bool table(const wharf::ScratchFolder &scratch, const char *unit, const char *oneUnit, const std::vector<size_t> &sizes,
           void (*write)(const std::string &, size_t), const std::vector<Operation> &operations)
{
    std::printf("  %-22s %8s %12s %14s %10s\n", "operation", unit, "seconds", "s per 1000", "peak MiB");
    std::vector<double> first(operations.size(), 0), last(operations.size(), 0);
    for (size_t s = 0; s < sizes.size(); ++s) {
        const std::string path = scratch.file(std::string(unit) + std::to_string(sizes[s]) + ".ddf");
        write(path, sizes[s]);
        for (size_t m = 0; m < operations.size(); ++m) {
            // The best of three runs, so that a busy machine disturbs less.
            wharf::bench::RunResult best;
            for (int run = 0; run < 3; ++run) {
                const wharf::bench::RunResult r = wharf::bench::runChild({"--child", operations[m].mode, path});
                if (r.seconds < 0) {
                    std::fprintf(stderr, "%s of %zu %s failed\n", operations[m].label, sizes[s], unit);
                    return false;
                }
                if (best.seconds < 0 || r.seconds < best.seconds)
                    best = r;
            }
            const double perThousand = best.seconds / (static_cast<double>(sizes[s]) / 1000.0);
            if (s == 0)
                first[m] = perThousand;
            last[m] = perThousand;
            std::printf("  %-22s %8zu %12.4f %14.5f %10.1f\n", operations[m].label, sizes[s], best.seconds,
                        perThousand, best.peakKiB / 1024.0);
        }
    }
    for (size_t m = 0; m < operations.size(); ++m)
        std::printf("  %s: cost per %s at %zu / at %zu = %.2f\n", operations[m].label, oneUnit, sizes.back(),
                    sizes.front(), last[m] / first[m]);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        if (argc == 4 && std::string(argv[1]) == "--child")
            return child(argv[2], argv[3]);
        // For profiling one operation by hand: writes the dialog of N lines,
        // or of N controls without sections.
        if (argc == 4 && (std::string(argv[1]) == "--write" || std::string(argv[1]) == "--write-controls")) {
            (std::string(argv[1]) == "--write" ? writeDialog : writeControlsDialog)(
                argv[3], std::strtoul(argv[2], nullptr, 10));
            return 0;
        }
        if (argc != 1) {
            std::fprintf(stderr, "usage: designer_bench [--write lines file | --write-controls controls file |\n"
                                 "                       --child load|save|paste|controls file]\n");
            return 2;
        }
        const wharf::ScratchFolder scratch;
        if (!table(scratch, "lines", "line", {1000, 10000, 100000}, writeDialog,
                   {{"load", "load"}, {"save", "save"}, {"copy and paste", "paste"}}))
            return 1;
        if (!table(scratch, "controls", "control", {1000, 10000, 100000}, writeControlsDialog, {{"load", "controls"}}))
            return 1;
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
