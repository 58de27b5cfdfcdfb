#!/usr/bin/env bash
# Runs one Windows program under Wine, in the project's prefix of the
# program's architecture (i686 or x86_64, read from the program itself), as
# the Wine user (see scripts/common.sh), and passes its exit code on:
#   scripts/wine-run.sh build/mingw-i686/tests/unit/vok_unit_tests.exe --gtest_brief=1
# It is the CMAKE_CROSSCOMPILING_EMULATOR of the Windows builds, so ctest runs
# every cross-built test through it. Works on its own (the prefix is created on
# first use); inside a session (scripts/wine-session.sh) each run is much faster.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -gt 0 ] || vok_die "usage: $0 PROGRAM.exe [ARGS...]"

arch=$(vok_pe_arch "$1") || vok_die "$1 is no Windows program for i686 or x86_64"
vok_wine_env "$arch"
vok_wine_user_setup >&2 || exit 1
vok_wine_prefix >&2 || exit 1
vok_as_wine_user "$WINELOADER" "$@"
