#!/bin/sh
# Makes the Wine prefix that the comparison tests and the release package run in, headless,
# once: Wine's first start in a new prefix is slow, so it is done here and not inside a test.
set -eu
wine=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ -f "$WINEPREFIX/system.reg" ]; then
  echo "Wine prefix ready: $WINEPREFIX"
  exit 0
fi
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init
# wineboot returns before the prefix is written out; the server leaves when it is done.
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
"$server" -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "Wine did not create $WINEPREFIX"; exit 1; }
echo "Wine prefix created: $WINEPREFIX"
