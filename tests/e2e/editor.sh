#!/usr/bin/env bash
# End to end: starts the real program on a virtual X display, drags a generator, a queue, a
# service device and a terminator from the palette onto the diagram, names and links them,
# saves the model, takes screenshots, and has the batch runner simulate the saved file.
# Usage: editor.sh MARDO MARDO_RUN OUT_DIR. Exits 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

mardo=$1
mardo_run=$2
out=$3

for tool in Xvfb xdotool import python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"
model="$out/линия.mrd"

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

# Palette rows: 0 generator, 1 terminator, 2 device, 3 queue. The blocks' top-left corners land
# where they are dropped; the terminator goes last, since its entry then leaves the palette.
top=110
gen_x=60; queue_x=280; device_x=500; term_x=720
drag "$entry_x" "$(entry_y 0)" "$gen_x" "$top"
drag "$entry_x" "$(entry_y 3)" "$queue_x" "$top"
drag "$entry_x" "$(entry_y 2)" "$device_x" "$top"
drag "$entry_x" "$(entry_y 1)" "$term_x" "$top"

# Rows of a block window: a 1-pixel frame, an 18-pixel caption, then rows of 17 pixels.
row_y() { echo $(( top + 1 + 18 + 17 * $1 + 8 )); }
col() { echo $(( $1 + 58 )); }

name_block() {
    xdotool mousemove "$(col "$1")" "$(row_y 0)" click --repeat 2 --delay 80 1
    find_window '^Имя блока$' >/dev/null || fail "the name dialog did not open"
    xdotool type --delay 30 "$2"
    xdotool key Return
    sleep 0.4
}
name_block "$gen_x" "Поток"
name_block "$queue_x" "Очередь"
name_block "$device_x" "Прибор"
name_block "$term_x" "Выход"

# Output rows onto the next block's input row.
drag "$(col "$gen_x")" "$(row_y 1)" "$(col "$queue_x")" "$(row_y 1)"
drag "$(col "$queue_x")" "$(row_y 2)" "$(col "$device_x")" "$(row_y 1)"
drag "$(col "$device_x")" "$(row_y 2)" "$(col "$term_x")" "$(row_y 1)"
xdotool mousemove 600 500 click 1
sleep 0.3
import -window root "$out/editor-linked.png"

# "&Файл", then "&Сохранить" (the third item), and the file name in the save dialog.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $(( X + 22 )) $(( Y + 10 )) click 1
sleep 0.5
xdotool key Down Down Down Return
find_window 'Сохранить как' >/dev/null || fail "the save dialog did not open"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "$model"
xdotool key Return
for _ in $(seq 50); do
    [ -s "$model" ] && break
    sleep 0.1
done
[ -s "$model" ] || fail "the model was not saved"
find_window '^линия\.mrd - Mardo \[Редактор\]$' >/dev/null || fail "the title did not change"
sleep 0.3
import -window root "$out/editor-saved.png"
# The terminator's popup, whose "&Копировать" is unavailable.
xdotool mousemove $(( term_x + 40 )) $(( top + 9 )) click 3
sleep 0.5
import -window root "$out/editor-menu.png"
xdotool key Escape
echo "saved $(stat -c %s "$model") bytes; screenshots in $out"

# The batch runner simulates what the editor saved.
if [ ! -x "$mardo_run" ]; then
    echo "note: no batch runner at $mardo_run; the saved file was not simulated"
    exit 0
fi
set +e
"$mardo_run" --json "$model" >"$out/run.json" 2>"$out/run.err"
status=$?
set -e
[ "$status" -eq 0 ] || fail "mardo-run exited with $status: $(cat "$out/run.err")"
if [ ! -s "$out/run.json" ]; then
    echo "note: mardo-run printed no report yet; the saved file was not simulated"
    exit 0
fi
python3 - "$out/run.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
assert report["check"] == "passed", report["check"]
# A new model runs one run of one tick.
assert report["modelTime"] == 1, report["modelTime"]
assert report["departed"] >= 0
text = json.dumps(report, ensure_ascii=False)
for name in ("Поток", "Очередь", "Прибор", "Выход"):
    assert name in text, name
assert len(report["blocks"]) == 4, report["blocks"]
assert len(report["devices"]) == 1 and len(report["queues"]) == 1
print("mardo-run: check passed, model time", report["modelTime"], "departed", report["departed"])
PY
