#pragma once
/* The setup compiler library's one export.
 *
 * CompileFile compiles the project file projectFile into the output folder
 * the project names. appDir is the caller's program folder (without a
 * trailing separator): the runtime stubs are taken from it, and nothing is
 * written there. The scratch folder "Temp" is a private folder of the call
 * under the user's runtime folder, removed before the call returns; the log
 * "wharfforge.log" goes to the user's state folder ($XDG_STATE_HOME or
 * ~/.local/state, then "brindlewharf"), written with writeLog at every end
 * of the call, also when the compile ended early.
 *
 * Every line the compiler reports goes to callback: text (UTF-8, owned by
 * the library and valid only during the call), kind (0 a message, 1 an
 * error line beginning with "ERROR: ", 2 minor progress with an empty text)
 * and percent (0 to 100; for kind 2 the progress of the file being
 * compressed). Kind 2 comes at least every 100 ms while a file is
 * compressed (repeating its percentage), and once after the batch step with
 * 0, so that a stop is taken within a large file and before the closing
 * lines. The callback returns true to go on, false to stop. callback
 * may be null: the compile then runs silently and can't be stopped.
 *
 * The result is the callback's last answer: true when it asked to stop. A
 * stop answered to any line is acted on at the next point where the compile
 * looks; once the closing lines are sent, answers change nothing. Every
 * problem, and every failure (exceptions included: none leaves the call),
 * is reported as an error line, and a compile that reports one never sends
 * "Compilation finished": it ends early, or, after a step that reports and
 * goes on (the autorun icon, the icon change, the batch step), closes with
 * "Compilation ended with N errors". One compile at a time per process: the library
 * keeps its state for the call library-wide, and a call made while one runs
 * (from inside the callback or from another thread) returns false at once
 * with one error line to its own callback. Separate processes share no
 * scratch file, and a compile holds a lock on its output folder, so a
 * second compile into the same folder is refused with one error line.
 */

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef bool (*CompileCallback)(const char *text, uint16_t kind, uint16_t percent);

bool CompileFile(const char *projectFile, const char *appDir, CompileCallback callback, bool writeLog);

#ifdef __cplusplus
}
#endif
