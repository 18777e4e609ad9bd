#!/bin/sh
# Builds the benchmarks in a Release folder of their own and runs each program
# with repetitions in random interleaving, so that a benchmark and its
# yardstick share the machine's ups and downs; then prints the medians and the
# ratios the speed targets are stated in.
#   scripts/bench.sh [build-folder] [repetitions] [program...]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
reps=${2:-9}
shift 2 2>/dev/null || shift $#
programs=${*:-bench_store bench_export bench_gui_entry_window bench_gui_startup bench_gui_report bench_delete bench_import bench_overview bench_gui_overview}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPUNCHBOOK_BUILD_BENCH=ON \
      -DPUNCHBOOK_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $programs
for program in $programs; do
    "$build/$program" --benchmark_repetitions="$reps" \
        --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$build/$program.json" --benchmark_out_format=json
done
python3 "$root/scripts/bench_ratios.py" "$build"
