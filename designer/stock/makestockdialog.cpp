// Builds one stock wizard page: reads the page's plain dialog text, checks
// it, and writes it as a dialog file through the designer's own writer, so
// the program folder's pages are exactly what the designer would save.
//
//   wharf-stockdialog SOURCE TARGET
//
// Exit code 0 when TARGET was written; 1 (with the reason on stderr) when
// the source can't be read, breaks a rule below, or TARGET can't be written.

#include "codec.h"
#include "dialogfile.h"
#include "files.h"
#include "stockcheck.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE TARGET\n", argc > 0 ? argv[0] : "wharf-stockdialog");
        return 1;
    }
    const std::string source = argv[1], target = argv[2];
    const std::optional<std::string> text = wharf::readFile(source);
    if (!text) {
        std::fprintf(stderr, "%s: cannot be read\n", source.c_str());
        return 1;
    }
    try {
        const wharf::TDialogContents contents = wharf::parseDialogText(wharf::toWindows1252(*text));
        const std::vector<std::string> problems = wharf::stockDialogProblems(contents, *text);
        for (const std::string &problem : problems)
            std::fprintf(stderr, "%s: %s\n", source.c_str(), problem.c_str());
        if (!problems.empty())
            return 1;
        if (const wharf::ReplaceResult saved = wharf::replaceFile(target, wharf::encodeDialogFile(contents)); !saved) {
            std::fprintf(stderr, "%s: cannot be written: %s\n", target.c_str(), saved.reason.c_str());
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), e.what());
        return 1;
    }
    return 0;
}
