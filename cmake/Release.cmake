# The release: what a publisher puts into the game's folder, packed by CPack
# as VokLauncher-<version>-win32.zip (`cpack`, the `package` target, or the
# whole of scripts/release.sh). The zip is laid out as the game's folder is,
# so it unpacks there as it is.

# Fixed permissions whatever the umask of the build: CPack packs what the
# install step staged, with the modes it finds there.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(VOK_RELEASE_FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

install(TARGETS vok_launcher RUNTIME DESTINATION .)
set(VOK_LANGUAGES english swedish norwegian finnish danish german french spanish polish)
list(TRANSFORM VOK_LANGUAGES PREPEND ${PROJECT_SOURCE_DIR}/sample/data/language/)
list(TRANSFORM VOK_LANGUAGES APPEND .txt)
install(FILES ${VOK_LANGUAGES} DESTINATION data/language PERMISSIONS ${VOK_RELEASE_FILE_PERMISSIONS})

# The players' and publishers' notes, with Windows line ends for Notepad.
configure_file(${CMAKE_CURRENT_LIST_DIR}/release/README.txt.in ${PROJECT_BINARY_DIR}/release/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/release/README.txt DESTINATION .
        PERMISSIONS ${VOK_RELEASE_FILE_PERMISSIONS})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VokLauncher)
set(CPACK_PACKAGE_VENDOR "Brackenmoor Games")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME VokLauncher-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_VERBATIM_VARIABLES ON)
# CPack (3.25) takes the entries' times from SOURCE_DATE_EPOCH, but it writes
# the building user's uid and gid into every entry (a setting for them came
# only with CMake 4.3), gives the folders it stages the modes the umask
# leaves, and writes the DOS times in the local time zone. Debian's
# strip-nondeterminism rewrites the zip after it is made (see the script).
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/release/NormalizeZip.cmake)
set(CPACK_VOK_SOURCE_DIR ${PROJECT_SOURCE_DIR})
include(CPack)
