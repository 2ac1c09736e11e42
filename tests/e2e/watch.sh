#!/usr/bin/env bash
# End to end: the shipped single-channel model watched on its diagram as a teacher would show it
# to a class. "Модель › Наблюдение" (F6) starts the watch paused; five ticks are stepped with →,
# each once the title shows the pause it leads to; "Пауза, когда..." (Ctrl+P) sets the queue Q1's
# content reaching 3; Space runs as fast as possible, and the tick it pauses in must be the first
# after the fifth in which the batch runner's trace of the same model shows Q1 reach 3. A click on
# Q1 lists the transacts it holds; Escape stops the watch and the report opens. Screenshots of
# every step in OUT_DIR; with GUIDE_DIR, the guide's pictures are copied there as well.
# Usage: watch.sh MARDO MARDO_RUN MODEL OUT_DIR [GUIDE_DIR]. Exits 77 (skipped) without Xvfb or
# xdotool.
set -euo pipefail

mardo=$(realpath "$1")
mardo_run=$(realpath "$2")
source_model=$3
out=$4
guide=${5:-}

source "$(dirname "$0")/display.sh"

cp "$source_model" "$out/single-channel.mrd"
(cd "$out" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$out/runtime" exec "$mardo" single-channel.mrd) \
    >"$out/mardo.log" 2>&1 &
started_pids+=($!)

main=$(find_window 'single-channel\.mrd - Mardo \[Редактор\]') || fail "the main window did not appear"
settle
xdotool windowactivate --sync "$main"

shoot() {  # file name
    settle
    import -window root -crop 1280x900+0+0 +repage "$out/$1.png"
}
paused_at() {  # tick: whether the title tells of a pause at it
    visible_window "Mardo \\[Наблюдение: пауза, такт $1\\]\$" >/dev/null
}

xdotool key F6
wait_until paused_at 0 || fail "the watch did not start paused before the first tick"
shoot watch-01-start
for tick in 1 2 3 4 5; do
    xdotool key Right
    wait_until paused_at "$tick" || fail "→ did not step to tick $tick"
done
shoot watch-02-five-steps

xdotool key ctrl+p
dialog=$(find_dialog '^Пауза, когда$') || fail "\"Пауза, когда\" did not open"
# The focus is in the value; the first condition offered is the first queue's content.
xdotool key ctrl+a 3
settle "$dialog"
import -window "$dialog" "$out/watch-03-condition.png"
xdotool key Return
closed() { [ -z "$(xdotool search --onlyvisible --name '^Пауза, когда$' 2>/dev/null)" ]; }
wait_until closed || fail "\"Пауза, когда\" did not close"

# As fast as possible: + up to the last speed.
for _ in $(seq 12); do
    xdotool key plus
done
xdotool key space
paused_later() {
    local name
    name=$(xdotool getwindowname "$main" 2>/dev/null) || return 1
    [[ $name =~ пауза,\ такт\ ([0-9]+) ]] && [ "${BASH_REMATCH[1]}" != 5 ] &&
        echo "${BASH_REMATCH[1]}"
}
paused=$(wait_until paused_later) || fail "the watch did not pause on Q1's content"
shoot watch-04-queue-of-three

# The batch runner's trace of the same model, one row a tick (a shorter run keeps the intervals
# one tick long; the course of the simulation is the same): a row's value is Q1's content at the
# end of the tick before its first tick.
"$mardo_run" --quiet --set model.stopValue=1000 --trace "$out/trace.csv" "$out/single-channel.mrd" \
    >/dev/null
expected=$(awk -F, '$1 == "Q1" && $3 == $4 {
        tick = $3 - 1
        if (tick > 5 && $6 >= 3 && before < 3) { print tick; exit }
        before = $6
    }' "$out/trace.csv")
[ -n "$expected" ] || fail "the trace shows Q1 never reach 3"
[ "$paused" = "$expected" ] ||
    fail "the watch paused in tick $paused, the trace shows Q1 reach 3 in tick $expected"

# What Q1 holds, in order: a click on its window.
xdotool mousemove 250 90 click 1
held=$(find_window '^Транзакты в блоке Q1$') || fail "the click on Q1 did not show its transacts"
settle
import -window root "$out/watch-05-held.png"
xdotool windowactivate --sync "$main"
xdotool key Escape
report=$(find_window '^Отчет о запуске модели') || fail "the report did not open after the stop"
window_gone "$held" || true
editing() { visible_window 'single-channel\.mrd - Mardo \[Редактор\]$' >/dev/null; }
wait_until editing || fail "the editor did not come back after the watch"
shoot watch-06-report

if [ -n "$guide" ]; then
    # The diagram's blocks with the bar below them; the held transacts beside the diagram.
    for picture in watch-02-five-steps watch-04-queue-of-three; do
        convert "$out/$picture.png" \( -clone 0 -crop 1000x190+0+0 \) \
            \( -clone 0 -crop 1100x62+0+838 \) -delete 0 -background white -append +repage \
            "$guide/$picture.png"
    done
    convert "$out/watch-05-held.png" -crop 900x620+0+0 +repage "$guide/watch-05-held.png"
    cp "$out/watch-03-condition.png" "$guide/"
fi
echo "watched: paused in tick $paused as the trace shows"
