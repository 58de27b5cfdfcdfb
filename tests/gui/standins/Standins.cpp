// Stand-ins for the programs the launcher starts and the library it probes.
// They append what they were asked to do, in UTF-8, to a file in the current
// folder (the data root, wherever the launcher runs them). A program, under
// each name the launcher starts, records "started <program> <arguments>" (as
// shell-open.exe "opened <document>") to log.txt; as "vok.exe", the game the
// launcher relies on, it also copies the league file it finds to league.dat,
// owns a window of the class "VOK " titled with its arguments and records
// message 0x420 as "signalled VOK |<title>". DDRAW.DLL (VOK_DDRAW;
// VOK_NO_CREATE, VOK_NO_CREATE_EX drop an entry point): to ddraw.txt attach,
// create (of IDirectDraw7, no driver or outer object?; it fails when
// VOK_DDRAW_FAIL is set), release, detach or exit.
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

static void Record(const char* file, const std::wstring& line) {  // the path type makes it UTF-8
    std::ofstream(file, std::ios::app | std::ios::binary) << fs::path(line).u8string() << "\r\n";
}

#ifdef VOK_DDRAW
static ULONG WINAPI Release(void*) {  // all a caller that only releases the object needs
    Record("ddraw.txt", L"release");
    return 0;
}
static void* g_vtable[3] = {nullptr, nullptr, reinterpret_cast<void*>(Release)};
[[maybe_unused]] static void* g_object = g_vtable;

extern "C" {
#ifndef VOK_NO_CREATE
__declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, void**, IUnknown*) {
    return E_FAIL;
}
#endif
#ifndef VOK_NO_CREATE_EX
__declspec(dllexport) HRESULT WINAPI
    DirectDrawCreateEx(GUID* driver, void** object, REFIID iid, IUnknown* outer) {
    const GUID kIidDirectDraw7 = {
        0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
    const bool asked = !driver && !outer && IsEqualGUID(iid, kIidDirectDraw7);
    Record("ddraw.txt", asked ? L"create IDirectDraw7" : L"create with other arguments");
    *object = getenv("VOK_DDRAW_FAIL") ? nullptr : &g_object;
    return *object ? S_OK : E_FAIL;
}
#endif
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* atExit) {
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH) {
        Record("ddraw.txt", reason ? L"attach" : atExit ? L"exit" : L"detach");
    }
    return TRUE;
}
}  // extern "C"

#else
static LRESULT CALLBACK GameWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x420) {
        wchar_t title[256] = L"";
        GetWindowTextW(window, title, 256);
        Record("log.txt", wParam || lParam
                              ? L"0x420 " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam)
                              : L"signalled VOK |" + std::wstring(title));
    } else if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    wchar_t module[1024];
    char ansi[MAX_PATH + 1];
    GetModuleFileNameW(nullptr, module, 1024);
    const wchar_t* args = PathGetArgsW(GetCommandLineW());
    const bool game = fs::path(module).filename() == L"vok.exe";
    if (game) {
        // As the game does: by the ANSI calls, from the temporary folder it inherits.
        GetTempPathA(sizeof ansi, ansi);
        CopyFileA((ansi + std::string("vokleague.dat")).c_str(), "league.dat", FALSE);
        WNDCLASSW windowClass = {0,       GameWindow, 0,       0,       instance,
                                 nullptr, nullptr,    nullptr, nullptr, L"VOK "};
        RegisterClassW(&windowClass);
        CreateWindowW(L"VOK ", args, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 460, 140, nullptr,
                      nullptr, instance, nullptr);
    }
    // Recorded last: once the driver reads it, the game's window exists. In
    // the scenarios' words: a path in the data root (the current folder, or
    // the log would be elsewhere) as one relative to it, with '/'.
    const bool opener = fs::path(module).filename() == L"shell-open.exe";
    std::wstring what = opener ? args : module + std::wstring(*args ? L" " : L"") + args;
    what = opener && what.size() > 1 ? what.substr(1, what.size() - 2) : what;  // "%1"'s quotes
    wchar_t here[1024] = L"";
    GetLongPathNameW(fs::current_path().c_str(), here, 1024);
    const std::wstring root = here + std::wstring(L"\\");
    if (what.compare(0, root.size(), root) == 0) {
        what.erase(0, root.size());
        std::replace(what.begin(), what.end(), L'\\', L'/');
    }
    Record("log.txt", (opener ? L"opened " : L"started ") + what);
    MSG message;
    while (game && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
#endif
