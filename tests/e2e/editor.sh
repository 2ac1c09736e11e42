# End to end: starts the real program on a virtual X display, drags a generator, a queue, a
# service device and a terminator from the palette onto the diagram, names and links them, sets
# a uniform arrival law, a deterministic service time, a queue limit and the experiment
# conditions through the property sheets, saves the model, takes screenshots, and has the batch
# runner simulate the saved file. Then it deletes the linked device with the Delete key, takes
# that back with Ctrl+Z, saves the model again under another name (Ctrl+Shift+S) and has the
# batch runner show that the figures are those of the original.
# Usage: editor.sh MARDO MARDO_RUN OUT_DIR. Exits 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

mardo=$1
mardo_run=$2
out=$3
model="$out/линия.mrd"

source "$(dirname "$0")/session.sh"

top=110
gen_x=60; queue_x=280; device_x=500; term_x=720
place_line
name_line "Поток" "Очередь" "Прибор" "Выход"
link_line
import -window root "$out/editor-linked.png"

# Arrivals every 1 or 2 ticks: "Равномерный" is the entry after "Детерминированный".
sheet=$(open_sheet "$gen_x" 'Свойства генератора')
next_page 2
uniform_law 1 2
settle "$sheet"
import -window "$sheet" "$out/sheet-uniform-law.png"
xdotool key Return
wait_closed 'Свойства генератора'

# A service time of 10 ticks, deterministic as a new device's law is.
sheet=$(open_sheet "$device_x" 'Свойства устройства обслуживания')
next_page
xdotool key Tab
retype 10
xdotool key Return
wait_closed 'Свойства устройства обслуживания'

# At most 3 waiting in the queue: past the discipline, the box and its field.
sheet=$(open_sheet "$queue_x" 'Свойства очереди')
next_page
xdotool key Tab space Tab
retype 3
settle "$sheet"
import -window "$sheet" "$out/sheet-queue-limit.png"
xdotool key Return
wait_closed 'Свойства очереди'

# 500 ticks, one run.
open_model_sheet 500
import -window "$sheet" "$out/sheet-experiment.png"
xdotool key Return
wait_closed 'Свойства модели'

save_model "$model"
find_window '^линия\.mrd - Mardo \[Редактор\]$' >/dev/null || fail "the title did not change"
settle
import -window root "$out/editor-saved.png"
# The terminator's popup, whose "&Копировать" is unavailable.
xdotool mousemove $(( term_x + 40 )) $(( top + 9 )) click 3
menu=$(wait_popup) || fail "the popup menu did not open"
settle
import -window root "$out/editor-menu.png"
xdotool key Escape
wait_until window_gone "$menu" || fail "the menu did not close"
echo "saved $(stat -c %s "$model") bytes; screenshots in $out"

# The device, selected by its caption, goes with the Delete key and its two links with it;
# Ctrl+Z brings all three back.
undone="$out/отмена.mrd"
xdotool mousemove $(( device_x + 40 )) $(( top + 9 )) click 1
xdotool key Delete
settle
import -window root "$out/editor-deleted.png"
save_model "$out/без-прибора.mrd" ctrl+shift+s
[ "$(stat -c %s "$out/без-прибора.mrd")" -lt "$(stat -c %s "$model")" ] ||
    fail "the device was not deleted"
xdotool key ctrl+z
settle
import -window root "$out/editor-undone.png"
save_model "$undone" ctrl+shift+s
cmp -s "$model" "$undone" || fail "the model saved after the undo differs from the original"

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
"$mardo_run" --json "$undone" >"$out/run-undone.json" 2>>"$out/run.err" ||
    fail "mardo-run failed on the model saved after the undo: $(cat "$out/run.err")"
if [ ! -s "$out/run.json" ]; then
    echo "note: mardo-run printed no report yet; the saved file was not simulated"
    exit 0
fi
python3 - "$out/run.json" "$out/run-undone.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
# The model saved after deleting a block and taking that back simulates to the same figures.
undone = json.load(open(sys.argv[2], encoding="utf-8"))
for key in ("check", "modelTime", "departed", "blocks", "devices", "queues"):
    assert undone[key] == report[key], (key, undone[key], report[key])
assert report["check"] == "passed", report["check"]
# One run of 500 ticks, as the model's sheet set it.
assert report["modelTime"] == 500, report["modelTime"]
text = json.dumps(report, ensure_ascii=False)
for name in ("Поток", "Очередь", "Прибор", "Выход"):
    assert name in text, name
assert len(report["blocks"]) == 4, report["blocks"]
assert len(report["devices"]) == 1 and len(report["queues"]) == 1
# A device serving 10 ticks at a time finishes at most 49 transacts in 500 ticks, and as the
# arrivals come every one or two ticks it is never idle after the first.
assert 48 <= report["departed"] <= 49, report["departed"]
device = report["devices"][0]
assert device["utilization"] > 0.97, device
# The queue fills up to its limit of 3 and the rest wait in the generator.
queue = report["queues"][0]
assert queue["maxContent"] == 3 and not queue["free"], queue
assert queue["waiting"] > 100, queue
# One arrival every one or two ticks: between 250 and 500 in all.
generator = report["blocks"][0]
assert 250 <= generator["left"] + generator["remaining"] <= 500, generator
assert queue["waiting"] == generator["remaining"], (queue, generator)
print("mardo-run: check passed, model time", report["modelTime"], "departed", report["departed"],
      "queue", queue["maxContent"], "waiting", queue["waiting"])
PY
