#!/usr/bin/env bash
# Start-up time, size on disk and private memory of the utility, next to a bare Win32
# program that opens one empty window of the same size.
#
#   bench/startup.sh [--build-dir DIR] [--runs N]
#
# Builds the Windows preset (Release) in DIR (default build/bench), strips the programs as the
# release package does, and times RUNS starts of each (default 15), interleaved, under Wine in
# DIR/wineprefix. Prints sizes, medians and the ratios to the bare window. A third program,
# bare_window_libs, is the bare window after the libraries the utility sets up before its
# window (COM, version 6 common controls): it shows what those cost on their own. A fourth,
# bare_window_controls, adds the main window's twenty controls, made by the utility's own
# code from its own table: what any window with this layout costs, without the program.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build/bench
runs=15
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build_dir="$2"; shift 2 ;;
        --runs) runs="$2"; shift 2 ;;
        *) echo "usage: bench/startup.sh [--build-dir DIR] [--runs N]" >&2; exit 2 ;;
    esac
done

scripts/setup
cmake --preset windows -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target TarvelloRounding bare_window bare_window_libs bare_window_controls startup_probe -j 2 >/dev/null

find_exe() {
    local hit
    hit="$(find "$build_dir" -name "$1" -not -path '*/wineprefix*' -print -quit)"
    [ -n "$hit" ] || { echo "startup: $1 not found in $build_dir" >&2; exit 1; }
    echo "$hit"
}

stage="$(mktemp -d "$build_dir/startup-stage.XXXXXX")"
# Everything the bench started ends with it, however it ends: the prefix's Wine server and
# services and its private Xvfb; the prefix itself stays for the next run.
finish() {
    scripts/wine-run --prefix "$build_dir/wineprefix" --shutdown || true
    rm -rf "$stage"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
x86_64-w64-mingw32-strip -o "$stage/TarvelloRounding.exe" "$(find_exe TarvelloRounding.exe)"
x86_64-w64-mingw32-strip -o "$stage/bare_window.exe" "$(find_exe bare_window.exe)"
x86_64-w64-mingw32-strip -o "$stage/bare_window_libs.exe" "$(find_exe bare_window_libs.exe)"
x86_64-w64-mingw32-strip -o "$stage/bare_window_controls.exe" "$(find_exe bare_window_controls.exe)"

windows_path() { echo "Z:${1//\//\\}"; }
abs_stage="$(cd "$stage" && pwd)"

echo "== size on disk, stripped (goal for the utility: under 1 MB = 1048576 bytes)"
for exe in bare_window.exe bare_window_libs.exe bare_window_controls.exe TarvelloRounding.exe; do
    printf '%-26s %10d bytes\n' "$exe" "$(stat -c %s "$stage/$exe")"
done
echo
echo "== start-up until the main window is visible and answers ($runs runs each, under Wine)"
# Wine's background services, started by the probe, inherit its output and outlive it: the
# report goes through files so that a pipe reading this script's output sees its end.
report="$stage/report.txt"
scripts/wine-run --prefix "$build_dir/wineprefix" "$(find_exe startup_probe.exe)" "$runs" \
    "$(windows_path "$abs_stage/bare_window.exe")" \
    "$(windows_path "$abs_stage/bare_window_libs.exe")" \
    "$(windows_path "$abs_stage/bare_window_controls.exe")" \
    "$(windows_path "$abs_stage/TarvelloRounding.exe")" >"$report" 2>"$stage/errors.txt" || status=$?
cat "$report"
if [ -n "${status:-}" ]; then
    cat "$stage/errors.txt" >&2
    exit "$status"
fi
