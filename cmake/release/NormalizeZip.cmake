# Run by CPack after it has written the zip (CPACK_POST_BUILD_SCRIPTS): makes
# the archive depend on the commit alone. strip-nondeterminism puts the
# entries in name order, sets every time to SOURCE_DATE_EPOCH (the time of the
# commit being built, unless the caller chose one), the modes to 644 or 755,
# and clears owners. It writes zip times in the local time zone, hence TZ=UTC.
find_program(VOK_STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT VOK_STRIP_NONDETERMINISM)
    message(FATAL_ERROR "strip-nondeterminism is missing (Debian package strip-nondeterminism): "
                        "without it the zip holds the build's times and owners")
endif()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
    execute_process(COMMAND git -C "${CPACK_VOK_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed OR epoch STREQUAL "")
        message(FATAL_ERROR "no commit time: set SOURCE_DATE_EPOCH to the release's time")
    endif()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${VOK_STRIP_NONDETERMINISM}
                            --type zip --timestamp ${epoch} ${package}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
    endif()
endforeach()
