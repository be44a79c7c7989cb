#!/usr/bin/env bash
# How soon Round History is on the screen over journals of every size (bench/round-history/).
#
#   bench/round-history.sh [--build-dir DIR] [--runs N]
#
# Builds the Windows preset (Release) in DIR (default build/bench) and runs RoundHistoryBench
# under Wine in DIR/wineprefix, beside the stand-in: RUNS starts of the utility over each journal
# (default 9), then the program's reader over each journal on its own.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build/bench
runs=9
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build_dir="$2"; shift 2 ;;
        --runs) runs="$2"; shift 2 ;;
        *) echo "usage: bench/round-history.sh [--build-dir DIR] [--runs N]" >&2; exit 2 ;;
    esac
done

scripts/setup
cmake --preset windows -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target TarvelloRounding TarvelloStandin RoundHistoryBench -j 2 >/dev/null

# Everything the bench started ends with it, however it ends; the prefix stays for the next run.
finish() { scripts/wine-run --prefix "$build_dir/wineprefix" --shutdown || true; }
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
windows_path() { printf 'Z:%s' "$(realpath "$1")" | sed 's|/|\\|g'; }
scripts/wine-run --prefix "$build_dir/wineprefix" "$build_dir/bench/round-history/RoundHistoryBench.exe" \
    "$(windows_path "$build_dir/app/TarvelloRounding.exe")" "$runs"
