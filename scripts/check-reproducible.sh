#!/usr/bin/env bash
# Checks that the release is reproducible: builds the launcher and packs its
# zip twice from the same sources, as differently as this machine allows, and
# compares the SHA-256 sums of VokLauncher.exe and of the zip.
#
#   first:  <temp>/a/src,                              umask 022, LC_ALL=C,
#           TZ=UTC, as the caller
#   second: <temp>/second-build-in-a-longer-folder/src, umask 077,
#           LC_ALL=C.UTF-8, TZ 12:45 h east of UTC, a few seconds later, and
#           as the Wine user when run as root (scripts/common.sh)
#
# Both copy the files git tracks or would track from this tree (changes not
# committed included). Only the launcher is built, in the preset "release"
# with its tests left out, and packed as scripts/release.sh packs it after its
# tests. The build does not see SOURCE_DATE_EPOCH (the linker and __DATE__
# would take it for the time and hide a time stamp let in); the packing gets
# the commit's time. On a difference it names the first file
# that differs, keeps both builds and says how to compare them. Exits non-zero
# then.
set -uo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT" || exit 1

epoch=$(git log -1 --format=%ct) || vok_die "no commit to take the time from"
work=$(mktemp -d "${TMPDIR:-/tmp}/vok-reproducible.XXXXXX")
chmod 755 "$work"

other_user=""
if vok_is_root && id -u "$(vok_wine_user)" >/dev/null 2>&1; then
    other_user=$(vok_wine_user)
fi

# build_one FOLDER UMASK LOCALE TZ [USER]: copies the tracked files into
# FOLDER/src and builds and packs there; the log is FOLDER/build.log.
build_one() {
    local folder=$1 mask=$2 locale=$3 zone=$4 user=${5:-}
    local src="$folder/src"
    mkdir -p "$src"
    git ls-files -z --cached --others --exclude-standard |
        tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$src" -xf - || return 1
    [ -z "$user" ] || chown -R "$user:" "$folder"
    local steps="umask $mask && cd '$src' &&
        cmake --preset release -DVOK_BUILD_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
        cmake --build --preset release --target vok_launcher &&
        SOURCE_DATE_EPOCH=$epoch cpack --preset release"
    local run=(env -u SOURCE_DATE_EPOCH LC_ALL="$locale" TZ="$zone" bash -c "$steps")
    [ -z "$user" ] || run=(runuser -u "$user" -- "${run[@]}")
    if ! "${run[@]}" >"$folder/build.log" 2>&1; then
        tail -n 30 "$folder/build.log"
        echo "check-reproducible: the build in $folder failed (log: $folder/build.log)" >&2
        return 1
    fi
}

# The entries of two zips whose bytes differ: the first one that differs in
# its name, place, contents or stored attributes.
first_zip_difference() {
    python3 - "$1" "$2" <<'EOF'
import sys, zipfile

a, b = (zipfile.ZipFile(path) for path in sys.argv[1:3])
for x, y in zip(a.infolist() + [None], b.infolist() + [None]):
    if x is None or y is None or x.filename != y.filename:
        print(f'the entries differ from {getattr(x, "filename", "(end)")} '
              f'against {getattr(y, "filename", "(end)")} on')
        break
    if a.read(x) != b.read(y):
        print(f'{x.filename}: its contents')
        break
    attributes = ('date_time', 'external_attr', 'create_system', 'extra', 'compress_type')
    for name in attributes:
        if getattr(x, name) != getattr(y, name):
            print(f'{x.filename}: its {name}, {getattr(x, name)!r} against {getattr(y, name)!r}')
            sys.exit()
else:
    print('no entry: the archive headers')
EOF
}

first="$work/a"
second="$work/second-build-in-a-longer-folder"
build_one "$first" 022 C UTC || exit 1
sleep 1
build_one "$second" 077 C.UTF-8 XYZ-12:45 "$other_user" || exit 1
zip=$(cd "$first/src/build/release" && echo VokLauncher-*-win32.zip)
vok_note "second build ${other_user:+as $other_user, }umask 077, LC_ALL=C.UTF-8, TZ=XYZ-12:45"

status=0
for file in VokLauncher.exe "$zip"; do
    a="$first/src/build/release/$file" b="$second/src/build/release/$file"
    sum_a=$(sha256sum <"$a" | cut -d' ' -f1) sum_b=$(sha256sum <"$b" | cut -d' ' -f1)
    if [ "$sum_a" = "$sum_b" ]; then
        vok_note "$sum_a  $file, in both builds"
        continue
    fi
    echo "check-reproducible: $file differs between the two builds:"
    echo "    $sum_a  $a"
    echo "    $sum_b  $b"
    echo "    first difference: $(cmp "$a" "$b" | sed 's/.*differ: //')"
    [ "$file" = "$zip" ] && echo "    in the zip: $(first_zip_difference "$a" "$b")"
    if command -v diffoscope >/dev/null 2>&1; then
        echo "    to see every difference: diffoscope $a $b"
    else
        echo "    to see every difference, install diffoscope (Debian package) and run it on both"
    fi
    status=1
    break
done
if [ "$status" -eq 0 ]; then
    rm -rf "$work"
else
    echo "check-reproducible: both builds are kept in $work"
fi
exit "$status"
