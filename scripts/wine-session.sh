#!/usr/bin/env bash
# Starts or ends the Wine session of one architecture's prefix:
#   scripts/wine-session.sh start|end i686|x86_64
# CTest's fixture around every test under Wine (CMakeLists.txt), and what
# run.sh and bench-startup.sh wrap around the programs they run.
#
# The session is a persistent wineserver with Wine's desktop and services
# booted once, so each program run under scripts/wine-run.sh then costs
# ~0.1 s instead of ~2.5 s. It belongs to the display this script sees: start
# it inside xvfb-run for programs that open windows. Ending it ends every Wine
# process of the prefix, also after a hang.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -eq 2 ] || vok_die "usage: $0 start|end i686|x86_64"
vok_wine_env "$2"
case $1 in
    start) vok_wine_user_setup && vok_wine_prefix && vok_wine_session_start ;;
    end) vok_wine_session_end ;;
    *) vok_die "usage: $0 start|end i686|x86_64" ;;
esac
