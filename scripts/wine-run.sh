#!/usr/bin/env bash
# Runs one Windows program under Wine, in the project's prefix of its
# architecture (read from the program), as the Wine user (scripts/common.sh),
# and passes its exit code on; or starts or ends the Wine session of a prefix:
#   scripts/wine-run.sh [--limit SECONDS] PROGRAM.exe [ARGS...]
#   scripts/wine-run.sh --session start|end i686|x86_64
# CTest runs every cross-built program through it and, as a fixture, starts
# and ends the session: a persistent wineserver with Wine's desktop booted
# once (inside xvfb-run for windows), so that each run costs ~0.1 s, not ~2.5.
#
# With --limit, a program still running after SECONDS has hung. A hung Wine
# server stops every Wine program with it, so no limit inside Wine can fire,
# and ctest, when its own TIMEOUT fires, only kills the test: this script
# then says so, ends every process of the prefix, starts a fresh session for
# the tests after it, and fails.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

usage="usage: $0 [--limit SECONDS] PROGRAM.exe [ARGS...] | --session start|end i686|x86_64"
limit=""
case ${1:-} in
    --limit) limit=${2:-} && shift 2 ;;
    --session)
        [ $# -eq 3 ] || vok_die "$usage"
        vok_wine_env "$3"
        case $2 in
            start) vok_wine_user_setup && vok_wine_prefix && vok_wine_session_start ;;
            end) vok_wine_session_end ;;
            *) vok_die "$usage" ;;
        esac
        exit
        ;;
esac
[ $# -gt 0 ] || vok_die "$usage"

arch=$(vok_pe_arch "$1") || vok_die "$1 is no Windows program for i686 or x86_64"
vok_wine_env "$arch"
vok_wine_user_setup >&2 || exit 1
vok_wine_prefix >&2 || exit 1
if [ -z "$limit" ]; then
    vok_as_wine_user "$WINELOADER" "$@"
    exit
fi
vok_as_wine_user timeout -k 5 "$limit" "$WINELOADER" "$@"
status=$?
[ "$status" -eq 124 ] || exit "$status"
echo "HANG: $(basename "$1") ${*:2} not over within $limit s: the Wine session is ended and started afresh"
vok_wine_session_kill
vok_wine_session_start
exit 1
