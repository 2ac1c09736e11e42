# Finding the windows of a program on the X display in DISPLAY, as the end-to-end scripts and
# the package check do.

# xdotool matches a name pattern with Cyrillic letters only in a UTF-8 locale, and a fresh machine
# may have none set (no LANG: the POSIX locale). C.UTF-8 is always there on Debian.
export LC_ALL=C.UTF-8
unset LANGUAGE

# A search ends in an X error when a window goes while it is read (a menu closing as a dialog
# opens, say): it is simply made again.
find_window() {  # the first visible window whose name matches, waiting up to 30 s
    local window
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || window=""
        if [ -n "$window" ]; then
            echo "$window"
            return 0
        fi
        sleep 0.2
    done
    return 1
}
# A dialog is found once it has the keyboard too: on a busy machine it may show a moment before
# it takes the focus, and keys typed meanwhile would go astray. Answers the focused window.
find_dialog() {  # name pattern
    local focused name
    find_window "$1" >/dev/null || return 1
    for _ in $(seq 100); do
        focused=$(xdotool getwindowfocus 2>/dev/null) || focused=""
        name=$(xdotool getwindowname "$focused" 2>/dev/null) || name=""
        if [ -n "$focused" ] && [[ $name =~ $1 ]]; then
            echo "$focused"
            return 0
        fi
        sleep 0.1
    done
    echo "\"$1\" showed, but the keyboard stayed with \"$name\"" >&2
    return 1
}
