#!/bin/sh
# Makes the release zip into a scratch folder with the package target's own script, then checks
# what a player gets: exactly the three files (four with the web build's page), the plugin as
# built, a defaults Vantor.ini of 29 CR LF lines, a note that carries the version, and the page
# as built.
# Usage: release_package.sh <version> <asi> <folder> <cmake> <cmake -D arguments...>
set -eu
version=$1 asi=$2 folder=$3 cmake=$4
shift 4
rm -rf "$folder"
mkdir -p "$folder"
zip="$folder/Vantor-$version.zip"
"$cmake" "$@" -DWORK_DIR="$folder/work" -DOUTPUT="$zip" -P "$(dirname "$0")/../cmake/MakeRelease.cmake"

status=0
fail() { echo "release package: $*"; status=1; }
page=""
for argument in "$@"; do
  case $argument in -DPAGE=*) page=${argument#-DPAGE=} ;; esac
done
expected="INSTALL.txt Vantor.asi Vantor.ini "
[ -z "$page" ] || expected="INSTALL.txt Vantor.asi Vantor.html Vantor.ini "
names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$names" = "$expected" ] || fail "holds '$names', not '$expected'"
unzip -q -d "$folder/unpacked" "$zip"
[ -z "$page" ] || cmp -s "$folder/unpacked/Vantor.html" "$page" || fail "Vantor.html is not the page as built"
cmp -s "$folder/unpacked/Vantor.asi" "$asi" || fail "Vantor.asi is not the plugin as built"
ini="$folder/unpacked/Vantor.ini"
[ "$(wc -l < "$ini")" -eq 29 ] || fail "Vantor.ini has $(wc -l < "$ini") lines, not 29"
[ "$(tr -cd '\r' < "$ini" | wc -c)" -eq 29 ] || fail "Vantor.ini does not end each line with CR LF"
head -n 2 "$ini" | tr -d '\r' | grep -qx 'FOV=80' || fail "Vantor.ini does not hold the default FOV"
head -n 1 "$folder/unpacked/INSTALL.txt" | grep -q "Vantor $version " || fail "INSTALL.txt does not name version $version"
grep -q 'beside ScriptHookV.dll' "$folder/unpacked/INSTALL.txt" || fail "INSTALL.txt does not say where the files go"
[ $status -eq 0 ] && echo "release package $zip: $names"
exit $status
