#pragma once
// Registry export files (".reg"): the parser of their text and the import of
// what they hold into a project's registry tree. No windows here: the
// registry page asks for the file and shows the progress and the messages.
//
// A file is UTF-16 with a byte order mark (little-endian is what the registry
// editor writes today, big-endian is read too), UTF-8 (with a byte order
// mark, or valid UTF-8 holding non-ASCII text) or else 8-bit Windows-1252
// text (the older format). After
// a header line come sections "[ROOT\key\path]" with lines of values:
//   @="default"            the key's default value
//   "Name"="C:\\Path\\"    a string; "\\" and "\"" are escapes
//   "Count"=dword:0000001f a DWORD
//   "Data"=hex:01,02,\     binary, expandable or multi-string data (hex,
//     03                   hex(2), hex(7), ...), continued with a final "\"
// A setup can only write strings and DWORDs, so other data is left out and
// reported. Deletions ("[-ROOT\key]" sections, "Name"=- values), sections
// under a root that is none of the six, section headers that can't be read
// (any line starting with "[" ends the section before it) and lines that are
// no value are left out and counted. A project file holds Windows-1252 text,
// so keys and values with text it can't hold are left out and named.

#include "registrytree.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// One value of a section, ready for the tree: Name is "{emp}" for the
// default value; Type is "String" or "DWORD"; Data is the text as the
// project stores it ("{emp}" for an empty string, "$0000001F" for a DWORD).
struct RegFileValue {
    std::string Name;
    std::string Type;
    std::string Data;

    bool operator==(const RegFileValue &) const = default;
};

// One section of the file. Skipped sections (deletions, unknown roots) keep
// their place so the progress counts every section of the file.
struct RegFileSection {
    bool Skipped = false;
    std::string Root;     // one of the six root names
    std::string KeyPath;  // below the root, "\"-separated; empty for the root itself
    std::vector<RegFileValue> Values;
};

struct RegFile {
    std::vector<RegFileSection> Sections;
    // Values of a type other than string and DWORD were left out.
    bool Unsupported = false;
    // Deletion sections and values, sections under unknown roots, section
    // headers that can't be read and lines of a section that are no value.
    int SkippedEntries = 0;
    // Each of them named by its line: "line 7: "Name"="unclosed" (its
    // number in the file, from 1, and its text, cut to 80 characters).
    std::vector<std::string> SkippedLines;
    // Sections that delete a key below one of the six roots (counted in
    // SkippedEntries too).
    int KeyDeletions = 0;
    // Keys (with their values) and values left out because Windows-1252
    // can't hold their text, as "ROOT\key" or "ROOT\key\name" ("@" for a
    // default value).
    std::vector<std::string> Unsavable;
    // String values whose data was cut to 255 characters, named as above.
    std::vector<std::string> Cut;
};

// Parses the bytes of an export file. Never fails: what it cannot read is
// counted in SkippedEntries; text before the first section is ignored.
RegFile parseRegFile(std::string_view bytes);

// True when the file is a registry export: it holds a section of one of the
// six roots, also one that only deletes a key or one whose text a project
// can't hold. A file of none of them (an INI file, say) is no registry file.
bool isRegistryFile(const RegFile &file);

// Adds the keys and values of every section that is not skipped to tree,
// section by section in file order, and calls progress (when given) with
// importPercent after each section of the file. Every section adds its key,
// even one without values, and every value is added, the default value with
// empty data too. New keys and every value get the import's records:
// created when missing, not removed at uninstallation, target systems 0;
// keys that were in the tree before keep their own. Names are not checked:
// importing a file twice gives every value twice.
void importRegFile(RegistryTree &tree, const RegFile &file, const std::function<void(int)> &progress = {});

// done / total * 100, rounded to the nearest integer with halves going to
// the even neighbour; 0 when total is 0.
int importPercent(size_t done, size_t total);

} // namespace wharf
