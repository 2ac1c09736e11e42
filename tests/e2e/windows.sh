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
# it takes the focus, and keys typed meanwhile would go astray. It must then be above every other
# window, its owner included. Answers the focused window.
find_dialog() {  # name pattern
    local focused name
    find_window "$1" >/dev/null || return 1
    for _ in $(seq 100); do
        focused=$(xdotool getwindowfocus 2>/dev/null) || focused=""
        name=$(xdotool getwindowname "$focused" 2>/dev/null) || name=""
        if [ -n "$focused" ] && [[ $name =~ $1 ]]; then
            stacked_over "$focused" || { echo "\"$1\" is not above the other windows" >&2; return 1; }
            echo "$focused"
            return 0
        fi
        sleep 0.1
    done
    echo "\"$1\" showed, but the keyboard stayed with \"$name\"" >&2
    return 1
}

# A window's place on the screen and size, as X, Y, WIDTH and HEIGHT for eval. xdotool's own
# getwindowgeometry counts a window manager's frame twice.
window_geometry() {  # window
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { print "X=" $2 + 0 }
        /Absolute upper-left Y/ { print "Y=" $2 + 0 }
        /^ *Width/ { print "WIDTH=" $2 + 0 }
        /^ *Height/ { print "HEIGHT=" $2 + 0 }'
}

# The windows that the window manager shows, from the bottom of the stack to its top.
viewable_stacking() {
    local window
    for window in $(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed 's/.*# //; s/,//g'); do
        if xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable'; then
            echo "$window"
        fi
    done
}

# Whether the window manager shows the first window above the second (above every other one
# without a second), as it keeps a tool window or a dialog over its owner; a restack may take a
# moment.
stacked_over() {  # window[, owner]
    local window owner
    window=$(printf '0x%x' "$1")
    for _ in $(seq 50); do
        if [ $# -gt 1 ]; then
            owner=$(printf '0x%x' "$2")
            viewable_stacking | sed -n "/^$owner\$/,\$p" | grep -qxF "$window" && return 0
        else
            [ "$(viewable_stacking | tail -1)" = "$window" ] && return 0
        fi
        sleep 0.1
    done
    return 1
}
