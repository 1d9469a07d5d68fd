#!/bin/sh
# Checks that this tree's engine plays exactly as an earlier commit's: the
# same column, score and moves counted (and so the same position left
# behind) for seeded random positions at every level from 1 to 10, as
# printed by fourfall-analyze with the same seed for the random first moves.
# Uses the earlier commit's build made by bench/compare.sh, or makes it.
#
#   bench/differential.sh <commit> [positions] [build dir of this tree]
set -eu

if [ $# -lt 1 ]; then
    echo "usage: bench/differential.sh <commit> [positions] [build-dir]" >&2
    exit 2
fi
commit=$1
count=${2:-10000}
build=${3:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
short=$(git rev-parse --short "$commit^{commit}")
old="$root/build-compare/$short/build/tools/analyze/fourfall-analyze"
new="$build/tools/analyze/fourfall-analyze"
if [ ! -x "$old" ]; then bench/compare.sh "$commit" "$build" 1 >/dev/null; fi
cmake --build "$build" --target fourfall-analyze >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/positions.py "$count" 11 >"$work/positions"

# Everything but the last field, the microseconds.
fields() { awk '{NF--; print}'; }
status=0
for level in 1 2 3 4 5 6 7 8 9 10; do
    "$old" --level "$level" --seed 5 <"$work/positions" | fields >"$work/old"
    "$new" --level "$level" --seed 5 <"$work/positions" | fields >"$work/new"
    lines=$(wc -l <"$work/new")
    if cmp -s "$work/old" "$work/new" && [ "$lines" -eq "$count" ]; then
        echo "level $level: $lines positions identical"
    else
        echo "level $level: the engines differ" >&2
        diff "$work/old" "$work/new" | head -5 >&2
        status=1
    fi
done
exit $status
