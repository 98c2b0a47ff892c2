#!/bin/sh
# Prints where the resident memory of a running lifeboat goes, from
# /proc/PID/smaps: back buffer, framebuffer mapping, libstdc++, font files
# and other libraries (each file listed), heap and other anonymous memory,
# and the rest (the program itself, locale files, stacks...), against VmRSS.
# Needs only sh, awk and grep, so it runs on the board's busybox as well.
#
#   tools/memory-breakdown.sh [-m] [-s WIDTHxHEIGHT] PID [FRAMEBUFFER]
#
# FRAMEBUFFER is the device or file the program maps as its screen; /dev/fb*
# and /dev/dri/* mappings count as framebuffer in any case. Back buffers are
# the anonymous mappings of one 32-bit screen (-s, 800x480 by default) plus
# at most the allocator's few pages; thread stacks are far larger.
# With -m every figure is one "rss-GROUP-kb VALUE" line for other tools.
set -eu

usage="usage: $0 [-m] [-s WIDTHxHEIGHT] PID [FRAMEBUFFER]"
machine=0
screen=800x480
while getopts ms: option; do
    case $option in
    m) machine=1 ;;
    s) screen=$OPTARG ;;
    *) echo "$usage" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "$usage" >&2
    exit 2
fi
pid=$1
framebuffer=${2:-}
if [ ! -r "/proc/$pid/smaps" ]; then
    echo "$0: no readable /proc/$pid/smaps" >&2
    exit 1
fi

vmrss=$(grep '^VmRSS:' "/proc/$pid/status" | awk '{ print $2 }')

awk -v framebuffer="$framebuffer" -v machine="$machine" -v vmrss="$vmrss" -v screen="$screen" '
function classify(    name) {
    if (path == "")
        return "anonymous"
    if (path == framebuffer || path ~ /^\/dev\/(fb[0-9]|dri\/)/)
        return "framebuffer"
    if (path ~ /\/libstdc\+\+\.so/)
        return "libstdc++"
    if (path ~ /\.(ttf|otf|pfa|pfb|bdf|fnt)$/)
        return "fonts"
    if (path ~ /\.so(\.[0-9.]+)?$/)
        return "libraries"
    if (path == "[heap]")
        return "anonymous"
    return "rest"
}
# A mapping header: "start-end perms offset device inode [path]"; the path
# may hold spaces.
/^[0-9a-f]+-[0-9a-f]+ / {
    path = ""
    for (i = 6; i <= NF; ++i)
        path = path (i > 6 ? " " : "") $i
    n = ++mappings
    group[n] = classify()
    where[n] = path
    next
}
/^Size:/ { size[mappings] = $2 }
/^Rss:/ { rss[mappings] = $2 }
END {
    split(screen, dimension, "x")
    screenKb = dimension[1] * dimension[2] * 4 / 1024
    for (n = 1; n <= mappings; ++n) {
        g = group[n]
        if (g == "anonymous" && size[n] >= screenKb && size[n] <= screenKb + 64)
            g = "back-buffer"
        kb[g] += rss[n]
        total += rss[n]
        if (g == "fonts" || g == "libraries") {
            file = where[n]
            sub(/.*\//, "", file)
            if (!((g, file) in each))
                files[g] = files[g] " " file
            each[g, file] += rss[n]
        }
    }
    split("back-buffer framebuffer libstdc++ fonts libraries anonymous rest", order, " ")
    label["back-buffer"] = "back buffer"
    label["framebuffer"] = "framebuffer mapping"
    label["libstdc++"] = "libstdc++"
    label["fonts"] = "font files"
    label["libraries"] = "other libraries"
    label["anonymous"] = "heap and anonymous"
    label["rest"] = "program and rest"
    for (i = 1; i <= 7; ++i) {
        g = order[i]
        if (machine)
            printf "rss-%s-kb %d\n", g, kb[g]
        else
            printf "%-22s %6d kB\n", label[g], kb[g]
        # Each font file and library once, in the order first mapped.
        split(files[g], names, " ")
        for (k = 1; k in names; ++k) {
            file = names[k]
            if (machine)
                printf "rss-%s-%s-kb %d\n", g == "fonts" ? "font" : "library", file, each[g, file]
            else
                printf "  %-20s %6d kB\n", file, each[g, file]
        }
    }
    if (machine) {
        printf "rss-total-kb %d\n", total
        printf "vmrss-kb %d\n", vmrss
    } else {
        printf "%-22s %6d kB\n", "total", total
        printf "%-22s %6d kB\n", "VmRSS", vmrss
    }
}' "/proc/$pid/smaps"
