# Included by CMakeLists.txt in a Windows build. The launcher's size rests on
# two files that stand in for parts of the toolchain's own runtime
# (docs/performance.md, "Size of the Windows launcher"):
#
# - src/win32/CppRuntime.cpp defines operator new and delete and all the
#   throwing helpers (std::__throw_*) of libstdc++'s functexcept.o, so that
#   neither that object nor the library's operator new, which bring the
#   exception machinery, is linked;
# - src/win32/SystemPrintf.cpp defines __mingw_vsnprintf, which the snprintf of
#   MinGW-w64's <stdio.h> calls from C++, so that MinGW's own formatter is not
#   linked.
#
# Both were checked, size and symbols, with the toolchains listed here; any
# other is refused. On the one in use the facts they rest on are checked too,
# since a package update can change them under the same version. What the link
# actually brought in is checked after it (cmake/CheckLinkMap.cmake).

# "<processor>: GCC <major>, MinGW-w64 <major>": Debian's MinGW compilers
# report no minor version (12.2 says 12.0.0), so the major one is all there is
# to compare. Each processor's runtime is its own (x86_64 unwinds by tables
# where i686 uses DWARF), so each is checked apart.
set(VOK_CHECKED_TOOLCHAINS
    "i686: GCC 12, MinGW-w64 10"    # Debian 12: 193,024 bytes
    "i686: GCC 14, MinGW-w64 12"    # Debian 13: 192,000 bytes
    "x86_64: GCC 12, MinGW-w64 10"  # Debian 12: 194,048 bytes
    "x86_64: GCC 14, MinGW-w64 12"  # Debian 13: 193,024 bytes
)

set(vok_work ${PROJECT_BINARY_DIR}/CMakeFiles/vok-toolchain)
file(MAKE_DIRECTORY ${vok_work})

# MinGW-w64's version, from the header every C file includes.
file(WRITE ${vok_work}/version.c "#include <_mingw.h>\nvok_mingw __MINGW64_VERSION_MAJOR\n")
execute_process(COMMAND ${CMAKE_C_COMPILER} -E -P ${vok_work}/version.c
                OUTPUT_VARIABLE vok_out ERROR_QUIET)
set(vok_mingw "?")
if(vok_out MATCHES "vok_mingw ([0-9]+)")
    set(vok_mingw ${CMAKE_MATCH_1})
endif()
string(REGEX MATCH "^[0-9]+" vok_gcc "${CMAKE_CXX_COMPILER_VERSION}")
set(vok_toolchain "${CMAKE_SYSTEM_PROCESSOR}: ${CMAKE_CXX_COMPILER_ID} ${vok_gcc}, MinGW-w64 ${vok_mingw}")
string(REPLACE "GNU" "GCC" vok_toolchain "${vok_toolchain}")
if(NOT vok_toolchain IN_LIST VOK_CHECKED_TOOLCHAINS)
    list(JOIN VOK_CHECKED_TOOLCHAINS "; " vok_checked)
    message(FATAL_ERROR
        "The launcher's size tricks (src/win32/CppRuntime.cpp, src/win32/SystemPrintf.cpp) "
        "stand in for parts of the compiler's runtime and were checked with: ${vok_checked}. "
        "This compiler is ${vok_toolchain} (${CMAKE_CXX_COMPILER}).\n"
        "Build with one of those (Debian 12 or 13, package g++-mingw-w64-i686-posix or "
        "g++-mingw-w64-x86-64-posix), "
        "or check the tricks with this one: add \"${vok_toolchain}\" to VOK_CHECKED_TOOLCHAINS "
        "in cmake/CheckToolchain.cmake, build the target vok_launcher (its post-link check "
        "names any exception or formatter symbol that came in) and run the test "
        "launcher_size; keep the line only if both pass, and write the size beside it.")
endif()

# The functions (nm type T) that FILE defines, by their C++ names: for an
# object "<tab>name", for an archive "member<tab>name", one per element.
function(vok_defined_functions out file)
    execute_process(COMMAND ${CMAKE_NM} -A -C -g --defined-only ${file}
                    OUTPUT_VARIABLE text ERROR_QUIET RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${CMAKE_NM} cannot read ${file}")
    endif()
    # No C++ name holds a semicolon, but a CMake list must not.
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "${file}:" "" text "${text}")
    string(REGEX MATCHALL "[^\n]+ T [^\n]+" lines "${text}")
    list(TRANSFORM lines REPLACE "^([^:\n]+):[0-9a-fA-F]* T " "\\1\t")
    list(TRANSFORM lines REPLACE "^[0-9a-fA-F]* T " "\t")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# Compiles SOURCE and fails unless it defines every
# function of each member of LIBRARY that defines one of the file's own
# functions whose name begins with PATTERN: a function of such a member that the
# file lacks would link the member, whose other definitions then clash with
# the file's, and bring whatever the member needs.
function(vok_check_stand_in source library pattern what)
    get_filename_component(name ${source} NAME_WE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -std=c++${CMAKE_CXX_STANDARD} -fno-exceptions
                            -c ${PROJECT_SOURCE_DIR}/${source} -o ${vok_work}/${name}.o
                    RESULT_VARIABLE failed ERROR_VARIABLE errors)
    if(failed)
        message(FATAL_ERROR "${source} does not compile with ${CMAKE_CXX_COMPILER}:\n${errors}")
    endif()
    vok_defined_functions(own ${vok_work}/${name}.o)
    list(TRANSFORM own REPLACE "^\t" "")
    set(stand_ins "${own}")
    list(FILTER stand_ins INCLUDE REGEX "^(${pattern})")
    if(NOT stand_ins)
        message(FATAL_ERROR "${source} no longer defines ${what}, which it stands in for. "
                            "Without that the launcher links what the file keeps out.")
    endif()
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    vok_defined_functions(defined ${path})
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    # The members that hold what the file stands in for ...
    set(members "")
    set(candidates "${defined}")
    list(FILTER candidates INCLUDE REGEX "\t(${pattern})")
    foreach(entry IN LISTS candidates)
        string(REGEX MATCH "^([^\t]*)\t(.*)$" entry "${entry}")
        if(CMAKE_MATCH_2 IN_LIST stand_ins)
            list(APPEND members "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    if(NOT members)
        message(FATAL_ERROR "${library} (${path}) no longer defines ${what}, which ${source} "
                            "stands in for. Compare the two and adapt the file.")
    endif()
    list(REMOVE_DUPLICATES members)
    # ... and what else they define.
    string(REGEX REPLACE "([][+.*?()^$|\\])" "\\\\\\1" in_members "${members}")
    string(REPLACE ";" "|" in_members "${in_members}")
    list(FILTER defined INCLUDE REGEX "^(${in_members})\t")
    set(missing "")
    foreach(entry IN LISTS defined)
        string(REGEX MATCH "^([^\t]*)\t(.*)$" entry "${entry}")
        if(NOT CMAKE_MATCH_2 IN_LIST own)
            list(APPEND missing "${CMAKE_MATCH_1}: ${CMAKE_MATCH_2}")
        endif()
    endforeach()
    if(missing)
        list(JOIN missing "\n  " missing)
        list(JOIN members ", " members)
        message(FATAL_ERROR
            "${source} stands in for ${what}, but not for all that ${library}'s ${members} "
            "define (${path}). The file lacks:\n  ${missing}\n"
            "Code that calls one of those links the library's object, whose definitions clash "
            "with the file's and which brings back what the file keeps out. "
            "Define them in the file as the others are.")
    endif()
endfunction()

vok_check_stand_in(src/win32/CppRuntime.cpp libstdc++.a "std::__throw_|operator (new|delete)"
                   "libstdc++'s throwing helpers and operator new and delete")
vok_check_stand_in(src/win32/SystemPrintf.cpp libmingwex.a "." "MinGW-w64's __mingw_vsnprintf")

# SystemPrintf.cpp changes nothing unless the snprintf of <cstdio> calls the
# function it defines.
file(WRITE ${vok_work}/snprintf.cpp
     "#include <cstdio>\nint Format(char* b, int n) { return std::snprintf(b, 16, \"%d\", n); }\n")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -std=c++${CMAKE_CXX_STANDARD} -c
                        ${vok_work}/snprintf.cpp -o ${vok_work}/snprintf.o)
execute_process(COMMAND ${CMAKE_NM} -C -u ${vok_work}/snprintf.o OUTPUT_VARIABLE vok_out)
if(NOT vok_out MATCHES "__mingw_vsnprintf\n")
    string(REGEX REPLACE "[ \t]*U " "" vok_out "${vok_out}")
    string(STRIP "${vok_out}" vok_out)
    string(REPLACE "\n" ", " vok_out "${vok_out}")
    message(FATAL_ERROR
        "std::snprintf of this toolchain calls ${vok_out}, not __mingw_vsnprintf, so "
        "src/win32/SystemPrintf.cpp no longer routes it to msvcrt and MinGW's formatter comes "
        "back (some 25 KB). See what MinGW-w64's <stdio.h> calls now and adapt the file.")
endif()

# The checks run again when either file or a library they read changes.
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/src/win32/CppRuntime.cpp
             ${PROJECT_SOURCE_DIR}/src/win32/SystemPrintf.cpp)
message(STATUS "Size tricks: checked for ${vok_toolchain}")
