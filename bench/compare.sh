#!/bin/sh
# Compares the engine's speed with an earlier commit's on the fixed suite of
# `fourfall-analyze --bench`: builds that commit's analyzer beside this
# tree's, runs the two in turn ROUNDS times, and prints the medians of the
# level-10 suite and the ratio of counted moves per second, then the median
# level-10 search time of the slowest positions known. Running them in turn
# spreads any load on the machine over both.
#
#   bench/compare.sh <commit> [build dir of this tree] [rounds]
set -eu

if [ $# -lt 1 ]; then
    echo "usage: bench/compare.sh <commit> [build-dir] [rounds]" >&2
    exit 2
fi
commit=$1
build=${2:-build}
rounds=${3:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

sha=$(git rev-parse --verify --quiet "$commit^{commit}") || {
    echo "bench/compare.sh: '$commit' is not a commit" >&2
    exit 2
}
short=$(git rev-parse --short "$sha")
base="$root/build-compare/$short"

launcher=""
if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi

# The earlier commit's sources, exactly as committed, and its analyzer.
if [ ! -x "$base/build/tools/analyze/fourfall-analyze" ]; then
    rm -rf "$base"
    mkdir -p "$base/src"
    git archive "$sha" | tar -x -C "$base/src"
    cmake -S "$base/src" -B "$base/build" -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher >/dev/null
    cmake --build "$base/build" --target fourfall-analyze
fi
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher >/dev/null
fi
cmake --build "$build" --target fourfall-analyze

old="$base/build/tools/analyze/fourfall-analyze"
new="$build/tools/analyze/fourfall-analyze"
results=$(mktemp)
trap 'rm -f "$results"' EXIT

# One line per run: which build, seconds, million moves/s, slowest ms, moves.
level10() {
    "$1" --bench | sed -n 's/^level 10: .* \([0-9]*\) moves counted, \([0-9.]*\) s searching, \([0-9.]*\) million moves\/s, slowest search \([0-9.]*\) ms.*/\2 \3 \4 \1/p'
}
i=0
while [ "$i" -lt "$rounds" ]; do
    echo "old $(level10 "$old")" >>"$results"
    echo "new $(level10 "$new")" >>"$results"
    i=$((i + 1))
done

median() {  # build, field (2 seconds, 3 moves/s, 4 slowest ms)
    awk -v b="$1" '$1 == b {print $'"$2"'}' "$results" | sort -n |
        awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
moves_old=$(awk '$1 == "old" {print $5; exit}' "$results")
moves_new=$(awk '$1 == "new" {print $5; exit}' "$results")
echo "level 10 suite, median of $rounds alternating runs"
echo "  $short: $(median old 2) s, $(median old 3) million moves/s, slowest search $(median old 4) ms"
echo "  this tree: $(median new 2) s, $(median new 3) million moves/s, slowest search $(median new 4) ms"
if [ "$moves_old" != "$moves_new" ]; then
    echo "  the moves counted differ: $moves_old against $moves_new" >&2
fi
awk -v a="$(median old 3)" -v b="$(median new 3)" 'BEGIN {printf "  ratio of moves per second: %.2f\n", b / a}'

# The slowest level-10 searches found: milliseconds, median of the rounds.
for sequence in 43546 53446 612367165767; do
    : >"$results"
    i=0
    while [ "$i" -lt "$rounds" ]; do
        echo "old $(echo "$sequence" | "$old" --level 10 | awk '{print $5 / 1000}')" >>"$results"
        echo "new $(echo "$sequence" | "$new" --level 10 | awk '{print $5 / 1000}')" >>"$results"
        i=$((i + 1))
    done
    echo "  $sequence at level 10: $short $(median old 2) ms, this tree $(median new 2) ms"
done
