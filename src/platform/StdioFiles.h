#pragma once

// Whole-file reads and writes through the C library's binary streams, which
// behave alike on Windows and POSIX; both implementations of the seam use them.

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/Os.h"

namespace vok {

// Reads the rest of an opened stream into `contents` and closes the stream.
ReadResult ReadAndClose(std::FILE* file, std::string& contents);

// Creates or truncates the file and writes `size` bytes; false on any error,
// the close included (a full disk often shows only there).
bool WriteStreamFile(const char* path, const void* data, std::size_t size);

}  // namespace vok
