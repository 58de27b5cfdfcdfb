#!/usr/bin/env bash
# Runs one Windows program under Wine, in the project's prefix of the
# program's architecture (i686 or x86_64, read from the program itself), as
# the Wine user (see scripts/common.sh), and passes its exit code on:
#   scripts/wine-run.sh [--limit SECONDS] PROGRAM.exe [ARGS...]
# It is the CMAKE_CROSSCOMPILING_EMULATOR of the Windows builds, so ctest runs
# every cross-built test through it. Works on its own (the prefix is created on
# first use); inside a session (scripts/wine-session.sh) each run is much faster.
#
# With --limit, a program still running after SECONDS has hung. A hung Wine
# server stops every Wine program with it, so no limit inside Wine can fire,
# and ctest, when its own TIMEOUT fires, only kills the test: this script
# then says so, ends the session of the prefix completely (every process of
# it, then the server), starts a fresh one for the tests after it, and fails.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

limit=""
if [ "${1:-}" = --limit ]; then
    limit=$2
    shift 2
fi
[ $# -gt 0 ] || vok_die "usage: $0 [--limit SECONDS] PROGRAM.exe [ARGS...]"

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
