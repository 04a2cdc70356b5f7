// VelmoraDataParser.exe: the application object on real windows and the
// operating system's services.
#include <windows.h>
#include <commctrl.h>

#include "src/app/parser_app.h"
#include "src/win32/win32_prompts.h"
#include "src/win32/os/win32_services.h"
#include "src/win32/win32_string_table.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The Configure dialog's list view and the Parsing window's progress bar
    // live in the common controls.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    velmora::Win32StringTable strings;
    velmora::Win32Prompts prompts(strings);
    velmora::Win32Services services;
    velmora::ParserApp app(prompts, services.services(), strings);
    app.initInstance();
    return 0;
}
