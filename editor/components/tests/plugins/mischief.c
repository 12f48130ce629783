/* A component plug-in that misbehaves in the ways the editor must survive:
   its name overruns the buffer, its info length is negative, its icon is no
   image, and what AddComponent does is chosen by the environment variable
   WFC_MISCHIEF: "delete" removes the project copy, "garbage" overwrites it
   with text that is no project, "silent" changes it without saying so; each
   of the first two reports a change. */
#include "wharfcomponent.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

WFC_EXPORT const unsigned char *GetIcon(uint32_t *size)
{
    static const unsigned char notAnImage[] = "no picture here";
    *size = sizeof notAnImage;
    return notAnImage;
}

WFC_EXPORT int32_t GetName(char *buffer, int32_t size)
{
    memset(buffer, 'M', (size_t)size);
    return 1 << 30;
}

WFC_EXPORT int32_t GetInfo(char *buffer, int32_t size)
{
    if (size > 3)
        memcpy(buffer, "tip", 3);
    return -5;
}

WFC_EXPORT void AddComponent(const char *projectFile, int32_t *changed)
{
    const char *mode = getenv("WFC_MISCHIEF");
    if (!mode)
        return;
    if (strcmp(mode, "delete") == 0) {
        remove(projectFile);
        *changed = 1;
    } else if (strcmp(mode, "garbage") == 0) {
        FILE *file = fopen(projectFile, "wb");
        if (file) {
            fputs("This is no project.\n", file);
            fclose(file);
        }
        *changed = 1;
    } else if (strcmp(mode, "silent") == 0) {
        FILE *file = fopen(projectFile, "ab");
        if (file) {
            fputs("[General]\r\nAppName=Changed in secret\r\n", file);
            fclose(file);
        }
    }
}
