/* A well-behaved component plug-in: it has an icon, a name and an info
   text, and sets the copyright line of the setup in the project it is
   given. */
#include "wharfcomponent.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "icon.inc"

static const char kNotice[] = "(c) Sample Components";

static int32_t copyText(const char *text, char *buffer, int32_t size)
{
    int32_t length = (int32_t)strlen(text);
    if (length > size)
        length = size;
    memcpy(buffer, text, (size_t)length);
    return length;
}

WFC_EXPORT const unsigned char *GetIcon(uint32_t *size)
{
    *size = sizeof kIcon;
    return kIcon;
}

WFC_EXPORT int32_t GetName(char *buffer, int32_t size)
{
    return copyText("Copyright notice", buffer, size);
}

WFC_EXPORT int32_t GetInfo(char *buffer, int32_t size)
{
    return copyText("Sets the copyright line of the setup.", buffer, size);
}

static char *readAll(const char *path, long *length)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return NULL;
    char *data = NULL;
    if (fseek(file, 0, SEEK_END) == 0 && (*length = ftell(file)) >= 0 && fseek(file, 0, SEEK_SET) == 0) {
        data = malloc((size_t)*length + 1);
        if (data && fread(data, 1, (size_t)*length, file) != (size_t)*length) {
            free(data);
            data = NULL;
        }
        if (data)
            data[*length] = '\0';
    }
    fclose(file);
    return data;
}

/* Writes the project again with the key Copyright of [General] set to the
   notice; every other line stays as it was. */
WFC_EXPORT void AddComponent(const char *projectFile, int32_t *changed)
{
    long length = 0;
    char *data = readAll(projectFile, &length);
    if (!data)
        return;
    FILE *out = fopen(projectFile, "wb");
    if (!out) {
        free(data);
        return;
    }
    int inGeneral = 0;
    int written = 0;
    char *line = data;
    while (*line) {
        char *end = strchr(line, '\n');
        size_t size = end ? (size_t)(end - line + 1) : strlen(line);
        if (line[0] == '[') {
            if (inGeneral && !written) {
                fprintf(out, "Copyright=%s\r\n", kNotice);
                written = 1;
            }
            inGeneral = strncasecmp(line, "[General]", 9) == 0;
        }
        if (inGeneral && strncasecmp(line, "Copyright=", 10) == 0) {
            fprintf(out, "Copyright=%s\r\n", kNotice);
            written = 1;
        } else {
            fwrite(line, 1, size, out);
        }
        line += size;
    }
    if (!written)
        fprintf(out, "[General]\r\nCopyright=%s\r\n", kNotice);
    fclose(out);
    free(data);
    *changed = 1;
}
