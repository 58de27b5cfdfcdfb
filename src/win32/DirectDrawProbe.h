#pragma once

#include <cstdint>

namespace vok {

// Windows only. Loads `library` at run time (never at load time, so that the
// launcher runs where DirectDraw is missing), creates a DirectDraw object with
// the DirectX 7 interface, and releases the object and the library again on
// every path. Returns kDirectDraw7 on success, otherwise 0. A library without
// "DirectDrawCreate" is reported to the debugger through the OS seam, as the
// one failure worth a trace. Os::ProbeDirectDraw calls it with "DDRAW.DLL";
// tests name stand-in libraries.
std::uint32_t ProbeDirectDrawLibrary(const char* library);

}  // namespace vok
