#!/usr/bin/env bash
# Runs every test of the project on Debian 12 or 13, installing what is missing:
#   1. the unit tests, built natively under AddressSanitizer and
#      UndefinedBehaviorSanitizer (preset native-asan), and the fuzz targets;
#   2. for each Windows build, the shipped i686 one (preset mingw-i686) and its
#      x86_64 twin (mingw-x86_64): the same unit tests cross-built and run
#      under Wine and the GUI end-to-end tests (the ctest tests labelled
#      "gui", one a scenario, one at a time, each within its time limit), as
#      the Wine user on an Xvfb display, in the Wine session that CTest starts
#      and ends (scripts/wine-run.sh --session). A build whose programs this
#      machine cannot run (i686 where no 32-bit program runs, or with
#      VOK_WINE_ARCHS=x86_64) runs only its tests that need no Wine, and the
#      summary says it was built, not run, and why;
#   3. the release built twice in two folders, whose bytes must agree
#      (scripts/check-reproducible.sh).
# No Wine process of the tests outlives them: one that did is a failure.
# The last line is "tests: N passed, M failed", totals over all ctest runs; a
# build or a ctest run that fails without a failed test to show for it counts
# as one failure. Exits non-zero on any failure.
# shellcheck disable=SC2317 # the step functions run through phase()
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOK_ROOT" || exit 1

# A hung test (a dialog nobody answers) must not eat the whole CI budget.
test_timeout=${VOK_TEST_TIMEOUT:-300}
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

passed=0
failed=0
problems=()
not_run=()
timings=()
log_dir="$VOK_ROOT/build/logs"

finish() {
    echo
    if [ "${#timings[@]}" -gt 0 ]; then
        echo "Wall times:"
        printf '    %s\n' "${timings[@]}"
    fi
    if [ "${#not_run[@]}" -gt 0 ]; then
        echo "Built, not run:"
        printf '    %s\n' "${not_run[@]}"
    fi
    if [ "${#problems[@]}" -gt 0 ]; then
        echo "Failures:"
        printf '    %s\n' "${problems[@]}"
    fi
    echo "tests: $passed passed, $failed failed"
    [ "$failed" -eq 0 ] && [ "${#problems[@]}" -eq 0 ]
    exit
}

# phase NAME COMMAND...: runs a step with a heading and records its wall time.
phase() {
    local name=$1 start=$SECONDS rc
    shift
    vok_heading "$name"
    "$@"
    rc=$?
    timings+=("$(printf '%-42s %4d s' "$name" $((SECONDS - start)))")
    return $rc
}

# run_ctest WHAT COMMAND...: runs a ctest command line with its output shown,
# and adds its counts to the totals.
run_ctest() {
    local what=$1 log rc counts run=0 bad=0
    shift
    mkdir -p "$log_dir"
    log="$log_dir/ctest-${what// /-}.log"
    "$@" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    # "100% tests passed, 0 tests failed out of 12"
    counts=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -n 1)
    if [ -n "$counts" ]; then
        read -r bad run <<<"$counts"
    fi
    passed=$((passed + run - bad))
    failed=$((failed + bad))
    if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then
        failed=$((failed + 1))
        problems+=("$what: ctest exited with $rc without a failed test (see above)")
    elif [ "$bad" -gt 0 ]; then
        problems+=("$what: $bad of $run tests failed")
    elif [ "$run" -eq 0 ]; then
        echo "warning: $what: no tests found"
    fi
    # The programs that hung (scripts/wine-run.sh), by name.
    mapfile -t -O "${#problems[@]}" problems < <(grep -o '^HANG: .* not over within [0-9]* s' "$log")
    return 0
}

build_failed() {
    failed=$((failed + 1))
    problems+=("build of preset $1 failed (see above)")
}

# In a subshell: its errors end it, not this script, which must still print
# the summary.
install_dependencies() { (vok_install_dependencies); }

vok_choose_wine_archs
phase "Install missing packages" install_dependencies || {
    failed=$((failed + 1))
    problems+=("package installation failed")
    finish
}

if phase "Build native-asan" vok_build_preset native-asan; then
    phase "Unit tests, ASan+UBSan" run_ctest "native-asan" \
        ctest --preset native-asan --parallel "$VOK_JOBS" --timeout "$test_timeout"
else
    build_failed native-asan
fi

# libFuzzer targets, a bounded run each (scripts/fuzz.sh; VOK_FUZZ_SECONDS).
if ! phase "Fuzzing" env VOK_FUZZ_BUILD="$VOK_ROOT/build/native-asan" \
    bash scripts/fuzz.sh "${VOK_FUZZ_SECONDS:-20}"; then
    failed=$((failed + 1))
    problems+=("fuzzing: a finding or a failed build (see above)")
fi

# What can go on in the background while the tests under Wine run, which
# mostly wait on the launcher's windows: the next Windows build, and after
# the last the launcher and its zip built twice, as differently as this
# machine allows, which must come out the same bytes.
background_start() {
    background_name=$1
    shift
    mkdir -p "$log_dir"
    "$@" >"$log_dir/$background_name.log" 2>&1 &
    background_pid=$!
}
background_end() {
    wait "$background_pid"
    local rc=$?
    cat "$log_dir/$background_name.log"
    return $rc
}

background_start build-mingw-i686 vok_build_preset mingw-i686
for arch in i686 x86_64; do
    preset=mingw-$arch
    phase "Build $preset" background_end
    built=$?
    if [ "$arch" = i686 ]; then
        background_start build-mingw-x86_64 vok_build_preset mingw-x86_64
    else
        background_start reproducible bash scripts/check-reproducible.sh
    fi
    if [ "$built" -ne 0 ]; then
        build_failed "$preset"
        continue
    fi
    vok_note "$preset: VokLauncher.exe $(stat -c %s "build/$preset/VokLauncher.exe") bytes"
    if vok_wine_runs "$arch"; then
        vok_give_wine_user "build/$preset/Testing"
        phase "Tests of $preset under Wine and Xvfb" run_ctest "$preset" \
            vok_on_display_as_wine_user ctest --preset "$preset" --parallel 2 --timeout "$test_timeout"
    else
        phase "Tests of $preset that need no Wine" run_ctest "$preset" \
            ctest --preset "$preset" --label-exclude '^wine$' --timeout "$test_timeout"
        count=$(ctest --preset "$preset" -N -L '^wine$' | sed -n 's/^Total Tests: *//p')
        not_run+=("$preset: its $count tests under Wine ($VOK_WINE_WHY)")
    fi
done

if ! phase "Reproducible release" background_end; then
    failed=$((failed + 1))
    problems+=("reproducible release: the two builds differ, or one failed (see above)")
fi

for arch in $VOK_WINE_ARCHS; do
    mapfile -t left < <(vok_wine_env "$arch" && vok_wine_pids)
    if [ "${#left[@]}" -gt 0 ]; then
        failed=$((failed + 1))
        problems+=("Wine processes of the $arch prefix outlived the tests: ${left[*]} (now ended)")
        (vok_wine_env "$arch" && vok_wine_session_kill)
    fi
done

finish
