#!/usr/bin/env bash
# Builds everything on Debian 12, installing what is missing, then starts the
# launcher under Wine.
set -euo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT"

vok_heading "Install missing packages"
vok_install_dependencies

for preset in native native-asan mingw-i686; do
    vok_heading "Build $preset"
    vok_build_preset "$preset"
done

# Starting the launcher: stage a data root (the launcher beside sample/'s data
# and a game executable) and run it in the Wine session, on the desktop when
# there is a display and under Xvfb otherwise:
#   bash scripts/with-wine.sh scripts/wine-run.sh "$staged/VokLauncher.exe"
#   xvfb-run -a -s "$VOK_XVFB_SCREEN" bash scripts/with-wine.sh ...
vok_heading "Run the launcher"
launcher="$VOK_ROOT/build/mingw-i686/VokLauncher.exe"
if [ -f "$launcher" ]; then
    echo "Built $launcher; staging a data root and starting it under Wine are not wired up yet."
else
    echo "The launcher is not there yet: everything else is built (build/native, build/native-asan, build/mingw-i686)."
fi
