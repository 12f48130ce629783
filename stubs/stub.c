/* A placeholder for one program of the setup runtime. The real runtime is
   not part of this system; this program only carries the resources the
   setup compiler edits (icon group "MAINICON", the version resource and,
   in one variant, the RCDATA "LOADER_SIZE") and says what it is. */
#include <windows.h>

#ifndef STUB_NAME
#define STUB_NAME "stub"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    MessageBoxA(NULL,
                STUB_NAME " is a placeholder that stands in for the setup runtime.\n"
                "The real runtime is not part of Brindlewharf.",
                STUB_NAME, MB_OK | MB_ICONINFORMATION);
    return 0;
}
