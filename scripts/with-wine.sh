#!/usr/bin/env bash
# Runs a command inside the project's Wine session of one architecture (i686
# unless --arch says x86_64) and ends the session after:
#   scripts/with-wine.sh ctest --preset mingw-i686
#   xvfb-run -a -s "-screen 0 1024x768x24" scripts/with-wine.sh --arch x86_64 ctest --preset mingw-x86_64 -L gui
#
# The session is a persistent wineserver with Wine's desktop and services
# started once, so each program run under scripts/wine-run.sh costs ~0.1 s
# instead of ~2.5 s. Those helper processes get /dev/null as their output:
# started by a test instead, they would inherit ctest's pipes and ctest would
# wait for them until its timeout. The session is started in whatever display
# this script sees, so start it inside xvfb-run for programs that open windows.
# At the end every Wine process of the prefix is gone, also after a hang.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

arch=i686
if [ "${1:-}" = --arch ]; then
    arch=${2:-}
    shift 2
fi
[ $# -gt 0 ] || vok_die "usage: $0 [--arch i686|x86_64] COMMAND [ARGS...]"

vok_wine_env "$arch"
vok_wine_user_setup || exit 1
vok_wine_prefix || exit 1

xauth_copy=""
stop_session() {
    vok_wine_session_end
    [ -z "$xauth_copy" ] || rm -f "$xauth_copy"
}
trap stop_session EXIT

# xvfb-run keeps its cookie in a folder only root can read: give the Wine user
# a copy of its own.
if vok_is_root && [ -n "${XAUTHORITY:-}" ] && [ -r "$XAUTHORITY" ]; then
    xauth_copy=$(mktemp /tmp/vok-xauth.XXXXXX)
    cat "$XAUTHORITY" >"$xauth_copy"
    chown "$(vok_wine_user):" "$xauth_copy"
    export XAUTHORITY="$xauth_copy"
fi

# A server left from before may have started without this display: the
# session starts anew.
vok_wine_session_start
"$@"
