#!/bin/sh
# check_exports.sh OBJDUMP DLL NAME...: the DLL exports exactly these names, undecorated
# (a stdcall export such as "DllCanUnloadNow@0" would not be found by COM on 32-bit Windows).
objdump=$1
dll=$2
shift 2
actual=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
expected=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$expected" ]; then
    echo "$dll exports:" >&2
    echo "$actual" >&2
    echo "expected:" >&2
    echo "$expected" >&2
    exit 1
fi
