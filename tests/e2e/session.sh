# The set-up that the end-to-end scripts share: a virtual X display with the real program on it,
# its main window at a known place, and the gestures a hand would make on the palette and on
# block windows. Sourced by a script after it has set mardo (the program) and out (its folder).
# Exits 77 (skipped) without Xvfb, xdotool or ImageMagick's import.

for tool in Xvfb xdotool import python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"

display=""
for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "no free X display"; exit 1; }

xvfb_pid=""
mardo_pid=""
cleanup() {
    [ -z "$mardo_pid" ] || kill "$mardo_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done

fail() {
    echo "FAILED: $*"
    import -window root "$out/failure.png" 2>/dev/null || true
    exit 1
}

(cd "$out" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$out/runtime" exec "$mardo") \
    >"$out/mardo.log" 2>&1 &
mardo_pid=$!

find_window() {  # the first visible window whose name matches, waiting up to 10 s
    timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -1
}
main=$(find_window 'Mardo \[Редактор\]') || fail "the main window did not appear"
palette=$(find_window '^Блоки$') || fail "the palette did not appear"
# Without a window manager nothing maximises the window: give it a known place and size.
xdotool windowmove "$main" 0 0 windowsize "$main" 1100 700
sleep 0.5

eval "$(xdotool getwindowgeometry --shell "$palette")"
entry_height=36
frame=$(( (HEIGHT - 8 * entry_height) / 2 ))
entry_x=$(( X + WIDTH / 2 ))
entry_y() { echo $(( Y + frame + entry_height * $1 + entry_height / 2 )); }

# A drag with a few steps, as a hand would make it.
drag() {
    xdotool mousemove "$1" "$2" mousedown 1
    sleep 0.2
    xdotool mousemove $(( $1 + 6 )) $(( $2 + 4 ))
    sleep 0.1
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    sleep 0.1
    xdotool mousemove "$3" "$4"
    sleep 0.2
    xdotool mousemove $(( $3 + 1 )) "$4"
    sleep 0.2
    xdotool mouseup 1
    sleep 0.4
}

# Palette rows: 0 generator, 1 terminator, 2 device, 3 queue, 4 switching, 5 copying,
# 6 assembling, 7 waiting. A block's top-left corner lands where it is dropped; a script places
# the terminator last, since its entry then leaves the palette.
place() {  # palette row, x, y
    drag "$entry_x" "$(entry_y "$1")" "$2" "$3"
}

# Rows of a block window at the top y: a 1-pixel frame, an 18-pixel caption, then rows of 17
# pixels.
row_y() { echo $(( ${2:-$top} + 1 + 18 + 17 * $1 + 8 )); }
col() { echo $(( $1 + 58 )); }

name_block() {  # x, name[, top]
    xdotool mousemove "$(col "$1")" "$(row_y 0 "${3:-$top}")" click --repeat 2 --delay 80 1
    find_window '^Имя блока$' >/dev/null || fail "the name dialog did not open"
    xdotool type --delay 30 "$2"
    xdotool key Return
    sleep 0.4
}

# A double-click on a block's caption opens its property sheet; answers the sheet's window.
open_sheet() {  # x, sheet title[, top]
    xdotool mousemove $(( $1 + 40 )) $(( ${3:-$top} + 9 )) click --repeat 2 --delay 80 1
    find_window "^$2\$" || fail "the sheet \"$2\" did not open"
}

# A sheet opens with the focus in the first field of its first page; Ctrl+Tab moves to the
# next page and takes the focus to that page's first field.
next_page() {  # how many pages on
    for _ in $(seq "${1:-1}"); do
        xdotool key ctrl+Tab
        sleep 0.2
    done
}

# Replaces the text of the field that has the focus.
retype() {
    xdotool key ctrl+a
    xdotool type --delay 30 "$1"
}

# Waits until no visible window has the title: the sheet was closed with OK.
wait_closed() {  # title
    for _ in $(seq 50); do
        [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    fail "\"$1\" did not close"
}
