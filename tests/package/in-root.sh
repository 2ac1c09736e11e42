#!/usr/bin/env bash
# Runs in a fresh root that holds the package and what it depends on, and nothing else: the
# installed programs on an installed sample. The X display is the caller's.
# Usage: in-root.sh ROOT OUT_DIR
set -euo pipefail

root=$1
out=$2
exec > >(tee "$out/in-root.log") 2>&1
source "$(dirname "$0")/../e2e/windows.sh"

chroot "$root" dpkg-query -W -f='${Package} ${Version} ${Status}\n' mardo
if chroot "$root" ldd /usr/bin/mardo /usr/bin/mardo-run | grep "not found"; then
    echo "FAILED: libraries missing in the fresh root"
    exit 1
fi
echo "installed packages in the fresh root: $(chroot "$root" dpkg-query -W | wc -l)"

sample=/usr/share/mardo/examples/single-channel.mrd
chroot "$root" mardo-run --json "$sample" >"$out/installed-run.json"
python3 - "$out/installed-run.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
# The figures the samples' README gives for this model.
assert report["check"] == "passed", report["check"]
assert (report["modelTime"], report["departed"]) == (10000, 1854), report
print("installed mardo-run: model time", report["modelTime"], "departed", report["departed"])
PY

mkdir -p "$root/tmp/runtime"
chmod 700 "$root/tmp/runtime"
chroot "$root" env -i HOME=/root DISPLAY="$DISPLAY" XDG_RUNTIME_DIR=/tmp/runtime \
    QT_QPA_PLATFORM=xcb mardo "$sample" >"$out/installed-mardo.log" 2>&1 &
mardo_pid=$!
# The title's Cyrillic part is left out: in a hook's environment xdotool matches no pattern that
# holds one.
window=$(find_window '^single-channel\.mrd - Mardo ') || true
if [ -z "$window" ]; then
    kill "$mardo_pid" 2>/dev/null || true
    echo "FAILED: the installed mardo showed no window with the sample; its output:"
    cat "$out/installed-mardo.log"
    exit 1
fi
settle
import -window root "$out/installed-mardo.png"
kill "$mardo_pid"
wait "$mardo_pid" 2>/dev/null || true
echo "installed mardo opened $sample"
