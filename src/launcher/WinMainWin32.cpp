#include <windows.h>

#include "launcher/StartUp.h"
#include "launcher/UiWin32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vok::Win32Ui desktop(nullptr);
    return vok::StartUp(instance, desktop);
}
