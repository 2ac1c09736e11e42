#!/usr/bin/env bash
# End to end: the guide's question "one cashier or two" asked in the series window from the
# keyboard. The shipped bank.mrd is opened; F10 and the arrows reach "Модель › Серия прогонов...";
# twenty replications after a warm-up of 1000 ticks, the waits recorded with the share waiting
# more than 10 ticks, the device D1's channels 1 and 2 compared with the first. The series has
# ended when "Сохранить как..." becomes available, and it stays so when the window is opened
# again; screenshots of the settings and the results in OUT_DIR.
# Usage: experiment.sh MARDO MODEL OUT_DIR. Exits 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

mardo=$(realpath "$1")
source_model=$2
out=$3

source "$(dirname "$0")/display.sh"
command -v xclip >/dev/null || { echo "skipped: xclip is not installed"; exit 77; }

cp "$source_model" "$out/bank.mrd"
(cd "$out" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$out/runtime" exec "$mardo" bank.mrd) \
    >"$out/mardo.log" 2>&1 &
started_pids+=($!)

main=$(find_window 'bank\.mrd - Mardo \[Редактор\]') || fail "the main window did not appear"
settle
xdotool windowactivate --sync "$main"

# The text of the field with the focus replaced, pasted rather than typed (see session.sh).
retype() {
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
    xdotool key ctrl+a ctrl+v
}
shoot() {  # window, file name
    settle "$1"
    import -window "$1" "$out/$2.png"
}

# F10 opens "&Файл"; five menus on is "&Модель", whose items are "З&апуск...", "Последний
# &отчет..." (unavailable before a run, so the arrows pass it) and "Серия &прогонов...": the
# menu opens on its first item.
xdotool key F10
wait_popup >/dev/null
xdotool key Right Right Right Right Right Down Return
series=$(find_dialog '^Серия прогонов$') || fail "the series window did not open"

# The focus starts on the number of replications; Tab passes on to the seed, the generator,
# the warm-up, "авто", the confidence, the precision goal (its fields are unavailable until it is
# chosen), the waiting times, their thresholds and the alternatives.
retype 20
xdotool key Tab Tab Tab
retype 1000
xdotool key Tab Tab Tab Tab space Tab
retype 10
# "Значения параметра"; the block by its first letter, its second parameter ("Число каналов"),
# "Список" and its values, then "Сравнить с первым значением".
xdotool key Tab Down Tab D Tab Down Tab Tab
retype "1, 2"
# From, to and step are unavailable with a list: the next field is the comparison.
xdotool key Tab space
shoot "$series" experiment-01-settings
# "Сохранить &как..." (bottom left, after "&Старт") is unavailable until the series has ended:
# its picture changes then, and nothing else draws there meanwhile.
save_button_sum() {
    local X Y WIDTH HEIGHT
    eval "$(window_geometry "$series")"
    import -window "$series" -crop "120x24+95+$(( HEIGHT - 36 ))" rgb:- 2>/dev/null | md5sum
}
xdotool mousemove 0 0
unavailable=$(save_button_sum)
# "&Старт" is the default button: Return presses it.
xdotool key Return
save_available() { [ "$(save_button_sum)" != "$unavailable" ]; }
wait_until save_available
shoot "$series" experiment-02-results
xdotool key Escape
wait_closed_series() { [ -z "$(xdotool search --onlyvisible --name '^Серия прогонов$' 2>/dev/null)" ]; }
wait_until wait_closed_series

# Opened again on the same model, the window still has the series' results: "Сохранить как..."
# is available at once.
xdotool key F10
wait_popup >/dev/null
xdotool key Right Right Right Right Right Down Return
series=$(find_dialog '^Серия прогонов$') || fail "the series window did not open again"
settle "$series"
save_available || fail "the results were not kept for the window's next opening"
shoot "$series" experiment-03-opened-again
xdotool key Escape
wait_until wait_closed_series
echo "screenshots in $out"
