#!/bin/sh
# Compares two per-file coverage reports of tools/coverage.sh (both line or
# both branch reports): prints every file whose figure fell by more than
# ALLOWANCE percentage points (default 1), every file with covered lines the
# later report lost, and the totals. Exits non-zero when a file fell beyond
# the allowance or the total fell at all.
#
#   tools/coverage-compare.sh BEFORE.txt AFTER.txt [ALLOWANCE]
set -eu
[ $# -ge 2 ] || { echo "usage: $0 BEFORE.txt AFTER.txt [ALLOWANCE]" >&2; exit 2; }
awk -v allowance="${3:-1}" '
    # Report lines: "path  total  covered  percent  missing..."
    $2 ~ /^[0-9]+$/ && $3 ~ /^[0-9]+$/ {
        if (FNR == NR) { beforeTotal[$1] = $2; beforeCovered[$1] = $3 }
        else { afterTotal[$1] = $2; afterCovered[$1] = $3 }
    }
    function percent(covered, total) { return total ? 100 * covered / total : 100 }
    END {
        status = 0
        for (file in beforeTotal) {
            if (file == "TOTAL")
                continue
            if (!(file in afterTotal)) {
                # Not built for the later report, and covered by nothing before.
                if (beforeCovered[file] == 0)
                    continue
                printf "%-44s missing from the later report\n", file
                status = 1
                continue
            }
            before = percent(beforeCovered[file], beforeTotal[file])
            after = percent(afterCovered[file], afterTotal[file])
            if (before - after > allowance) {
                printf "%-44s %6.2f%% -> %6.2f%%\n", file, before, after
                status = 1
            }
        }
        before = percent(beforeCovered["TOTAL"], beforeTotal["TOTAL"])
        after = percent(afterCovered["TOTAL"], afterTotal["TOTAL"])
        printf "%-44s %6.2f%% -> %6.2f%% (%d/%d -> %d/%d)\n", "total", before, after,
               beforeCovered["TOTAL"], beforeTotal["TOTAL"], afterCovered["TOTAL"], afterTotal["TOTAL"]
        if (after < before)
            status = 1
        exit status
    }' "$1" "$2"
