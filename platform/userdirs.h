#pragma once
// Per-user places for what a run writes. The program folder is read-only to
// the people who use an installed system, and two users (or two processes of
// one user) may compile at the same time, so nothing a run writes goes there.
//
// Every folder is created on demand with owner-only rights (0700). A failure
// throws std::runtime_error whose text names the path and the system's
// reason, for the caller to show as it is.

#include <string>

namespace wharf {

// $XDG_STATE_HOME/brindlewharf, else ~/.local/state/brindlewharf: what should
// outlive a run, such as the compile log "wharfforge.log".
std::string userStateFolder();

// $XDG_RUNTIME_DIR/brindlewharf, else $XDG_CACHE_HOME/brindlewharf, else
// ~/.cache/brindlewharf: the parent of each run's private scratch folders
// (ScratchFolder). The folders that ended runs left there (a process killed
// before it could remove its own) are removed first.
std::string userRuntimeFolder();

// Creates every missing level of path, the last ones with mode 0700, and
// throws std::runtime_error ("Could not create the folder P: reason") when
// it cannot, or when P exists and is not a folder.
void createPrivateFolderPath(const std::string &path);

} // namespace wharf
