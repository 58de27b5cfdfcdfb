#include <windows.h>

#include "launcher/StartUp.h"
#include "win32/Win32Ui.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vok::Win32Ui desktop(nullptr, instance);
    return vok::StartUp(desktop);
}
