# The set-up that the end-to-end scripts share: a virtual X display with the real program on it,
# its main window maximised and its palette over it, and the gestures a hand would make on the
# palette and on block windows. Sourced by a script after it has set mardo (the program) and out
# (its folder). Exits 77 (skipped) without Xvfb, openbox, xdotool, xclip or ImageMagick's import.

source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
command -v xclip >/dev/null || { echo "skipped: xclip is not installed"; exit 77; }

(cd "$out" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$out/runtime" exec "$mardo") \
    >"$out/mardo.log" 2>&1 &
started_pids+=($!)

main=$(find_window 'Mardo \[Редактор\]') || fail "the main window did not appear"
palette=$(find_window '^Блоки$') || fail "the palette did not appear"
# A tool window of the main window, which the window manager keeps above it.
stacked_over "$palette" "$main" || fail "the palette is not above the main window"
settle

# The kinds' codes in the palette's order, one entry each.
palette_kinds=$("$mardo_run" --list-kinds | cut -f1) || fail "mardo-run --list-kinds failed"
eval "$(window_geometry "$palette")"
entry_height=36
frame=$(( (HEIGHT - $(wc -w <<<"$palette_kinds") * entry_height) / 2 ))
entry_x=$(( X + WIDTH / 2 ))
entry_y() { echo $(( Y + frame + entry_height * $1 + entry_height / 2 )); }

# A drag with a few steps, as a hand would make it: each step once the pointer is there; the
# program takes them in order, and the drop is over once the screen has been drawn anew.
drag() {
    xdotool mousemove --sync "$1" "$2" mousedown 1
    xdotool mousemove --sync $(( $1 + 6 )) $(( $2 + 4 ))
    xdotool mousemove --sync $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    xdotool mousemove --sync "$3" "$4"
    xdotool mousemove --sync $(( $3 + 1 )) "$4"
    settle
    xdotool mouseup 1
    settle
}

# A block is placed by its kind's code in the model file (0 generator, 1 terminator, 2 device,
# 3 queue, 4 switching, 5 copying, 6 assembling, 7 waiting, 8 multichannel device); the palette
# lists the kinds in the order the batch runner's --list-kinds gives, so its row is found
# there. A block's top-left corner lands where it is dropped; a script places the terminator
# last, since its entry then leaves the palette.
palette_row() {  # kind code
    local row=0 code
    for code in $palette_kinds; do
        [ "$code" = "$1" ] && { echo "$row"; return; }
        row=$((row + 1))
    done
    fail "the palette has no kind $1"
}
place() {  # kind code, x, y
    drag "$entry_x" "$(entry_y "$(palette_row "$1")")" "$2" "$3"
}

# Rows of a block window at the top y: a 1-pixel frame, an 18-pixel caption, then rows of 17
# pixels.
row_y() { echo $(( ${2:-$top} + 1 + 18 + 17 * $1 + 8 )); }
col() { echo $(( $1 + 58 )); }

name_block() {  # x, name[, top]
    xdotool mousemove "$(col "$1")" "$(row_y 0 "${3:-$top}")" click --repeat 2 --delay 80 1
    find_dialog '^Имя блока$' >/dev/null || fail "the name dialog did not open"
    retype "$2"
    xdotool key Return
    wait_closed 'Имя блока'
    settle
}

# A double-click on a block's caption opens its property sheet; answers the sheet's window.
open_sheet() {  # x, sheet title[, top]
    xdotool mousemove $(( $1 + 40 )) $(( ${3:-$top} + 9 )) click --repeat 2 --delay 80 1
    find_dialog "^$2\$" || fail "the sheet \"$2\" did not open"
}

# A sheet opens with the focus in the first field of its first page; Ctrl+Tab moves to the
# next page and takes the focus to that page's first field. The keys that follow reach the
# same window after these, in order.
next_page() {  # how many pages on
    for _ in $(seq "${1:-1}"); do
        xdotool key ctrl+Tab
    done
}

# Replaces the text of the field that has the focus. The text is pasted, not typed: a program
# busy on a loaded machine may miss a typed key, and xdotool types a letter that is not on the
# keyboard by lending it a spare key, which a late reader sees as the letter lent last.
retype() {
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
    xdotool key ctrl+a ctrl+v
}

# Waits until no visible window has the title: the sheet was closed with OK.
wait_closed() {  # title
    closed() { [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
    wait_until closed "$1" || fail "\"$1\" did not close"
}

# The main window's menu bar: a click on a menu's title at its x offset, then an item picked with
# the arrow keys, separators skipped.
menu_command() {  # x offset of the menu's title, how many items down
    local X Y WIDTH HEIGHT
    eval "$(window_geometry "$main")"
    xdotool mousemove $(( X + $1 )) $(( Y + 10 )) click 1
    wait_popup >/dev/null
    for _ in $(seq "$2"); do
        xdotool key Down
    done
    xdotool key Return
}
file_menu=22
model_menu=278

# A line of a generator, a queue, a service device and a terminator at gen_x, queue_x, device_x
# and term_x along the top y: placed, named, and each output linked to the next block's input.
place_line() {
    place 0 "$gen_x" "$top"
    place 3 "$queue_x" "$top"
    place 2 "$device_x" "$top"
    place 1 "$term_x" "$top"
}
name_line() {  # names of the generator, the queue, the device and the terminator
    name_block "$gen_x" "$1"
    name_block "$queue_x" "$2"
    name_block "$device_x" "$3"
    name_block "$term_x" "$4"
}
link_line() {
    drag "$(col "$gen_x")" "$(row_y 1)" "$(col "$queue_x")" "$(row_y 1)"
    drag "$(col "$queue_x")" "$(row_y 2)" "$(col "$device_x")" "$(row_y 1)"
    drag "$(col "$device_x")" "$(row_y 2)" "$(col "$term_x")" "$(row_y 1)"
    xdotool mousemove 600 500 click 1
    settle
}

# On an open sheet's flow page, "Равномерный" (the entry after "Детерминированный") from min to
# max.
uniform_law() {  # min, max
    xdotool key Down Tab
    retype "$1"
    xdotool key Tab
    retype "$2"
}

# The model's sheet from a double-click on the empty diagram: the focus is on the checked stop
# rule, and Tab passes on to its value. Leaves the sheet open, with the stop value typed.
open_model_sheet() {  # stop value
    xdotool mousemove 600 500 click --repeat 2 --delay 80 1
    sheet=$(find_dialog '^Свойства модели$') || fail "the model's sheet did not open"
    xdotool key Tab
    retype "$1"
    settle "$sheet"
}

# Whether the file is there and not empty, once it is.
wait_for_file() {  # path
    wait_until test -s "$1"
}

# The path typed into the open save dialog; waits for the file.
write_through_dialog() {  # path[, the dialog's title]
    local dialog
    dialog=$(find_dialog "${2:-Сохранить как}") || fail "the save dialog did not open"
    settle "$dialog"
    retype "$1"
    xdotool key Return
    wait_for_file "$1" || fail "\"$1\" was not written"
}

# "&Файл", "&Сохранить" (or the keys given), and the path typed into the save dialog.
save_model() {  # path[, keys that open "Сохранить как" instead of the file menu's "Сохранить"]
    if [ -n "${2:-}" ]; then
        xdotool key "$2"
    else
        menu_command "$file_menu" 3
    fi
    write_through_dialog "$1"
}
