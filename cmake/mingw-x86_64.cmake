# The x86_64 twin of the Windows build, from the same sources. It is what the
# tests run under Wine on a machine that runs no 32-bit program at all;
# the launcher that ships stays the 32-bit one, which runs on every Windows.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
