#!/usr/bin/env bash
# Runs the GUI test driver under Wine and watches it from outside Wine: ctest's
# command for each GUI test run (tests/gui/CMakeLists.txt).
#   scripts/gui-run.sh path/to/vok_gui_tests.exe [FILTER]
#
# The driver is a Wine program: when the Wine server hangs, so does the driver,
# and no time limit inside Wine can fire. So the driver announces each scenario
# as it starts, with the scenario's time limit ("---- NAME (limit N s)"), and
# this script holds it to that limit, to a limit for what comes before the
# first and after the last scenario, and to one for the whole run
# (VOK_GUI_RUN_LIMIT, seconds, below ctest's TIMEOUT of the test). When one of
# them passes, the run has hung: the script says which scenario, ends the Wine
# session completely (every process of the prefix, then the server) and starts
# a fresh one for the next run. Exits with the
# driver's code, or 1 after a hang.
set -uo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -gt 0 ] || vok_die "usage: $0 DRIVER.exe [FILTER]"

vok_wine_env "$(vok_pe_arch "$1")"
run_limit=${VOK_GUI_RUN_LIMIT:-240}
between_limit=60 # the driver's start, and its end after the last scenario

exec {driver_out}< <(exec bash "$VOK_ROOT/scripts/wine-run.sh" "$@" 2>&1)
driver=$!

run_end=$((SECONDS + run_limit))
scenario=""
limit=$between_limit
deadline=$((SECONDS + limit))
hung=""
while :; do
    end=$((deadline < run_end ? deadline : run_end))
    if [ "$end" -le "$SECONDS" ]; then
        if [ "$end" -lt "$deadline" ]; then
            hung="the run, at ${scenario:-no scenario} (not over within $run_limit s)"
        else
            hung="${scenario:-the driver, between scenarios} (not over within $limit s)"
        fi
        break
    fi
    IFS= read -r -t "$((end - SECONDS))" -u "$driver_out" line
    status=$?
    [ "$status" -gt 128 ] && continue # the time is up; the loop's top says which
    line=${line%$'\r'}
    [ "$status" -eq 0 ] || [ -n "$line" ] && printf '%s\n' "$line"
    [ "$status" -eq 0 ] || break # the driver's output ended: it has exited
    if [[ $line =~ ^----\ (.*)\ \(limit\ ([0-9]+)\ s\)$ ]]; then
        scenario=${BASH_REMATCH[1]}
        limit=${BASH_REMATCH[2]}
    elif [[ $line =~ ^(ok|FAIL)\  ]]; then
        scenario=""
        limit=$between_limit
    else
        continue
    fi
    deadline=$((SECONDS + limit))
done

if [ -z "$hung" ]; then
    wait "$driver"
    exit
fi
echo "HANG: $hung: the Wine session is ended"
vok_wine_session_kill
wait "$driver" 2>/dev/null
echo "HANG: a fresh Wine session is started for the next run"
vok_wine_session_start
exit 1
