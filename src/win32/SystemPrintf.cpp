// The launcher's snprintf is the one of the system's C runtime, msvcrt.dll,
// instead of MinGW's own.
//
// libstdc++ makes every C++ file use MinGW's C99 printf, whose formatter with
// its floating-point conversion (some 25 KB) would be the largest part of the
// launcher's code. What the launcher formats is integers ("%d", "%u"),
// strings ("%s", "%.*s") and one number, a new creature's health of 100 with
// "%f"; msvcrt writes all of that byte for byte as MinGW does. The two part
// only where the launcher never goes: "%f" of a value halfway between two
// sixth decimals (msvcrt rounds it up, MinGW to even), beyond 17 significant
// digits, infinities and NaN; and C99's size modifiers (z, j, t, hh), which
// older msvcrt versions do not know. A format of that kind needs MinGW's
// printf back: remove this file.
//
// The snprintf that MinGW's <stdio.h> defines inline calls __mingw_vsnprintf.
// Defined here, it is not taken from libmingwex, and it hands over to MinGW's
// __ms_vsnprintf: msvcrt's _vsnprintf with C99's results, a text that always
// ends in a null character within the buffer and the length the whole text
// needs as the value. The configuration (cmake/CheckToolchain.cmake) fails
// when snprintf calls anything else, and the check of each link's map
// (cmake/CheckLinkMap.cmake) when MinGW's formatter came in all the same.
#include <cstdarg>
#include <cstddef>
#include <cstdio>

extern "C" int __cdecl __ms_vsnprintf(char* buffer, std::size_t size, const char* format,
                                      va_list arguments);

extern "C" int __cdecl __mingw_vsnprintf(char* buffer, std::size_t size, const char* format,
                                         va_list arguments) {
    return __ms_vsnprintf(buffer, size, format, arguments);
}
