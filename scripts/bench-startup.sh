#!/usr/bin/env bash
# Measures the launcher's whole-program start-up under Wine: the time from
# starting it until its main menu is visible, beside two bare one-dialog Win32
# programs measured in the same run (bench/startup): one without a manifest,
# and one with the launcher's, which loads the visual styles as it does. Prints the machine,
# then median, quartiles and extremes in milliseconds. Arguments go to the
# timer, for example --runs 40.
#
#   scripts/bench-startup.sh [--runs N]
#
# Builds the timer in the folder of the preset mingw-i686 where this machine
# runs 32-bit programs, else of mingw-x86_64 (VOK_WINE_ARCHS=x86_64 chooses
# it), or in the configured MinGW build folder VOK_STARTUP_BUILD names, and
# runs it under Xvfb in a Wine session of its own (see scripts/common.sh).
# The figures of docs/performance.md ("Start-up under Wine") come from here.
set -euo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT"

vok_choose_wine_archs
if [ -n "${VOK_STARTUP_BUILD:-}" ]; then
    build=$VOK_STARTUP_BUILD
else
    build=$VOK_ROOT/build/mingw-$(vok_wine_first_arch)
    cmake --preset "mingw-$(vok_wine_first_arch)" >/dev/null
fi
cmake --build "$build" --parallel "$VOK_JOBS" --target vok_startup_timer >/dev/null
arch=$(vok_pe_arch "$build/VokLauncher.exe")
vok_wine_runs "$arch" || vok_die "$build holds $arch programs, which this machine does not run"

vok_heading "Machine"
vok_note "$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GB"
vok_note "$(uname -sr), $(vok_wine_env "$arch" && "$WINELOADER" --version), the $arch launcher, Xvfb $VOK_XVFB_SCREEN"
vok_note "load average before the run: $(cut -d" " -f1-3 /proc/loadavg)"

vok_heading "Start-up under Wine"
vok_wine_user_setup
# shellcheck disable=SC2016 # the inner shell expands them
vok_on_display_as_wine_user bash -c 'trap "bash scripts/wine-run.sh --session end $0" EXIT
    bash scripts/wine-run.sh --session start "$0" && bash scripts/wine-run.sh "$@"' "$arch" \
    "$build/bench/startup/vok_startup_timer.exe" \
    --launcher "$build/VokLauncher.exe" --standins "$build/tests/gui/standins" \
    --sample "$VOK_ROOT/sample" --bare "$build/bench/startup/BareDialog.exe" \
    --bare-manifest "$build/bench/startup/BareDialogManifest.exe" "$@"
