#!/bin/sh
# Runs lifeboat-sim on a scenario that must fail, and checks that it ends with
# status 1 and the failure line the scenario names. The scenario's lines
#   # device: OPTIONS      the simulator's options, shell words
#   # fails: LINE: WHY     the failing line's number and the reason given
# say how it is run and what it must print: "fail SCENARIO:LINE: WHY".
# Usage: expect-failure.sh LIFEBOAT_SIM STATE_DIR SCENARIO
set -u
simulator=$1
state=$2
scenario=$3

options=$(sed -n 's/^# device: //p' "$scenario")
expected=$(sed -n 's/^# fails: //p' "$scenario")
[ -n "$expected" ] || { echo "$scenario: no \"# fails:\" line"; exit 1; }

output=$(eval "\"\$simulator\" --headless --reset --state \"\$state\" \"\$scenario\" $options")
status=$?
echo "$output"
[ $status -eq 1 ] || { echo "FAILED: status $status, expected 1"; exit 1; }
printf '%s\n' "$output" | grep -qxF "fail $scenario:$expected" ||
    { echo "FAILED: no line \"fail $scenario:$expected\""; exit 1; }
