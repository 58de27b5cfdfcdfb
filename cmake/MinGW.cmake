# The MinGW-w64 cross build of the launcher and its tests, for the processor
# the including toolchain file sets (cmake/mingw-i686.cmake,
# cmake/mingw-x86_64.cmake).
set(CMAKE_SYSTEM_NAME Windows)

set(VOK_MINGW_PREFIX ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
# The compilers of the posix thread model where the system has them (Debian's
# g++-mingw-w64-*-posix), else the prefix's default ones; found once and
# kept in the cache, so each build folder stays with the compiler it began with.
find_program(VOK_MINGW_CC NAMES ${VOK_MINGW_PREFIX}-gcc-posix ${VOK_MINGW_PREFIX}-gcc)
find_program(VOK_MINGW_CXX NAMES ${VOK_MINGW_PREFIX}-g++-posix ${VOK_MINGW_PREFIX}-g++)
find_program(VOK_MINGW_RC NAMES ${VOK_MINGW_PREFIX}-windres)
if(NOT VOK_MINGW_CC OR NOT VOK_MINGW_CXX OR NOT VOK_MINGW_RC)
    message(FATAL_ERROR "no MinGW-w64 compilers for ${VOK_MINGW_PREFIX} (on Debian: "
                        "g++-mingw-w64-i686-posix, g++-mingw-w64-x86-64-posix)")
endif()
set(CMAKE_C_COMPILER ${VOK_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VOK_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VOK_MINGW_RC})

set(CMAKE_FIND_ROOT_PATH /usr/${VOK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: without -static the programs need the MinGW
# runtime DLLs, which a player's Windows does not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# What ships carries no symbol tables: they would more than double its size.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# ctest runs the cross-built programs under Wine through this wrapper (the
# project's own prefix of the program's architecture, with that
# architecture's loader, as an unprivileged user; see scripts/common.sh).
get_filename_component(VOK_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${VOK_WINE_RUN}" CACHE FILEPATH "Runs Windows programs for ctest")
