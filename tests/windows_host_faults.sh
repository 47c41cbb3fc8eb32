#!/bin/sh
# The Windows host must fail a run, naming the fault, when a plugin registers its script under
# a module other than its own or leaves the keyboard out of reach; a run that went on would
# hide exactly the Windows-only faults the comparison is for.
# Usage: windows_host_faults.sh <wine64> <prefix> <vantor-host.exe> <misbehaving.asi> <scenario> <folder>
set -eu
wine=$1 prefix=$2 host=$3 plugin=$4 scenario=$5 folder=$6
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
unset DISPLAY WAYLAND_DISPLAY
status=0
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  timeout 60 "$wine" "$host" --plugin "$plugin" --scenario "$scenario" --trace trace.txt > output.txt 2>&1 || status=$?
cat output.txt
fail=0
[ $status -eq 1 ] || { echo "expected exit status 1, got $status"; fail=1; }
grep -q "scriptRegister with a module other than the loader's" output.txt || { echo "wrong module not reported"; fail=1; }
grep -q "cannot take over the keyboard" output.txt || { echo "missing keyboard import not reported"; fail=1; }
grep -qx "0 scriptRegister(other-module)" trace.txt || { echo "the trace does not show the foreign module"; fail=1; }
exit $fail
