#!/bin/sh
# Reads the import table of Vantor.asi and fails on any DLL outside the allowed set, on a
# ScriptHookV import that is missing or misspelt, or on a plugin larger than the limit in bytes.
set -eu
objdump=$1
asi=$2
size_limit=$3
[ -f "$asi" ] || { echo "missing $asi"; exit 1; }
dump=$("$objdump" -p "$asi")

dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
status=0
for dll in $dlls; do
  case $(printf '%s' "$dll" | tr 'A-Z' 'a-z') in
    scripthookv.dll|user32.dll|kernel32.dll|msvcrt.dll) ;;
    *) echo "unexpected import from $dll"; status=1 ;;
  esac
done

# The names imported from ScriptHookV.dll, in the section that follows its DLL Name line.
imports_of() {
  printf '%s\n' "$dump" | awk -v dll="$1" '
    /DLL Name:/ { inside = ($3 == dll); next }
    /^[[:space:]]*$/ { inside = 0 }
    inside && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }'
}
shv=$(imports_of ScriptHookV.dll)
expected='?nativeCall@@YAPEA_KXZ
?nativeInit@@YAX_K@Z
?nativePush64@@YAX_K@Z
?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z
?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z
?scriptWait@@YAXK@Z'
actual=$(printf '%s\n' "$shv" | sort)
if [ "$actual" != "$(printf '%s\n' "$expected" | sort)" ]; then
  echo "ScriptHookV imports differ from the expected six:"
  echo "$actual"
  status=1
fi
imports_of USER32.dll | grep -qx GetAsyncKeyState || { echo "GetAsyncKeyState is not imported from USER32.dll"; status=1; }
size=$(wc -c < "$asi")
if [ "$size" -gt "$size_limit" ]; then
  echo "$asi is $size bytes, over the limit of $size_limit"
  status=1
fi
[ $status -eq 0 ] && echo "imports of $asi: $(echo $dlls); $size bytes"
exit $status
