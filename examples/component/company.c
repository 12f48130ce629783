/* company.c: a sample component plug-in for Wharfwright.

   It fills in the company that the setup shows, the key "Company" of the
   project's section "[General]", when the project has none yet, and leaves
   a company that is already set alone. Every other line of the project is
   written back exactly as it was read.

   Build it against the installed header and put the result into the folder
   "Components" of the program folder:

     cc -shared -fPIC -fvisibility=hidden -I PREFIX/include -o company.wfc company.c

   The editor then lists "Company name" on its page "Components". */
#include "wharfcomponent.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

static const char kCompany[] = "Example Company";

/* Copies text into the editor's buffer, as much as fits; no terminating
   zero is needed. */
static int32_t copyText(const char *text, char *buffer, int32_t size)
{
    size_t length = strlen(text);
    if (size < 0)
        size = 0;
    if (length > (size_t)size)
        length = (size_t)size;
    memcpy(buffer, text, length);
    return (int32_t)length;
}

WFC_EXPORT int32_t GetName(char *buffer, int32_t size)
{
    return copyText("Company name", buffer, size);
}

WFC_EXPORT int32_t GetInfo(char *buffer, int32_t size)
{
    return copyText("Sets the company the setup shows, when the project has none.", buffer, size);
}

/* The whole file with a zero after it, or NULL. */
static char *readAll(const char *path, size_t *length)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return NULL;
    char *data = NULL;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0 && (size = ftell(file)) >= 0 && fseek(file, 0, SEEK_SET) == 0) {
        data = malloc((size_t)size + 1);
        if (data && fread(data, 1, (size_t)size, file) != (size_t)size) {
            free(data);
            data = NULL;
        }
    }
    fclose(file);
    if (!data)
        return NULL;
    data[size] = '\0';
    *length = (size_t)size;
    return data;
}

/* True when line (up to its end of line) starts with key, without regard
   to case, and its value is empty. */
static int isEmptyKey(const char *line, size_t size, const char *key)
{
    const size_t keyLength = strlen(key);
    if (size < keyLength || strncasecmp(line, key, keyLength) != 0)
        return 0;
    for (size_t i = keyLength; i < size; ++i) {
        if (line[i] != '\r' && line[i] != '\n')
            return 0;
    }
    return 1;
}

WFC_EXPORT void AddComponent(const char *projectFile, int32_t *changed)
{
    size_t length = 0;
    char *data = readAll(projectFile, &length);
    if (!data)
        return;

    /* One pass to learn what to do: the line to replace (an empty
       "Company=") or the place after the last line of [General] to insert
       at; nothing when a company is set. */
    int inGeneral = 0;
    int seenGeneral = 0;
    size_t replaceAt = (size_t)-1, replaceSize = 0, insertAt = 0;
    for (size_t at = 0; at < length;) {
        const char *line = data + at;
        const char *end = memchr(line, '\n', length - at);
        const size_t size = end ? (size_t)(end - line) + 1 : length - at;
        if (line[0] == '[') {
            inGeneral = !seenGeneral && strncasecmp(line, "[General]", 9) == 0;
            seenGeneral |= inGeneral;
        } else if (inGeneral && strncasecmp(line, "Company=", 8) == 0) {
            if (!isEmptyKey(line, size, "Company=")) {
                free(data);
                return; /* the author's own company stays */
            }
            replaceAt = at;
            replaceSize = size;
        }
        if (inGeneral && line[0] != '\r' && line[0] != '\n')
            insertAt = at + size;
        at += size;
    }

    FILE *out = fopen(projectFile, "wb");
    if (!out) {
        free(data);
        return;
    }
    if (replaceAt != (size_t)-1) {
        fwrite(data, 1, replaceAt, out);
        fprintf(out, "Company=%s\r\n", kCompany);
        fwrite(data + replaceAt + replaceSize, 1, length - replaceAt - replaceSize, out);
    } else if (seenGeneral) {
        fwrite(data, 1, insertAt, out);
        /* After a last line without its end of line, start a new one. */
        if (insertAt > 0 && data[insertAt - 1] != '\n')
            fputs("\r\n", out);
        fprintf(out, "Company=%s\r\n", kCompany);
        fwrite(data + insertAt, 1, length - insertAt, out);
    } else {
        fwrite(data, 1, length, out);
        if (length > 0 && data[length - 1] != '\n')
            fputs("\r\n", out);
        fprintf(out, "[General]\r\nCompany=%s\r\n", kCompany);
    }
    const int failed = ferror(out);
    if (fclose(out) == 0 && !failed)
        *changed = 1;
    free(data);
}
