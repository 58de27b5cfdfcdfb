#pragma once

namespace vok {

// Debug trace hook: `level`, then printf-style arguments. Release builds emit
// nothing; it marks the places worth tracing when a league file looks wrong.
void Trace(int level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

}  // namespace vok
