#!/usr/bin/env bash
# Builds the launcher and the stand-ins on Debian 12 or 13, installing what is
# missing, stages them with the sample data root into build/run/, and starts
# the launcher there under Wine: the shipped 32-bit one where this machine
# runs 32-bit programs, else its x86_64 twin (VOK_WINE_ARCHS=x86_64 chooses
# the twin). With a display the player's window opens; without one the
# launcher runs on Xvfb, a screenshot of its main menu is saved as
# build/run/main-menu.png, and the launcher is closed.
set -euo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT"

stage="$VOK_ROOT/build/run"
screenshot="$stage/main-menu.png"

# On Xvfb, as the Wine user: start the launcher in a Wine session of ARCH,
# wait (bounded) for its main menu, photograph it and close it.
if [ "${1:-}" = "--photograph" ]; then
    trap 'bash scripts/wine-run.sh --session end "$2"' EXIT
    bash scripts/wine-run.sh --session start "$2" || exit 1
    # In a subshell of its own, so that its end at the session's close is not
    # reported as a killed job.
    (scripts/wine-run.sh "$stage/VokLauncher.exe" >/dev/null 2>&1 &)
    for _ in $(seq 1 150); do
        geometry=$(xwininfo -root -tree 2>/dev/null | grep -F '"Vok ":' | head -n 1 || true)
        [ -n "$geometry" ] && break
        sleep 0.2
    done
    [ -n "$geometry" ] || vok_die "the main menu did not appear within 30 s"
    id=$(awk '{print $1}' <<<"$geometry")
    crop=$(xwininfo -id "$id" | awk '
        /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}')
    # The window is mapped before it is painted, and on a busy machine the
    # painting takes a while: take the picture again until it is no longer
    # all black (bounded).
    for _ in $(seq 1 40); do
        sleep 0.5
        import -window root -crop "$crop" +repage "$screenshot"
        [ "$(convert "$screenshot" -format '%[fx:maxima]' info:)" != 0 ] && break
    done
    # Ending the session closes the launcher.
    exit 0
fi

vok_choose_wine_archs
# The shipped 32-bit launcher where this machine runs it, else its twin.
arch=$(vok_wine_first_arch)
build="$VOK_ROOT/build/mingw-$arch"
launcher="$build/VokLauncher.exe"
standins="$build/tests/gui/standins"

vok_heading "Install missing packages"
vok_install_dependencies

# What it runs: the launcher and the stand-in programs.
vok_heading "Build the $arch launcher and the stand-ins"
vok_build_preset "mingw-$arch" vok_launcher vok_gui_recorder

vok_heading "Stage the launcher in $stage"
rm -rf "$stage"
mkdir -p "$stage/DirectX8" "$stage/demo"
cp -R sample/. "$stage/"
cp "$launcher" "$stage/"
cp "$standins/vok.exe" "$stage/vok.exe"
cp "$standins/DXSETUP.EXE" "$stage/DirectX8/DXSETUP.EXE"
cp "$standins/Zantovid.exe" "$stage/demo/Zantovid.exe"
# The stand-ins write what they were asked to do beside themselves: the stage
# belongs to the user Wine runs as.
vok_give_wine_user "$stage"

vok_heading "Run the $arch launcher"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # Root's display cookie is root's to read: the Wine user gets a copy.
    if vok_is_root && [ -r "${XAUTHORITY:-}" ]; then
        install -m 600 -o "$(vok_wine_user)" "$XAUTHORITY" "$stage/.Xauthority"
        export XAUTHORITY="$stage/.Xauthority"
    fi
    scripts/wine-run.sh "$stage/VokLauncher.exe" || true
    echo "The launcher has closed."
else
    rm -f "$screenshot"
    vok_on_display_as_wine_user bash scripts/run.sh --photograph "$arch"
    [ -f "$screenshot" ] || vok_die "no screenshot was taken"
    echo "No display: the launcher ran on Xvfb. Its main menu: $screenshot"
fi
