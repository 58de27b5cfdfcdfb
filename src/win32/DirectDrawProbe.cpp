#include <windows.h>

#include <unknwn.h>

#include "platform/Os.h"
#include "win32/DirectDrawProbe.h"

namespace vok {

namespace {

// IID_IDirectDraw7, defined here so that the launcher needs neither the
// DirectX headers nor the ddraw import library.
const GUID kIidDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID* driver, void** object, REFIID iid,
                                              IUnknown* outer);

}  // namespace

std::uint32_t ProbeDirectDrawLibrary(const char* library) {
    HMODULE module = LoadLibraryA(library);
    if (!module) {
        return 0;
    }
    // Only its presence matters: a library without it is no DirectDraw at all.
    if (!GetProcAddress(module, "DirectDrawCreate")) {
        FreeLibrary(module);
        CurrentOs().DebugOutput("Couldn't LoadLibrary DDraw\r\n");
        return 0;
    }
    // Converting through void (*)() says the type change is intended.
    auto create = reinterpret_cast<DirectDrawCreateExFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DirectDrawCreateEx")));
    if (!create) {
        FreeLibrary(module);
        return 0;
    }
    void* object = nullptr;
    if (FAILED(create(nullptr, &object, kIidDirectDraw7, nullptr))) {
        FreeLibrary(module);
        return 0;
    }
    // The object's code lives in the library: release it before freeing that.
    if (object) {
        static_cast<IUnknown*>(object)->Release();
    }
    FreeLibrary(module);
    return kDirectDraw7;
}

}  // namespace vok
