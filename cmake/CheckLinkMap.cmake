# cmake -DMAP=<linker map> -DPROGRAM=<program> -P CheckLinkMap.cmake
#
# Run after each link of the launcher: fails when the link brought in what the
# launcher is built without (docs/performance.md, "Size of the Windows
# launcher"), which would otherwise pass unnoticed until a size test: the
# exception machinery (some 150 KB with the unwinder, winpthreads and the
# demangler), or MinGW's own printf formatter (25 KB). The program is
# stripped, so this reads the map the linker wrote. On failure it removes the
# program, so that the next build links and checks again.

cmake_minimum_required(VERSION 3.25)

# A symbol the map lists as defined in the program is a line of an address and
# a name; the names are C++ names, as c++filt shows them.
set(unwanted "_Unwind_[A-Za-z_]+|__gxx_personality_[a-z0-9]+|__cxa_throw|__cxa_rethrow"
             "|__cxa_allocate_exception|__cxa_begin_catch|__cxa_demangle|std::terminate\\(\\)"
             "|__gnu_cxx::__verbose_terminate_handler\\(\\)|__mingw_pformat")
string(JOIN "" unwanted ${unwanted})

# Input-section lines (".text 0x... 0x... file", or only the addresses and the
# file under a long section name) say which file the symbol lines after them
# come from; only those and the unwanted symbols' lines are read.
set(section_line "^ ([^ ]+)? +0x[0-9a-f]+ +0x[0-9a-f]+ (.+)$")
file(STRINGS "${MAP}" lines REGEX "^ ([^ ]+)? +0x[0-9a-f]+ +0x[0-9a-f]+ |^ +0x[0-9a-f]+ +(${unwanted})$")
set(found "")
set(origins "")
set(file "")
foreach(line IN LISTS lines)
    if(line MATCHES "${section_line}")
        set(file "${CMAKE_MATCH_2}")
    elseif(line MATCHES "^ +0x[0-9a-f]+ +(.+)$")
        list(APPEND found "${CMAKE_MATCH_1}")
        list(APPEND origins "${file}")
    endif()
endforeach()
if(NOT found)
    return()
endif()

# The chain of library members that brought FILE in, from the top of the map:
# "Archive member included to satisfy reference by file (symbol)", each
# member followed, on its line or the next, by the file and symbol that
# needed it.
file(READ "${MAP}" map)
string(FIND "${map}" "\nDiscarded input sections" end)
string(SUBSTRING "${map}" 0 ${end} map)
function(chain out file)
    set(text "")
    foreach(step RANGE 20)
        string(REGEX REPLACE "([][+.*?()^$|\\\\])" "\\\\\\1" pattern "${file}")
        if(NOT map MATCHES "\n${pattern}[ \n]+([^ \n]+) \\(([^\n]+)\\)\n")
            break()
        endif()
        get_filename_component(name "${CMAKE_MATCH_1}" NAME)
        string(APPEND text "\n      which ${name} needed for ${CMAKE_MATCH_2}")
        set(file "${CMAKE_MATCH_1}")
    endforeach()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One chain for the exception machinery and one for the formatter, each from
# the symbol that tells most directly what asked for it.
set(report "")
foreach(group "exception machinery" "MinGW's printf formatter")
    set(symbols "${found}")
    if(group STREQUAL "exception machinery")
        list(FILTER symbols EXCLUDE REGEX "^__mingw_pformat$")
        set(first "")
        foreach(candidate __cxa_throw __gxx_personality_v0 _Unwind_Resume)
            if(candidate IN_LIST symbols)
                set(first ${candidate})
                break()
            endif()
        endforeach()
    else()
        list(FILTER symbols INCLUDE REGEX "^__mingw_pformat$")
        set(first __mingw_pformat)
    endif()
    if(NOT symbols)
        continue()
    endif()
    if(NOT first)
        list(GET symbols 0 first)
    endif()
    # The unwinder's many entry points in one word.
    set(shown "${symbols}")
    list(FILTER shown EXCLUDE REGEX "^_Unwind_")
    list(FILTER symbols INCLUDE REGEX "^_Unwind_")
    list(LENGTH symbols count)
    if(count GREATER 0)
        list(APPEND shown "${count} functions of the unwinder (_Unwind_*)")
    endif()
    list(JOIN shown ", " shown)
    list(FIND found "${first}" at)
    list(GET origins ${at} origin)
    chain(how "${origin}")
    get_filename_component(origin "${origin}" NAME)
    string(APPEND report "\n  ${group}: ${shown}\n    ${first} is in ${origin},${how}")
endforeach()

file(REMOVE "${PROGRAM}")
message(FATAL_ERROR
    "${PROGRAM} has what the launcher is built without (src/win32/CppRuntime.cpp, "
    "src/win32/SystemPrintf.cpp, docs/performance.md):${report}\n"
    "The whole chain of each piece is at the top of the linker's map, ${MAP}, under "
    "\"Archive member included to satisfy reference by file (symbol)\". "
    "The program was removed.")
