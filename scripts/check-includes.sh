#!/bin/bash
# Fails when a file under src includes a header of a room that its folder's libraries do not link. A room is a
# folder of src with a CMakeLists.txt of its own; the treadkey_* libraries on the link lines of the targets it
# defines are the rooms it may include, besides itself.
# The toolkit is a room's too: a file includes a Qt header only where its room links Qt, and only the views'
# room (app/) may link it, so that the window's behaviour in app/form/ stays free of any toolkit.
# Windows' own headers stay in the Win32 view (app/win32/) and the platform files CMake picks for Windows
# (*_windows.cpp, the Windows stack's backend and its Raw Input reader), so that no other room's code needs Windows to build.
# Usage: check-includes.sh [PROJECT_ROOT]   (default: this script's project)
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/src"

# A room's CMake calls one to a line, so that a link line split over lines reads whole.
calls_of() { tr '\n' ' ' <"$1/CMakeLists.txt" | sed 's/)/)\n/g'; }
targets_of() { calls_of "$1" | sed -n 's/.*add_\(library\|executable\)( *\([A-Za-z0-9_-]*\).*/\2/p'; }

mapfile -t rooms < <(find . -mindepth 2 -name CMakeLists.txt -printf '%h\n' | sed 's|^\./||' | sort)

# For awk: "target room" lines, then "room linked-target..." lines.
{
    for room in "${rooms[@]}"; do
        for target in $(targets_of "$room"); do echo "target $target $room"; done
    done
    for room in "${rooms[@]}"; do
        for target in $(targets_of "$room"); do
            echo "links $room $(calls_of "$room" | sed -n "s/.*target_link_libraries( *$target \(.*\))/\1/p")"
        done
    done
} >"${TMPDIR:-/tmp}/rooms.$$"
trap 'rm -f "${TMPDIR:-/tmp}/rooms.$$"' EXIT

toolkit_room=app
status=0
declare -A links_qt
for room in "${rooms[@]}"; do
    linked=$(calls_of "$room" | grep -o 'target_link_libraries([^)]*)' | grep -o 'Qt6::[A-Za-z]*' | sort -u | tr '\n' ' ' || true)
    [[ -z $linked ]] && continue
    links_qt[$room]=1
    if [[ $room != "$toolkit_room" ]]; then
        echo "src/$room/CMakeLists.txt: links ${linked% }, but only $toolkit_room/ may know the toolkit"
        status=1
    fi
done
room_of() {
    local best="" r
    for r in "${rooms[@]}"; do
        if [[ $1 == "$r"/* && ${#r} -gt ${#best} ]]; then best=$r; fi
    done
    echo "$best"
}
while IFS=: read -r file line _; do
    room=$(room_of "$file")
    if [[ -z ${links_qt[$room]:-} ]]; then
        echo "src/$file:$line: includes a Qt header, but the libraries of $room/ link no Qt"
        status=1
    fi
done < <(grep -rn --include='*.cpp' --include='*.h' '^ *# *include *<Q[A-Za-z]*>' "${rooms[@]}" | sort -u || true)

windows_header='^ *# *include *<\(windows\|commctrl\|shellapi\|setupapi\|cfgmgr32\|hidsdi\)\.h>'
while IFS=: read -r file line _; do
    case $file in
    app/win32/* | *_windows.cpp | stacks/windows/windows_backend.cpp | stacks/windows/raw_input_reader.cpp) ;;
    *)
        echo "src/$file:$line: includes a Windows header, but only the Win32 view and the Windows platform files may"
        status=1
        ;;
    esac
done < <(grep -rni --include='*.cpp' --include='*.h' "$windows_header" "${rooms[@]}" | sort -u || true)

grep -rn --include='*.cpp' --include='*.h' '^ *# *include *"[^"]*/' "${rooms[@]}" |
    awk -v roomfile="${TMPDIR:-/tmp}/rooms.$$" '
    function room_of(path,    best, r) {
        best = ""
        for (r in is_room) {
            if ((index(path, r "/") == 1) && length(r) > length(best)) best = r
        }
        return best
    }
    BEGIN {
        while ((getline line < roomfile) > 0) {
            n = split(line, f, " ")
            if (f[1] == "target") {
                room_of_target[f[2]] = f[3]
                is_room[f[3]] = 1
            } else {
                for (i = 3; i <= n; i++) if (f[i] in room_of_target) allowed[f[2], room_of_target[f[i]]] = 1
            }
        }
        status = 0
    }
    {
        file = $0; sub(/:.*/, "", file)
        rest = substr($0, length(file) + 2); line = rest; sub(/:.*/, "", line)
        header = rest; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
        own = room_of(file); theirs = room_of(header)
        if (theirs != "" && theirs != own && !((own, theirs) in allowed)) {
            printf "src/%s:%s: includes \"%s\" from %s/, which the libraries of %s/ do not link\n", file, line, header, theirs, own
            status = 1
        }
    }
    END { exit status }' || status=1
exit $status
