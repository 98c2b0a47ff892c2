#!/bin/sh
# Fails when a program needs Cairo or a library that comes with it (pixman,
# fontconfig, the X libraries), which a program of the toolkit only needs
# when it draws with Cairo itself.
#   sh needed-libraries-test.sh READELF PROGRAM...
set -eu
readelf=$1
shift
status=0
for program in "$@"; do
    needed=$("$readelf" -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    if [ -z "$needed" ]; then
        echo "$program: no NEEDED entries read" >&2
        status=1
    fi
    unwanted=$(echo "$needed" | grep -E '^lib(cairo|cairomm|pixman|fontconfig|X|xcb)' || true)
    if [ -n "$unwanted" ]; then
        echo "$program needs:" $unwanted >&2
        status=1
    fi
done
exit $status
