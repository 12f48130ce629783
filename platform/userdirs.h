#pragma once
// Per-user places for what a run writes. The program folder is read-only to
// the people who use an installed system, and two users (or two processes of
// one user) may compile at the same time, so nothing a run writes goes there.
//
// Every folder is created on demand with owner-only rights (0700). A home
// folder that does not exist is never created: a user without one (system
// users have "/nonexistent") gets the private folder
// <temporary folder>/brindlewharf-<uid> ($TMPDIR, else /tmp), which must be
// a real folder of this user that nobody else may enter. A failure throws
// std::runtime_error whose text names the path and the reason (and, where
// no place for the user's files is left, the variables that give one), for
// the caller to show as it is.

#include <string>

namespace wharf {

// $XDG_STATE_HOME/brindlewharf, else ~/.local/state/brindlewharf, else
// <private temporary folder>/state: what should outlive a run, such as the
// compile log "wharfforge.log".
std::string userStateFolder();

// The parent of each run's private scratch folders (ScratchFolder):
// $XDG_RUNTIME_DIR/brindlewharf when XDG_RUNTIME_DIR names a folder this
// user owns and alone may write in, made when missing
// (runtimeFolderProblem() is empty); else the
// cache folder $XDG_CACHE_HOME/brindlewharf, ~/.cache/brindlewharf or
// <private temporary folder>/cache. The folders that ended runs left (a
// process killed before it could remove its own) are removed first, from
// the runtime folder and from the cache folder alike.
std::string userRuntimeFolder();

// Why XDG_RUNTIME_DIR, though set, can't be used (it is not a folder, is
// another user's or open to others to write in, or can't be made or
// written; "su" without
// "-" and "docker exec -u" hand such a value on), as one line that also
// says where scratch files go instead. Empty when XDG_RUNTIME_DIR is not
// set or can be used. The programs print it once at start.
std::string runtimeFolderProblem();

// Creates every missing level of path, the last ones with mode 0700, and
// throws std::runtime_error ("Could not create the folder P: reason") when
// it cannot, or when P exists and is not a folder.
void createPrivateFolderPath(const std::string &path);

} // namespace wharf
