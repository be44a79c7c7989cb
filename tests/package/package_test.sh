#!/usr/bin/env bash
# The release package as a Windows user gets it: packs the executables of this build, checks
# the zip, unpacks it, checks that both programs import only DLLs that every Windows has, and
# does one Round with the unpacked programs in a new Wine prefix that holds nothing else; then
# checks that the settings key is where the read-me says and that its reset command works. The
# zip's name, its read-me, the version resource and the About box must agree on the version.
#
#   package_test.sh --source DIR --build DIR --work DIR --utility EXE --standin EXE --driver EXE
set -euo pipefail

while [ $# -gt 0 ]; do
    case "$1" in
        --source) source="$2" ;;
        --build) build="$2" ;;
        --work) work="$2" ;;
        --utility) utility="$2" ;;
        --standin) standin="$2" ;;
        --driver) driver="$2" ;;
        *) echo "package_test: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
here="$(cd "$(dirname "$0")" && pwd)"
# The version the build was made with; the zip's name, its read-me, the executable's version
# resource and the About box must all say it.
version="$(cat "$build/version.txt")"
zip_name="tarvello-rounding-$version-win64.zip"

rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
prefix="$work/wineprefix"
cleanup() {
    "$source/scripts/wine-run" --prefix "$prefix" --shutdown || true
    rm -rf "$prefix" "$prefix.state"
}
trap cleanup EXIT

echo "== pack the executables of this build twice: the zips must be the same bytes"
for out in a b; do
    python3 "$source/scripts/package" --from-build "$build" --utility "$utility" \
        --standin "$standin" --out "$work/dist-$out" >/dev/null
done
if ! cmp "$work/dist-a/$zip_name" "$work/dist-b/$zip_name"; then
    echo "package_test: the same inputs gave different zips"
    exit 1
fi
python3 "$here/check_zip.py" "$work/dist-a/$zip_name" "$version"

echo "== unpack"
unpacked="$work/Tarvello Rounding"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$work/dist-a/$zip_name" "$unpacked"

echo "== import tables: only DLLs that come with Windows"
system_dlls="kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll oleaut32.dll comctl32.dll
shell32.dll shlwapi.dll comdlg32.dll msvcrt.dll version.dll psapi.dll uxtheme.dll imm32.dll
rpcrt4.dll ws2_32.dll winmm.dll ntdll.dll"
bad=0
for exe in "$unpacked/TarvelloRounding.exe" "$unpacked/standin/TarvelloStandin.exe"; do
    dlls="$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort)"
    [ -n "$dlls" ] || { echo "package_test: no import table in $exe"; exit 1; }
    echo "$(basename "$exe"):" $dlls
    for dll in $dlls; do
        if ! tr ' ' '\n' <<<"$system_dlls" | grep -qxF "$dll"; then
            echo "package_test: $(basename "$exe") needs $dll, which Windows does not have"
            bad=1
        fi
    done
done
[ "$bad" -eq 0 ] || exit 1

echo "== one Round from the unpacked folder, in a new Wine prefix"
windows_path() { echo "Z:${1//\//\\}"; }
"$source/scripts/wine-run" --prefix "$prefix" "$driver" \
    --utility "$(windows_path "$unpacked/TarvelloRounding.exe")" \
    --standin "$(windows_path "$unpacked/standin/TarvelloStandin.exe")" \
    --quote "$(windows_path "$unpacked/standin/sample-quote.csv")" \
    --dump "$(windows_path "$work/after-round.csv")" \
    --ready "$(windows_path "$work/standin-ready")" \
    --version "$version"
python3 "$here/check_dump.py" "$unpacked/standin/sample-quote.csv" "$work/after-round.csv"

echo "== the settings key is where README.txt says, and its reset command removes it"
settings_key='HKCU\Software\Tarvello Rounding Utility'
query="$("$source/scripts/wine-run" --prefix "$prefix" reg query "$settings_key\frmMain" | tr -d '\r')"
echo "$query"
for value in Left Top Height Width; do
    if ! grep -qE "^ +$value +REG_SZ +[-0-9]" <<<"$query"; then
        echo "package_test: no $value under $settings_key\frmMain after Close"
        exit 1
    fi
done
"$source/scripts/wine-run" --prefix "$prefix" reg delete "$settings_key" /f >/dev/null
if "$source/scripts/wine-run" --prefix "$prefix" reg query "$settings_key" >/dev/null 2>&1; then
    echo "package_test: $settings_key is still there after the read-me's reg delete"
    exit 1
fi
echo "package_test: passed"
