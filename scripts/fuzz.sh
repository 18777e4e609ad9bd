#!/bin/sh
# Builds the fuzz targets of the readers with clang and libFuzzer (address and
# undefined-behaviour sanitizers) in build-fuzz/ and runs each in turn.
#
#   sh scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); targets: Journal FolderLock EmployeeFiles
# YearFile FolderCheck ShiftJis (default all). New inputs collect in
# build-fuzz/corpus/<target>/, crashes in build-fuzz/findings/<target>/: once
# one is understood, copy it into tests/fuzz/corpus/<target>/, where the
# core.Fuzz.<target>Replay test keeps replaying it. Exit 1 when anything was found.
set -e
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-Journal FolderLock EmployeeFiles YearFile FolderCheck ShiftJis}

launcher=
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DPUNCHBOOK_BUILD_FUZZ=ON -DPUNCHBOOK_BUILD_GUI=OFF $launcher >/dev/null
for t in $targets; do
    cmake --build build-fuzz -j2 --target "fuzz_$t"
done

# Every run writes its folder afresh: on a memory file system, where one is, many times as often.
if [ -z "$TMPDIR" ] && [ -d /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

found=
for t in $targets; do
    mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
    echo "== $t: $seconds s"
    build-fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$t/" "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" ||
        found="$found $t"
done
if [ -n "$found" ]; then
    echo "found something in:$found (see build-fuzz/findings/)"
    exit 1
fi
