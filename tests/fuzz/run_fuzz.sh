#!/bin/sh
# Runs each libFuzzer binary for a bounded time over a working copy of its
# committed corpus. New inputs and any crash go into the build directory; the
# committed corpus changes only by hand, with a minimised input worth keeping.
#
# usage: run_fuzz.sh <fuzz build dir> <seconds per target> [target...]
set -eu

build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")" && pwd)
targets=${*:-"bmp_decode_fuzz bitmap_load_fuzz analyze_parse_fuzz"}

corpus_of() {
    case $1 in
        bitmap_load_fuzz) echo bmp_decode_fuzz ;;
        *) echo "$1" ;;
    esac
}

# The decoder harnesses take inputs up to 256 KB, big enough to build files
# that declare pictures at the decoder's pixel budget; libFuzzer's default
# would stay near the largest seed.
max_len_of() {
    case $1 in
        bmp_decode_fuzz | bitmap_load_fuzz) echo -max_len=262144 ;;
        *) echo -max_len=65536 ;;
    esac
}

status=0
for target in $targets; do
    binary=$build/tests/$target
    [ -x "$binary" ] || { echo "$target: not built, skipped"; continue; }
    work=$build/fuzz/$target
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$source_dir/corpus/$(corpus_of "$target")"/* "$work/corpus/"
    echo "== $target: $seconds s"
    # A file that declares a huge picture must be refused without the
    # memory for it: no allocation above 64 MB (libFuzzer's limit also
    # catches an allocation of exactly its size, and a picture at the budget
    # is exactly 64 MB), no process above 256 MB. Leaks fail the run too.
    # A picture at the budget takes seconds under the sanitizers, hence the
    # generous timeout; a hang still ends the run.
    # The sanitizer's quarantine of freed blocks is kept small so that the
    # limit measures the code under test, not the blocks it has let go.
    if QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=32 \
        LSAN_OPTIONS=suppressions=$source_dir/../lsan.supp:print_suppressions=0 "$binary" \
        -max_total_time="$seconds" -timeout=30 -rss_limit_mb=256 -malloc_limit_mb=65 $(max_len_of "$target") \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" \
        >"$work/log" 2>&1; then
        result=ok
    else
        result="FAILED (see $work/log and $work/artifacts/)"
        status=1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$work/log" || true
    echo "   corpus $(ls "$work/corpus" | wc -l) files; $result"
done
exit $status
