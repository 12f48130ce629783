#pragma once
// The installation settings file "data.csf": the project as the setup
// runtime gets it, without the build-only sections, with the password
// replaced by its digest, list values reduced to bare file names and the
// facts about each packed file that only the build machine knows.

#include "inistore.h"

#include <memory>
#include <string>

namespace wharf {

// Opens the copy of the project at path and edits it from CurrentRun()'s
// Project and WorkDir. The caller saves it (UpdateFile) once the additional
// files are copied, and owns the returned store.
std::unique_ptr<TMemIniStore> PrepareSettingsFile(const std::string &path);

} // namespace wharf
