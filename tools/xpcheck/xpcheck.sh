#!/usr/bin/env bash
# Fails when an exe imports anything Windows XP does not export, so the
# program still starts on the oldest system it supports.
#
#   xpcheck.sh [--objdump TOOL] [--cc COMPILER] [--delayed DEF]... EXE...
#
# --delayed names a .def of a delay-loaded DLL: its functions are imports
# too, though the import table does not list them.
#
# There is no XP to ask, so the verdict comes from two witnesses:
#  - the mingw-w64 headers: every imported Win32 function is compiled against
#    them twice, once as XP (_WIN32_WINNT=0x0501) and once as Windows 10. A
#    function only the newer headers declare is newer than XP.
#  - xp_imports.txt, for what the headers cannot tell: the C runtime (its
#    headers declare everything whatever the version), functions declared
#    for XP that arrived only in a service pack or a 64-bit edition, and
#    names no header declares. An import without either verdict fails too,
#    so a new dependency gets looked at once.
# xp_dlls.txt lists the system DLLs XP has at all.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
objdump=""
cc=""
exes=()
delayed=()
while [ $# -gt 0 ]; do
    case "$1" in
        --objdump) objdump=$2; shift 2 ;;
        --cc) cc=$2; shift 2 ;;
        --delayed) delayed+=("$2"); shift 2 ;;
        -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
        *) exes+=("$1"); shift ;;
    esac
done
[ ${#exes[@]} -gt 0 ] || { echo "usage: $0 [--objdump TOOL] [--cc COMPILER] [--delayed DEF]... EXE..." >&2; exit 2; }

export LC_ALL=C
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

lower() { tr '[:upper:]' '[:lower:]'; }

# "dll function verdict reason..." lines, DLL lower-cased; the reason is the
# line's comment.
awk '{ line = $0; why = ""
       if ((i = index(line, "#")) > 0) { why = substr(line, i + 1); line = substr(line, 1, i - 1) }
       n = split(line, f, " ")
       if (n >= 3) print tolower(f[1]), f[2], f[3], why }' "$here/xp_imports.txt" > "$work/verdicts"
sed -e 's/#.*//' "$here/xp_dlls.txt" | awk 'NF { print tolower($1) }' > "$work/dlls"

status=0
for exe in "${exes[@]}"; do
    [ -f "$exe" ] || { echo "xpcheck: $exe: no such file" >&2; exit 2; }
    format=$(${objdump:-objdump} -f "$exe" 2>/dev/null | sed -n 's/.*file format //p' || true)
    if [ -z "$objdump" ]; then
        case "$format" in
            pei-i386) objdump=i686-w64-mingw32-objdump ;;
            *) objdump=x86_64-w64-mingw32-objdump ;;
        esac
        format=$($objdump -f "$exe" | sed -n 's/.*file format //p')
    fi
    if [ -z "$cc" ]; then
        case "$format" in
            pei-i386) cc=i686-w64-mingw32-gcc ;;
            *) cc=x86_64-w64-mingw32-gcc ;;
        esac
    fi

    # dll function, one import a line; "<ordinal>" for imports by number.
    $objdump -p "$exe" | awk '
        /^The Import Tables/ { inside = 1; next }
        inside && /^[A-Z]/ { inside = 0 }
        !inside { next }
        /DLL Name:/ { dll = tolower($3); next }
        /^\t[0-9a-f]+\t/ && dll != "" {
            if ($NF == "<none>" || NF < 3) print dll, "<ordinal>"
            else print dll, $NF
        }' > "$work/imports"
    for def in ${delayed[@]+"${delayed[@]}"}; do
        awk 'toupper($1) == "LIBRARY" { dll = tolower($2); next }
             /^[A-Za-z_][A-Za-z0-9_]*[ \t\r]*$/ && $1 != "EXPORTS" && dll != "" { print dll, $1 }' "$def" >> "$work/imports"
    done
    sort -u -o "$work/imports" "$work/imports"

    : > "$work/failures"
    : > "$work/probe"
    while read -r dll name; do
        if ! grep -qxF "$dll" "$work/dlls"; then
            echo "$dll!$name: $dll is not a Windows XP system DLL" >> "$work/failures"
            continue
        fi
        if [ "$name" = "<ordinal>" ]; then
            echo "$dll: imported by ordinal, which cannot be judged" >> "$work/failures"
            continue
        fi
        entry=$(awk -v d="$dll" -v n="$name" '$1 == d && $2 == n { print; exit }' "$work/verdicts")
        verdict=$(echo "$entry" | awk '{ print $3 }')
        case "$verdict" in
            xp) ;;
            not-xp)
                why=$(echo "$entry" | cut -d' ' -f4- | sed 's/^ *//')
                echo "$dll!$name: not exported by Windows XP${why:+ ($why)}" >> "$work/failures" ;;
            "")
                if [ "$dll" = msvcrt.dll ]; then
                    echo "$dll!$name: no verdict for this C runtime function; find out whether XP's msvcrt.dll has it and add it to xp_imports.txt" >> "$work/failures"
                else
                    echo "$dll $name" >> "$work/probe"
                fi ;;
            *) echo "xp_imports.txt: bad verdict '$verdict' for $dll $name" >&2; exit 2 ;;
        esac
    done < "$work/imports"

    if [ -s "$work/probe" ]; then
        # Every function as a file-scope address so each missing declaration is
        # reported once, by name.
        {
            cat "$here/probe_headers.h"
            awk '{ printf "void *probe_%d = (void *)&%s;\n", NR, $2 }' "$work/probe"
        } > "$work/probe.c"
        compile() {  # $1: output file, then the defines
            local out=$1
            shift
            $cc -fsyntax-only -w -fmax-errors=0 "$@" "$work/probe.c" > "$out" 2>&1 || true
        }
        compile "$work/xp.log" -DWINVER=0x0501 -D_WIN32_WINNT=0x0501 -DNTDDI_VERSION=0x05010000 -D_WIN32_IE=0x0600
        compile "$work/new.log" -DWINVER=0x0A00 -D_WIN32_WINNT=0x0A00 -DNTDDI_VERSION=0x0A000000 -D_WIN32_IE=0x0A00
        # A probe failing for any other reason would wave everything through.
        if grep 'error:' "$work/xp.log" "$work/new.log" | grep -qv 'undeclared'; then
            echo "xpcheck: the header probe does not compile:" >&2
            grep -h 'error:' "$work/xp.log" "$work/new.log" | grep -v 'undeclared' | head >&2
            exit 2
        fi
        undeclared_in() {
            sed -n "s/.*error: [^A-Za-z0-9_]*\([A-Za-z0-9_]*\)[^A-Za-z0-9_ ]* undeclared.*/\1/p" "$1" | sort -u
        }
        undeclared_in "$work/xp.log" > "$work/hidden_xp"
        undeclared_in "$work/new.log" > "$work/hidden_new"
        while read -r dll name; do
            if grep -qxF "$name" "$work/hidden_new"; then
                echo "$dll!$name: no header declares it, so it cannot be judged; add a verdict to xp_imports.txt" >> "$work/failures"
            elif grep -qxF "$name" "$work/hidden_xp"; then
                echo "$dll!$name: newer than Windows XP (its headers hide it below _WIN32_WINNT 0x0501); load it at run time" >> "$work/failures"
            fi
        done < "$work/probe"
    fi

    count=$(wc -l < "$work/imports")
    if [ -s "$work/failures" ]; then
        echo "$exe: imports that Windows XP lacks or that cannot be judged:"
        sed 's/^/  /' "$work/failures"
        status=1
    else
        echo "$exe: all $count imports are on Windows XP"
    fi
done
exit $status
