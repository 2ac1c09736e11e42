# A virtual X display for a script that drives windows on it: Xvfb on a free display number with
# openbox managing its windows, as a desktop would, both stopped when the script ends together
# with every process the script lists in started_pids; a way to fail with a picture of the
# screen, and the window look-ups of windows.sh. Sourced after out (the script's folder, made
# afresh) is set. Exits 77 (skipped) without Xvfb, openbox, xdotool or ImageMagick's import.

for tool in Xvfb openbox xdotool xdpyinfo xprop import python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

source "$(dirname "${BASH_SOURCE[0]}")/windows.sh"

rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"

xvfb_pid=""
wm_pid=""
started_pids=()
cleanup() {
    for pid in "${started_pids[@]}" $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    # The next script may take the same display number: it finds it free once the server is gone.
    for pid in $wm_pid $xvfb_pid; do
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

# Xvfb chooses a free display number itself and writes it once it listens: scripts started
# together (ctest runs them side by side) can never pick the same one. Without -noreset the
# server starts afresh whenever its last client leaves (the xdpyinfo below), and refuses a
# window manager that connects meanwhile: one start in ten failed so.
Xvfb -displayfd 3 -screen 0 1280x900x24 -wr -noreset -nolisten tcp 3>"$out/display-number" \
    >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until test -s "$out/display-number"
[ -s "$out/display-number" ] || { echo "the virtual display did not start"; exit 1; }
display=":$(tr -d '[:space:]' <"$out/display-number")"
export DISPLAY=$display
# The display is ready when it answers, which a busy machine can delay by seconds.
answers() { xdpyinfo >/dev/null 2>&1; }
wait_until answers
xdpyinfo >/dev/null 2>&1 || { echo "the virtual display $display did not start"; exit 1; }

# Without a window manager a window stays wherever it was mapped, so stacking faults that every
# desktop shows (a tool window under its owner) would go unseen.
openbox --sm-disable >"$out/openbox.log" 2>&1 &
wm_pid=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until managed
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "openbox did not take the display $display"; exit 1; }

# To the error output, which a failure inside a command substitution does not swallow.
fail() {
    echo "FAILED: $*" >&2
    import -window root "$out/failure.png" 2>/dev/null || true
    exit 1
}

