#pragma once
// A new file entry as the files page adds it: the per-extension defaults of
// "extens.ini" (one section per extension, named with its dot, such as
// ".exe"; booleans as integers) over the fixed defaults of a new file.

#include "records.h"

#include <string>
#include <string_view>

namespace wharf {

class TCustomIniStore;

// The entry for source, installed to destination, in the group at
// groupIndex. Description is the source's file name; a destination whose
// folder part is exactly "{app}\" goes into the extension's Destination
// folder instead (default "{app}"); the options and target systems come
// from the extension's section (defaults: CompareTimeStamps, Overwrite and
// Uninstall set, every other option clear, all systems). Texts are cut to
// 255 characters. defaults may be null (no per-extension values).
FileEntry makeFileEntry(const TCustomIniStore *defaults, std::string_view source, std::string_view destination,
                        bool relative, int groupIndex);

// The extension's CheckDependencies key (default false): whether adding a
// file with the extension of source scans it for the modules it needs.
bool extensionChecksDependencies(const TCustomIniStore *defaults, std::string_view source);

} // namespace wharf
