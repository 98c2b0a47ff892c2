#!/bin/sh
# Usage: layer-order-test.sh SOURCE_DIR
# The toolkit's folders are layers that point one way: a file of src/LAYER
# includes only its own layer and the ones below it, in the order that
# docs/architecture.md gives on its "Layers, lowest first:" line. Prints every
# include that points up and fails if there is one.
set -u
cd "$1" || exit 2
order=$(sed -n 's/^Layers, lowest first: *//p' docs/architecture.md | tr -d '`,.')
[ -n "$order" ] || { echo "FAIL: docs/architecture.md names no layers" >&2; exit 1; }

rank() {
    position=0
    for layer in $order; do
        position=$((position + 1))
        [ "$layer" = "$1" ] && { echo $position; return; }
    done
    echo 0
}

status=0
for layer in $(ls src); do
    [ -d "src/$layer" ] || continue
    own=$(rank "$layer")
    [ "$own" -gt 0 ] || { echo "FAIL: src/$layer is in no layer" >&2; status=1; continue; }
    for target in $order; do
        [ "$(rank "$target")" -gt "$own" ] || continue
        if grep -rn --include='*.h' --include='*.cpp' "^#include \"$target/" "src/$layer"; then
            echo "FAIL: the includes above point from $layer up to $target" >&2
            status=1
        fi
    done
done
exit $status
