#!/usr/bin/env bash
# The MSI as an administrator deploys it: packs it twice (the same bytes) and once as a newer
# version, checks what it declares, then in a new Wine prefix installs it silently, starts the
# utility from the Start menu's shortcut and does one Round, installs the newer build over it,
# tries the older one again, which must refuse, and removes it. After each step it checks what
# Apps & features lists, and that the user's settings key, price rules and journal are as
# they were.
#
#   msi_test.sh --source DIR --build DIR --work DIR --utility EXE --standin EXE --driver EXE
#               --installer EXE
set -euo pipefail

while [ $# -gt 0 ]; do
    case "$1" in
        --source) source="$2" ;;
        --build) build="$2" ;;
        --work) work="$2" ;;
        --utility) utility="$2" ;;
        --standin) standin="$2" ;;
        --driver) driver="$2" ;;
        --installer) installer="$2" ;;
        *) echo "msi_test: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
version="$(cat "$build/version.txt")"
# A newer build for the upgrade: the same executables, a higher version in the MSI only.
newer="${version%.*}.$((${version##*.} + 1))"
title="Tarvello Rounding Utility"
maker="Brellwick Technologies, Inc."

rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
prefix="$work/wineprefix"
cleanup() {
    "$source/scripts/wine-run" --prefix "$prefix" --shutdown || true
    rm -rf "$prefix" "$prefix.state"
}
trap cleanup EXIT
fail() { echo "msi_test: $*"; exit 1; }
wine() { "$source/scripts/wine-run" --prefix "$prefix" "$@"; }
windows_path() { echo "Z:${1//\//\\}"; }

echo "== pack twice, and once as version $newer: the same inputs give the same MSI"
pack() {
    python3 "$source/scripts/package" --from-build "$build" --utility "$utility" \
        --standin "$standin" --out "$work/$1" "${@:2}" >/dev/null
}
pack dist-a
pack dist-b
pack dist-new --msi-version "$newer"
msi="$work/dist-a/tarvello-rounding-$version-win64.msi"
newer_msi="$work/dist-new/tarvello-rounding-$newer-win64.msi"
cmp "$msi" "$work/dist-b/$(basename "$msi")" || fail "the same inputs gave different MSIs"
(cd "$work/dist-a" && sha256sum --check --quiet "$(basename "$msi").sha256") ||
    fail "the MSI's checksum file does not match it"

echo "== it holds the zip's utility, byte for byte"
msiextract -C "$work/extracted" "$msi" >/dev/null
unzip -p "$work/dist-a/tarvello-rounding-$version-win64.zip" TarvelloRounding.exe |
    cmp - "$(find "$work/extracted" -name TarvelloRounding.exe)" || fail "the MSI's utility is another"

echo "== what it declares: the release's time stamp, no elevation, per user, its version"
summary="$(TZ=UTC msiinfo suminfo "$msi")"
properties="$(msiinfo export "$msi" Property | tr -d '\r')"
for line in "Created: Thu Jan  1 00:00:00 2026" "Last saved: Thu Jan  1 00:00:00 2026" \
    "Source: 10 (a)"; do
    grep -qxF "$line" <<<"$summary" || fail "the summary does not say \"$line\":
$summary"
done
grep -qxP "ProductVersion\t$version" <<<"$properties" || fail "ProductVersion is not $version"
! grep -qP "^ALLUSERS\t" <<<"$properties" || fail "ALLUSERS is set: it would install per machine"

# The product as Apps & features lists it: code|name|version|maker|icon file, one line a
# product; its code in $product.
expect_products() {
    local listed
    listed="$(wine "$installer" products | tr -d '\r')"
    echo "$listed"
    if [ -z "$1" ]; then
        [ -z "$listed" ] || fail "products are still listed"
    elif ! [[ "$listed" =~ ^(\{[-0-9A-F]{36}\})"|$title|$1|$maker|"[A-Z]:\\[^$'\n']+$ ]]; then
        fail "Apps & features does not list $title $1 alone, by $maker, with its icon"
    fi
    product="${BASH_REMATCH[1]:-}"
}
user_folder() { wine winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" | tr -d '\r'; }
# The user's files as they stand, to compare after each step with how the user left them.
user_files() {
    wine reg export "HKCU\\Software\\$title" "$(windows_path "$work/settings.reg")" /y >/dev/null
    sha256sum "$work/settings.reg" "$journal" "$rules" | cut -d' ' -f1
}

echo "== install silently into a new prefix"
wine "$installer" msiexec 0 -- /i "$(windows_path "$msi")" /qn
expect_products "$version"
target="$(wine "$installer" shortcut | tr -d '\r')"
echo "shortcut leads to $target"

echo "== start it from the shortcut's target: a Round, its version, its icon"
wine "$driver" --utility "$target" \
    --standin "$(windows_path "$standin")" \
    --quote "$(windows_path "$source/standin/samples/sample-quote.csv")" \
    --dump "$(windows_path "$work/after-round.csv")" \
    --ready "$(windows_path "$work/standin-ready")" \
    --version "$version"
install_folder="$(user_folder LOCALAPPDATA)/Programs/$title"
journal="$(user_folder LOCALAPPDATA)/$title/journal-3.txt"
rules="$(user_folder APPDATA)/$title/price-rules.txt"
[ -s "$journal" ] || fail "the Round left no journal at $journal"
mkdir -p "$(dirname "$rules")"
printf 'tarvello-price-rules\t1\nband\t1\t0\t0.05\tempty\tNearest\n' >"$rules"
before="$(user_files)"

echo "== a newer build over it: one product afterwards"
wine "$installer" msiexec 0 -- /i "$(windows_path "$newer_msi")" /qn
expect_products "$newer"
wine "$installer" shortcut >/dev/null
[ "$(user_files)" = "$before" ] || fail "the upgrade changed the user's files"

echo "== the older one over the newer: refused, and says so"
wine "$installer" msiexec 1603 --says "A newer version of $title is already installed" \
    -- /i "$(windows_path "$msi")" /qb
expect_products "$newer"

echo "== remove it silently, as Apps & features does: its files and shortcut go, the user's stay"
wine "$installer" msiexec 0 -- /x "$product" /qn
expect_products ""
wine "$installer" shortcut --absent
[ ! -e "$install_folder" ] || fail "$install_folder is still there"
[ "$(user_files)" = "$before" ] || fail "uninstalling changed the user's files"
echo "msi_test: passed"
