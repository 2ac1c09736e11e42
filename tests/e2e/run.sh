#!/usr/bin/env bash
# End to end: a first model built in the real program on a virtual X display, step by step as
# the user guide tells it (palette, names, links, property sheets, the flow test), saved, run
# from "З&апуск..." with "&Старт" until the report window opens by itself, the report's three
# tabs, the report saved as HTML through "Сохранить &как..." and compared with the page the
# batch runner writes for the same file; the diagram is exported as a picture on the way. Then a
# series of five replications over three service times from "&Серия прогонов...", its table
# saved as CSV and compared figure by figure with the batch runner's for the same series, and
# its chart saved as a picture. Screenshots of every step in OUT_DIR; with GUIDE_DIR, the guide's
# pictures are copied there as well.
# Usage: run.sh MARDO MARDO_RUN OUT_DIR [GUIDE_DIR]. Exits 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

mardo=$1
mardo_run=$2
out=$3
guide=${4:-}
model="$out/касса.mrd"
page="$out/касса.html"

source "$(dirname "$0")/session.sh"

# The diagram and the palette beside it, as the guide shows them.
shoot_editor() {  # file name
    settle
    import -window root -crop 1250x520+0+0 +repage "$out/$1.png"
}
shoot() {  # window, file name
    settle "$1"
    import -window "$1" "$out/$2.png"
}
click_in() {  # window, x, y within it
    local X Y WIDTH HEIGHT
    eval "$(window_geometry "$1")"
    xdotool mousemove $(( X + $2 )) $(( Y + $3 )) click 1
}

shoot_editor guide-01-empty
top=80
gen_x=40; queue_x=250; device_x=460; term_x=670
place_line
shoot_editor guide-02-placed
name_line "Покупатели" "Очередь" "Касса" "Уход"
link_line
shoot_editor guide-03-linked

# Customers arrive every 1 to 6 ticks; the flow test shows the law's samples.
sheet=$(open_sheet "$gen_x" 'Свойства генератора')
next_page 2
uniform_law 1 6
shoot "$sheet" guide-04-arrivals
xdotool key Tab space
flow=$(find_dialog '^Тест потока$') || fail "the flow test did not open"
shoot "$flow" guide-05-flow-test
xdotool key Escape
wait_closed 'Тест потока'
# Return would press "&Тест" again while it has the focus: back to the field first.
xdotool windowfocus "$sheet"
xdotool key shift+Tab Return
wait_closed 'Свойства генератора'

# The cashier serves each customer in 2 to 4 ticks.
sheet=$(open_sheet "$device_x" 'Свойства устройства обслуживания')
next_page
uniform_law 2 4
shoot "$sheet" guide-06-service
xdotool key Return
wait_closed 'Свойства устройства обслуживания'

# A working day of 10 000 ticks.
open_model_sheet 10000
shoot "$sheet" guide-07-experiment
xdotool key Return
wait_closed 'Свойства модели'

save_model "$model"
find_window '^касса\.mrd - Mardo \[Редактор\]$' >/dev/null || fail "the title did not change"
# The generator selected: a selected block's caption scrolls when it is too long to show.
xdotool mousemove $(( gen_x + 40 )) $(( top + 9 )) click 1 mousemove 600 500
shoot_editor guide-08-saved

# "&Файл", "Экспорт схемы..." (its fifth item): the whole diagram as the guide's picture.
menu_command "$file_menu" 5
write_through_dialog "$out/guide-13-exported.png" 'Экспорт схемы'

# "&Модель", "З&апуск...": the run window, and the main window's title says so.
menu_command "$model_menu" 1
run=$(find_dialog '^Запуск модели$') || fail "the run window did not open"
[ -n "$(xdotool search --name '^касса\.mrd - Mardo \[Запуск модели\]$')" ] ||
    fail "the main window's title did not change"
xdotool windowmove "$run" 120 80
shoot "$run" run-idle
# "&Старт" is the default button.
xdotool key Return
report=$(find_dialog '^Отчет о запуске модели$') || fail "the report did not open by itself"
shoot "$report" guide-10-report-blocks

# The tabs: a click on each one's header.
tab_y=42; devices_tab=170; queues_tab=305
click_in "$report" "$devices_tab" "$tab_y"
shoot "$report" guide-11-report-devices
click_in "$report" "$queues_tab" "$tab_y"
shoot "$report" guide-12-report-queues

# "Файл", "Сохранить &как...": the proposed name is the model's without its extension, in the
# program's working folder, and the extension is added.
click_in "$report" 20 8
wait_popup >/dev/null
xdotool key Down Return
dialog=$(find_dialog 'Сохранить как') || fail "the report's save dialog did not open"
shoot "$dialog" report-save-dialog
xdotool key Return
wait_for_file "$page" || fail "the report was not saved"

# Closing the report leaves the run window with its messages and "&Отчет" available.
xdotool windowfocus "$report"
xdotool key Escape
wait_closed 'Отчет о запуске модели'
xdotool windowfocus "$run"
shoot "$run" guide-09-run-done

# "&Отчет" opens the report again, at its own size this time.
click_in "$run" 135 357
report=$(find_dialog '^Отчет о запуске модели$') || fail "\"&Отчет\" did not open the report"
xdotool windowmove "$report" 100 60
shoot "$report" report-normal-blocks
click_in "$report" "$queues_tab" "$tab_y"
shoot "$report" report-normal-queues
xdotool key Escape
wait_closed 'Отчет о запуске модели'
xdotool windowfocus "$run"

xdotool key Escape
wait_closed 'Запуск модели'
find_window '^касса\.mrd - Mardo \[Редактор\]$' >/dev/null ||
    fail "the main window's title was not restored"
shoot_editor editor-after-run

# The saved page is the batch runner's page for the same file, but for the date and time.
"$mardo_run" --quiet --html "$out/batch.html" "$model" >"$out/batch.txt" 2>"$out/batch.err" ||
    fail "mardo-run failed: $(cat "$out/batch.err")"
python3 - "$page" "$out/batch.html" <<'PY'
import re, sys
saved = open(sys.argv[1], "rb").read()
batch = open(sys.argv[2], "rb").read()
try:
    saved.decode("utf-8")
    raise SystemExit("the saved page is UTF-8, not Windows-1251")
except UnicodeDecodeError:
    pass
text = saved.decode("cp1251")
assert text.count('&quotкасса.mrd&quot') == 2, "the model's name is missing"
captions = re.findall(r'Таблица - &quot([^&]*)&quot', text)
assert captions == ["Блоки", "Устройства обслуживания", "Очереди"], captions
for name in ("Покупатели", "Очередь", "Касса", "Уход"):
    assert "<TD ALIGN=LEFT NOWRAP>" + name + "</TD>" in text, name
date = re.compile(r'<I>\d{1,2} [а-я]+ \d{4} г\., \d\d:\d\d:\d\d<TR>')
assert len(date.findall(text)) == 1, "no date"
assert date.sub("", text) == date.sub("", batch.decode("cp1251")), \
    "the saved page differs from mardo-run's beyond the date"
print("saved page: %d bytes, Windows-1251, same as mardo-run's but for the date" % len(saved))
PY

# "&Модель", "Серия &прогонов..." (after "Последний &отчет...", which the run made available):
# five replications at three service times of the cashier, from the keyboard. The focus starts
# on the number of replications; Tab passes on to the seed, the generator, the warm-up, "авто",
# the confidence, the precision goal, the waiting times (the fields of those two unavailable
# until they are chosen) and the alternatives: "Значения параметра" one down; then the block
# (the model, then the blocks in their order: "Касса" third), its parameter (its first:
# "Время обслуживания"), "Список" and its values; Return is "&Старт".
menu_command "$model_menu" 3
series=$(find_dialog '^Серия прогонов$') || fail "the series window did not open"
retype 5
xdotool key Tab Tab Tab Tab Tab Tab Tab Tab Down Tab Home Down Down Down Tab Tab Tab
retype "2..4, 3..5, 4..6"
xdotool key Return
# "Сохранить &как..." (bottom left, after "&Старт") comes alive when the series has ended; a
# click on it before does nothing.
save_series() {
    local X Y WIDTH HEIGHT
    eval "$(window_geometry "$series")"
    click_until_saving() {
        click_in "$series" 153 $(( HEIGHT - 23 ))
        settle "$series"
        visible_window 'Сохранить как' >/dev/null
    }
    wait_until click_until_saving || fail "the series did not end, or its save dialog did not open"
}
# The wheel over the list of figures above the chart moves its choice, an entry a notch.
choose_figure() {  # how many entries down
    local X Y WIDTH HEIGHT
    eval "$(window_geometry "$series")"
    xdotool mousemove $(( X + 830 )) $(( Y + 333 )) click --repeat "$1" --delay 100 5
    settle "$series"
}
# The table as CSV under the proposed name: the model's, with " - серия".
save_series
find_dialog 'Сохранить как' >/dev/null || fail "the series' save dialog has no focus"
xdotool key Return
wait_for_file "$out/касса - серия.csv" || fail "the series' table was not saved"
# The chart of the cashier's utilisation, two entries down from the departures it shows first.
choose_figure 2
shoot "$series" guide-14-series
# The chart alone, as a picture: the mean wait in the queue, nine entries further down.
choose_figure 9
save_series
write_through_dialog "$out/guide-15-series-chart.png"
xdotool key Escape
wait_closed 'Серия прогонов'

# The same series from the batch runner: every mean, deviation and interval the same number.
"$mardo_run" --quiet --replications 5 --seed 1 --sweep "Касса.service=2..4,3..5,4..6" \
    --csv "$out/batch.csv" "$model" >"$out/batch-series.txt" 2>"$out/batch.err" ||
    fail "mardo-run failed: $(cat "$out/batch.err")"
python3 - "$out/касса - серия.csv" "$out/batch.csv" <<'PY'
import csv, sys
saved = list(csv.reader(open(sys.argv[1], encoding="utf-8", newline="")))
batch = list(csv.reader(open(sys.argv[2], encoding="utf-8", newline="")))
# Both write the one tidy layout: a row per value, replication and figure, then the summary
# rows; the same experiment gives the same rows, number for number.
assert saved[0][0] == batch[0][0] == "Касса.service", (saved[0], batch[0][:1])
assert saved[0] == batch[0], (saved[0], batch[0])
assert len(saved) == len(batch), (len(saved), len(batch))
for mine, theirs in zip(saved[1:], batch[1:]):
    assert mine == theirs, "the window wrote %s, mardo-run %s" % (mine, theirs)
summaries = sum(1 for row in saved[1:] if row[5] == "summary")
assert summaries > 0, "no summary rows"
print("series: the window's %d rows are mardo-run's" % (len(saved) - 1))
PY

# The guide and the README show only pictures that this script makes.
docs="$(dirname "$0")/../../docs"
python3 - "$out" "$docs/guide.md" "$docs/../README.md" <<'PY'
import os, re, sys
made = {f for f in os.listdir(sys.argv[1]) if f.startswith("guide-")}
for page in sys.argv[2:]:
    shown = set(re.findall(r"images/(guide-[\w-]+\.png)", open(page, encoding="utf-8").read()))
    assert shown <= made, "%s shows pictures this script does not make: %s" % (page, shown - made)
PY
if [ -n "$guide" ]; then
    mkdir -p "$guide"
    rm -f "$guide"/guide-*.png
    cp "$out"/guide-*.png "$guide/"
    echo "guide pictures in $guide"
fi
echo "screenshots in $out"
