// Stand-in "DDRAW.DLL" that steers the launcher's DirectDraw probe down one
// chosen path. VOK_DDRAW_VARIANT selects what the library offers:
//
//   1  "DirectDrawCreateEx" (succeeding) but no "DirectDrawCreate": the probe
//      must give up on the missing older entry point although the newer exists
//   2  "DirectDrawCreate" only: a DirectDraw older than DirectX 7
//   3  both, and "DirectDrawCreateEx" fails with DDERR_GENERIC
//   4  both, and "DirectDrawCreateEx" hands out a minimal object
//
// The library records its life in "ddraw.txt" (see StandinRecord.h): "attach"
// and "detach" when it is loaded and freed, "create-ex" with what it was asked
// for, and "release" with the remaining reference count, so the driver can
// tell by behaviour that this library, not Wine's own, was loaded, and that the
// probe released the object and the library.
#include <windows.h>

#include "StandinRecord.h"

#ifndef VOK_DDRAW_VARIANT
#error "VOK_DDRAW_VARIANT must be 1, 2, 3 or 4"
#endif

namespace {

const char kRecord[] = "ddraw.txt";
const HRESULT kDdErrGeneric = E_FAIL;

const GUID kIidDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

[[maybe_unused]] bool SameGuid(const GUID* a, const GUID& b) {
    return a != nullptr && memcmp(a, &b, sizeof b) == 0;
}

// Just enough of a COM object for a caller that only releases it. Variants
// without a succeeding "DirectDrawCreateEx" never hand it out.
struct FakeDirectDraw;
struct FakeVtbl {
    HRESULT(WINAPI* QueryInterface)(FakeDirectDraw*, const GUID*, void**);
    ULONG(WINAPI* AddRef)(FakeDirectDraw*);
    ULONG(WINAPI* Release)(FakeDirectDraw*);
};
struct FakeDirectDraw {
    const FakeVtbl* vtbl;
    LONG refs;
};

HRESULT WINAPI FakeQueryInterface(FakeDirectDraw*, const GUID*, void** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG WINAPI FakeAddRef(FakeDirectDraw* self) {
    return static_cast<ULONG>(InterlockedIncrement(&self->refs));
}

ULONG WINAPI FakeRelease(FakeDirectDraw* self) {
    const LONG refs = InterlockedDecrement(&self->refs);
    char value[16];
    wsprintfA(value, "%ld", static_cast<long>(refs));
    standin::AppendLine(kRecord, "release", value);
    return static_cast<ULONG>(refs);
}

const FakeVtbl kFakeVtbl = {FakeQueryInterface, FakeAddRef, FakeRelease};
[[maybe_unused]] FakeDirectDraw g_object = {&kFakeVtbl, 0};

}  // namespace

extern "C" {

#if VOK_DDRAW_VARIANT != 1
__declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, void** out, IUnknown*) {
    // The probe only looks this entry point up; a call is a fault worth seeing.
    standin::AppendLine(kRecord, "create", "");
    if (out != nullptr) {
        *out = nullptr;
    }
    return kDdErrGeneric;
}
#endif

#if VOK_DDRAW_VARIANT != 2
__declspec(dllexport) HRESULT WINAPI
    DirectDrawCreateEx(GUID* driver, void** out, const GUID* iid, IUnknown* outer) {
    char value[128];
    wsprintfA(value, "driver=%s iid=%s outer=%s", driver == nullptr ? "null" : "set",
              SameGuid(iid, kIidDirectDraw7) ? "IDirectDraw7" : "other",
              outer == nullptr ? "null" : "set");
    standin::AppendLine(kRecord, "create-ex", value);
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
#if VOK_DDRAW_VARIANT == 3
    return kDdErrGeneric;
#else
    g_object.refs = 1;
    *out = &g_object;
    return S_OK;
#endif
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char variant[16];
        wsprintfA(variant, "%d", VOK_DDRAW_VARIANT);
        standin::AppendLine(kRecord, "attach", variant);
    } else if (reason == DLL_PROCESS_DETACH) {
        standin::AppendLine(kRecord, "detach", "");
    }
    return TRUE;
}

}  // extern "C"
