#pragma once
/* The setup compiler library's one export.
 *
 * CompileFile compiles the project file projectFile into the output folder
 * the project names. appDir is the caller's program folder (without a
 * trailing separator): the runtime stubs are taken from it, the scratch
 * folder "Temp" and the log "wharfforge.log" are written into it.
 *
 * Every line the compiler reports goes to callback: text (UTF-8, owned by
 * the library and valid only during the call), kind (0 a message, 1 an
 * error line beginning with "ERROR: ", 2 minor progress with an empty text)
 * and percent (0 to 100; for kind 2 the progress of the file being
 * compressed). The callback returns true to go on, false to stop. callback
 * may be null: the compile then runs silently and can't be stopped.
 *
 * The result is true when the callback asked to stop; problems of the
 * project are reported as error lines, never through the result. One
 * compile at a time: the library keeps its state for the call library-wide.
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
