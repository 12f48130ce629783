/* wharfcomponent.h: the interface between the setup project editor
   Wharfwright and a component plug-in.

   A component plug-in is a shared object (built with -shared -fPIC) whose
   file name ends in ".wfc" and which lies in the folder "Components" of the
   editor's program folder. The editor lists every such file on its page
   "Components", sorted by file name. It loads a plug-in when it starts, to
   ask for its icon, name and info text, and again each time the author
   chooses it, to let it edit the project; after each use it unloads the
   plug-in, so a plug-in keeps no state between calls.

   The editor looks the four functions below up by name. Each is optional:
   without GetIcon the component shows a stand-in icon, without GetName the
   caption "(No description available)", without GetInfo no tip, and without
   AddComponent choosing it does nothing. Define them in a C or C++ file
   that includes this header, so that they get C linkage and are exported.

   All texts are UTF-8. */
#ifndef WHARF_COMPONENT_H
#define WHARF_COMPONENT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__) || defined(__clang__)
#define WFC_EXPORT __attribute__((visibility("default")))
#else
#define WFC_EXPORT
#endif

/* The size of the buffers the editor passes to GetName and GetInfo. */
#define WFC_TEXT_BUFFER_SIZE 255

/* The largest icon the editor reads, in bytes. */
#define WFC_MAX_ICON_SIZE (1024 * 1024)

/* The component's icon: the bytes of an image file (PNG, ICO or BMP; shown
   at 32 by 32 pixels) and, in *size, their number. The bytes belong to the
   plug-in and must stay valid until it is unloaded; the editor copies them
   at once. Return NULL, or set *size to 0, for no icon. An icon larger than
   WFC_MAX_ICON_SIZE is not shown. */
WFC_EXPORT const unsigned char *GetIcon(uint32_t *size);
typedef const unsigned char *(*WfcGetIcon)(uint32_t *size);

/* Writes the component's display name into buffer, which holds size bytes
   (WFC_TEXT_BUFFER_SIZE), and returns the number of bytes written, not
   counting a terminating zero (which is not needed). The editor reads no
   more than size bytes and stops at a zero byte. */
WFC_EXPORT int32_t GetName(char *buffer, int32_t size);
typedef int32_t (*WfcGetName)(char *buffer, int32_t size);

/* Writes the component's info text, shown as the tip of its item, in the
   same way as GetName. */
WFC_EXPORT int32_t GetInfo(char *buffer, int32_t size);
typedef int32_t (*WfcGetInfo)(char *buffer, int32_t size);

/* Adds or edits the component in the project. projectFile is the path of a
   copy of the open project, saved for this call as a project file "wftemp.tmp"
   in a folder of the editor's own: INI text in Windows-1252, the format
   the editor writes. Its key "WorkDir" of the section "[Temporary]" holds the
   project's own folder, against which relative source paths are read.
   Edit the file in place and set *changed to a non-zero value when it was
   changed: the editor then reads it back as the project, which stays in its
   own folder under its own file name. With *changed left 0 the editor keeps
   its project as it was and ignores the file. The call runs in the editor's
   process: a plug-in that crashes takes the editor with it, which is why the
   editor offers to save the project first. */
WFC_EXPORT void AddComponent(const char *projectFile, int32_t *changed);
typedef void (*WfcAddComponent)(const char *projectFile, int32_t *changed);

#ifdef __cplusplus
}
#endif

#endif /* WHARF_COMPONENT_H */
