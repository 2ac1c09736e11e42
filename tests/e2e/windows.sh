# Finding the windows of a program on the X display in DISPLAY, as the end-to-end scripts and
# the package check do.

# xdotool matches a name pattern with Cyrillic letters only in a UTF-8 locale, and a fresh machine
# may have none set (no LANG: the POSIX locale). C.UTF-8 is always there on Debian.
export LC_ALL=C.UTF-8
unset LANGUAGE

# Waits until the command succeeds, asking again every tenth of a second. A script waits for the
# window or the state its next gesture needs, never for a time, and sets no limit on how long
# that takes: a machine many times slower only takes longer, and a script that hangs is ctest's
# to end.
wait_until() {  # command...
    until "$@"; do
        sleep 0.1
    done
}

# A search ends in an X error when a window goes while it is read (a menu closing as a dialog
# opens, say): it is simply made again.
visible_window() {  # name pattern: prints the first visible window whose name matches
    local window
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || window=""
    [ -n "$window" ] && echo "$window"
}
find_window() {  # the first visible window whose name matches, once there is one
    wait_until visible_window "$1"
}

# What a window shows, as a checksum of its picture (the whole screen for root).
picture_sum() {  # window or root
    import -window "$1" rgb:- 2>/dev/null | md5sum
}
# Waits until a window's picture (the whole screen by default) stays the same over three looks
# in a row: what the last gesture changed has been drawn, and a screenshot shows it.
settle() {  # [window]
    local target=${1:-root} previous="" current same=0
    while [ "$same" -lt 2 ]; do
        current=$(picture_sum "$target")
        if [ "$current" = "$previous" ]; then
            same=$(( same + 1 ))
        else
            same=0
        fi
        previous=$current
    done
}

# A popup menu (a window the window manager does not frame, larger than the manager's own 1×1
# helper) open on the screen: keys typed now reach it, not the window under it. Prints it.
popup_window() {
    local window
    for window in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }'); do
        if xwininfo -id "$window" 2>/dev/null |
            awk '/Map State: IsViewable/ { v = 1 } /Override Redirect State: yes/ { o = 1 }
                 /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
                 END { exit !(v && o && w > 1 && h > 1) }'; then
            echo "$window"
            return 0
        fi
    done
    return 1
}
wait_popup() {  # prints the menu's window
    wait_until popup_window || fail "the menu did not open"
}
# Whether a window is no longer shown.
window_gone() {  # window
    ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# A dialog is found once it has the keyboard too: on a busy machine it may show a moment before
# it takes the focus, and keys typed meanwhile would go astray. It must then be above every other
# window, its owner included. Answers the focused window.
find_dialog() {  # name pattern
    local name=""
    find_window "$1" >/dev/null || return 1
    focused_matches() {
        local focused
        focused=$(xdotool getwindowfocus 2>/dev/null) || return 1
        name=$(xdotool getwindowname "$focused" 2>/dev/null) || return 1
        [[ $name =~ $1 ]] && echo "$focused"
    }
    local focused
    if focused=$(wait_until focused_matches "$1"); then
        stacked_over "$focused" || { echo "\"$1\" is not above the other windows" >&2; return 1; }
        echo "$focused"
        return 0
    fi
    echo "\"$1\" showed, but the keyboard stayed with another window" >&2
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
    local window owner=""
    window=$(printf '0x%x' "$1")
    [ $# -gt 1 ] && owner=$(printf '0x%x' "$2")
    is_stacked_over() {
        if [ -n "$owner" ]; then
            viewable_stacking | sed -n "/^$owner\$/,\$p" | grep -qxF "$window"
        else
            [ "$(viewable_stacking | tail -1)" = "$window" ]
        fi
    }
    wait_until is_stacked_over
}
