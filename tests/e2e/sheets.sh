#!/usr/bin/env bash
# End to end: places a block of every kind on the diagram of the real program, running on a
# virtual X display, and opens every property sheet, the model's sheet and the value dialogs
# that the pages open, with a screenshot of every page and dialog in OUT_DIR.
# Usage: sheets.sh MARDO MARDO_RUN OUT_DIR. Exits 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

mardo=$1
mardo_run=$2
out=$3

source "$(dirname "$0")/session.sh"

# Two rows of four blocks and a third of one; the terminator goes last.
top=110
low=330
third=550
place 8 60 "$third"
place 0 60 "$top"
place 2 280 "$top"
place 3 500 "$top"
place 4 720 "$top"
place 5 60 "$low"
place 6 280 "$low"
place 7 500 "$low"
place 1 720 "$low"
name_block 280 "Прибор"
name_block 500 "Очередь"
name_block 720 "Ключ"

shoot() {  # window, file name
    settle "$1"
    import -window "$1" "$out/$2.png"
}

# Every page of a sheet, then Cancel.
shoot_pages() {  # x, top, sheet title, file name, number of pages
    local sheet
    sheet=$(open_sheet "$1" "$3" "$2")
    for page in $(seq "$5"); do
        shoot "$sheet" "$4-$page"
        next_page
    done
    xdotool key Escape
    wait_closed "$3"
}
shoot_pages 60 "$top" 'Свойства генератора' generator 3
shoot_pages 280 "$top" 'Свойства устройства обслуживания' device 3
shoot_pages 500 "$top" 'Свойства очереди' queue 3
shoot_pages 720 "$top" 'Свойства коммутирующего блока' switching 5
shoot_pages 60 "$low" 'Свойства копирующего блока' copying 4
shoot_pages 280 "$low" 'Свойства компонующего блока' assembling 3
shoot_pages 500 "$low" 'Свойства ожидающего блока' waiting 3
shoot_pages 720 "$low" 'Свойства терминатора' terminator 1
shoot_pages 60 "$third" 'Свойства многоканального устройства' multichannel 4

xdotool mousemove 600 600 click --repeat 2 --delay 80 1
sheet=$(find_dialog '^Свойства модели$') || fail "the model's sheet did not open"
shoot "$sheet" model-1
xdotool key Escape
wait_closed 'Свойства модели'

# A value dialog opened from a page, shot and cancelled. The keyboard is handed back to the sheet
# at once, before keys typed next could reach another window.
shoot_dialog() {  # title, file name
    local dialog
    dialog=$(find_dialog "^$1\$") || fail "the dialog \"$1\" did not open"
    shoot "$dialog" "$2"
    xdotool key Escape
    wait_closed "$1"
    xdotool windowfocus "$sheet"
}

# A special law's table: "Но&вый" comes after the law's drop-down and the table.
sheet=$(open_sheet 60 'Свойства генератора')
next_page 2
xdotool key Down Down Tab Tab space
shoot_dialog 'Добавить новый интервал' dialog-interval
shoot "$sheet" generator-special
xdotool key Escape
wait_closed 'Свойства генератора'

# The switching block by probability, then by block states: the rule's radio buttons, then
# "Ред&актировать" after the values' list.
for rule in probability state; do
    sheet=$(open_sheet 720 'Свойства коммутирующего блока')
    next_page
    xdotool key Down
    [ "$rule" = state ] && xdotool key Down
    next_page 2
    shoot "$sheet" "switching-values-$rule"
    xdotool key Tab space
    if [ "$rule" = state ]; then
        shoot_dialog 'Изменить блок и его состояние' dialog-block-state
    else
        shoot_dialog 'Изменить вероятность' dialog-probability
    fi
    xdotool key Escape
    wait_closed 'Свойства коммутирующего блока'
done

sheet=$(open_sheet 60 'Свойства копирующего блока' "$low")
next_page 2
xdotool key Tab space
shoot_dialog 'Изменить количество транзактов' dialog-copies
xdotool key Escape
wait_closed 'Свойства копирующего блока'

import -window root "$out/diagram.png"
echo "screenshots of every sheet in $out"
