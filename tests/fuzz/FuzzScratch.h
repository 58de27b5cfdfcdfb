#pragma once

#include <string>

namespace vok::fuzz {

// A folder of this process's own in the system's temporary directory (TMPDIR
// natively), made on first use and removed with its contents at exit. Fuzz
// inputs run thousands of times a second, so they reuse one folder instead of
// making and removing one per input. The path ends in '/'.
const std::string& ScratchFolder();

}  // namespace vok::fuzz
