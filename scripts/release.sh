#!/usr/bin/env bash
# Makes the release a publisher ships beside the game, from the commit checked
# out, on Debian 12 (installing what is missing):
#   dist/VokLauncher-<version>-win32.zip   the launcher, the nine language
#                                           files and README.txt, laid out as
#                                           the game's folder
#   dist/SHA256SUMS                         the sums of the zip and of
#                                           VokLauncher.exe
# It runs CMake's workflow preset "release" in build/release, made afresh:
# configure, build, every test of that build (the size limit, the language
# files, the unit tests and the end-to-end scenarios under Wine and Xvfb),
# then CPack. No zip is written when a test fails. On a machine that runs no
# 32-bit program (or with VOK_WINE_ARCHS=x86_64) the release is built and
# packed the same way, its tests that need no Wine run on it, and those under
# Wine run on its x86_64 twin (preset release-x86_64), built afresh from the
# same commit; the zip and its sums are the same bytes either way.
#
# The same commit gives the same two sums in any folder, at any time, for any
# user, umask and locale; scripts/check-reproducible.sh proves it and the test
# command runs it. SOURCE_DATE_EPOCH, the time every entry of the zip carries,
# is the commit's time unless the caller sets it.
set -euo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT"

build="$VOK_ROOT/build/release"
dist="$VOK_ROOT/dist"

vok_choose_wine_archs
vok_heading "Install missing packages"
vok_install_dependencies

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "warning: the tree has changes not committed; this release is not that of commit" \
        "$(git rev-parse --short HEAD)" >&2
fi

# Built and tested by the Wine user, who runs the tests (scripts/common.sh).
rm -rf "$build" "$build-x86_64"
vok_give_wine_user "$build" "$build-x86_64"
if vok_wine_runs i686; then
    vok_heading "Build, test and pack the release in $build"
    vok_on_display_as_wine_user cmake --workflow --preset release
else
    vok_heading "Build the release in $build; its tests under Wine run on the x86_64 twin"
    vok_note "($VOK_WINE_WHY)"
    vok_on_display_as_wine_user bash -c "cmake --preset release && cmake --build --preset release &&
        ctest --preset release --label-exclude '^wine$' &&
        cmake --preset release-x86_64 && cmake --build --preset release-x86_64 &&
        ctest --preset release-x86_64 && cpack --preset release"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="VokLauncher-$version-win32.zip"

vok_heading "Write $dist"
# The executable's sum is that of the copy inside the zip, under the name it
# has there, so that it can be checked in the game's folder.
python3 - "$build/$zip" <<'EOF' >"$build/SHA256SUMS"
import hashlib, sys, zipfile

path = sys.argv[1]
name = path.rsplit('/', 1)[-1]
expected = {'VokLauncher.exe', 'README.txt', 'data/', 'data/language/'} | {
    f'data/language/{language}.txt' for language in (
        'english', 'swedish', 'norwegian', 'finnish', 'danish', 'german', 'french', 'spanish',
        'polish')}
with zipfile.ZipFile(path) as archive:
    names = set(archive.namelist())
    if names != expected:
        sys.exit(f'{name}: unexpected entries {sorted(names - expected)}, '
                 f'missing {sorted(expected - names)}')
    exe = archive.read('VokLauncher.exe')
print(f'{hashlib.sha256(open(path, "rb").read()).hexdigest()}  {name}')
print(f'{hashlib.sha256(exe).hexdigest()}  VokLauncher.exe')
EOF
mkdir -p "$dist"
rm -f "$dist"/VokLauncher-*-win32.zip "$dist/SHA256SUMS"
cp "$build/$zip" "$build/SHA256SUMS" "$dist/"
cat "$dist/SHA256SUMS"
vok_note "VokLauncher.exe $(stat -c %s "$build/VokLauncher.exe") bytes, SOURCE_DATE_EPOCH" \
    "$SOURCE_DATE_EPOCH, commit $(git rev-parse --short HEAD)"
