// A native stand-in for the setup runtime's debug mode, used by the test-run
// tests in place of "setup.bin". Called as
//   setup.bin -d <folder>/dbg.tmp <folder> <folder>
// it deciphers the dialog and writes <folder>/debug.dat with a section
// "VarValues": the dialog's title and control count and, for every control,
// its name with its caption. A dialog titled "wait" makes it wait (up to 30
// seconds) for a file "go" in the folder first, so that a test can tell
// whether the designer goes on processing events meanwhile. Wrong
// arguments or a dialog it can't decipher end it with exit code 2 and no
// results.

#include "codec.h"
#include "dialogfile.h"
#include "files.h"
#include "keylist.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

using namespace wharf;

namespace {

int fail(const std::string &why)
{
    std::fprintf(stderr, "stand-in runtime: %s\n", why.c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5 || std::string(argv[1]) != "-d")
        return fail("expected -d <dialog> <folder> <folder>");
    const std::string dialog = argv[2], folder = argv[3];
    if (std::string(argv[4]) != folder || dialog != folder + "/dbg.tmp")
        return fail("the dialog is not dbg.tmp of the folder given twice");
    const auto bytes = readFile(dialog);
    if (!bytes)
        return fail("cannot read " + dialog);
    const TDecodedDialog decoded = decodeDialogFile(*bytes);
    if (decoded.passwordIndex != kPasswordProfessional)
        return fail("cannot decipher " + dialog);

    const TDialogContents &contents = decoded.contents;
    if (contents.page.title == "wait") {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fileExists(folder + "/go") && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::string text = "[VarValues]\r\n";
    text += "DlgTitle=" + contents.page.title + "\r\n";
    text += "CtlCount=" + std::to_string(contents.controls.size()) + "\r\n";
    for (const TStringList &keys : contents.controls)
        text += keyListValue(keys, "Name").value_or("") + "=" + keyListValue(keys, "Caption").value_or("") + "\r\n";
    if (!writeFile(folder + "/debug.dat", toWindows1252(text)))
        return fail("cannot write the results");
    return 0;
}
