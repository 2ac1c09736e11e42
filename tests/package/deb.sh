#!/usr/bin/env bash
# The Debian package: made from a build folder with CPack, its fields and files checked, then
# installed into a fresh Debian 12 root, which apt fills with nothing but what the package
# depends on. There the installed mardo-run simulates an installed sample, and the installed
# mardo opens it on a virtual X display for a screenshot (OUT_DIR/installed-mardo.png).
# Needs root, or sudo, for the fresh root; and the network, for its packages.
# Usage: deb.sh BUILD_DIR OUT_DIR. Exits 77 (skipped) without the tools it needs.
set -euo pipefail

build=$(realpath "$1")
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)

for tool in cpack dpkg-shlibdeps desktop-file-validate mmdebstrap; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
source "$here/../e2e/display.sh"

(cd "$build" && cpack -G DEB -B "$out/package" >"$out/cpack.log" 2>&1) ||
    fail "cpack failed: $(tail -20 "$out/cpack.log")"
deb=$(ls "$out"/package/mardo_*.deb)
echo "package: $deb ($(stat -c %s "$deb") bytes)"

# The dependencies are those dpkg-shlibdeps computed from what the programs link against.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
    grep -qxF "$package" <<<"$names" || fail "Depends does not name $package"
done

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$out/contents.txt"
expected=(./usr/bin/mardo ./usr/bin/mardo-run ./usr/share/applications/mardo.desktop
          ./usr/share/mime/packages/mardo.xml ./usr/share/icons/hicolor/scalable/apps/mardo.svg
          ./usr/share/mardo/examples/README.md ./usr/share/doc/mardo/guide.md
          ./usr/share/doc/mardo/images/guide-01-empty.png ./usr/share/doc/mardo/copyright)
for size in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/mardo.png")
done
for example in "$here"/../../examples/*.mrd; do
    expected+=("./usr/share/mardo/examples/$(basename "$example")")
done
for path in "${expected[@]}"; do
    grep -qxF "$path" "$out/contents.txt" || fail "the package lacks $path"
done

dpkg-deb -x "$deb" "$out/contents"
# Debian's machine-readable copyright file, naming the licence the repository's LICENSE holds.
copyright="$out/contents/usr/share/doc/mardo/copyright"
head -1 "$copyright" | grep -qx 'Format: https://.*/copyright-format/1.0/' ||
    fail "the copyright file is not in Debian's machine-readable format"
grep -qx 'License: GPL-3.0+' "$copyright" || fail "the copyright file names no GPL-3.0+ licence"
desktop-file-validate "$out/contents/usr/share/applications/mardo.desktop" \
    >"$out/desktop-file-validate.log" 2>&1 || true
if grep -q "error:" "$out/desktop-file-validate.log"; then
    fail "the desktop entry is not valid: $(cat "$out/desktop-file-validate.log")"
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo --preserve-env=DISPLAY)
echo "installing into a fresh Debian 12 root (this downloads its packages)"
"${sudo[@]}" mmdebstrap --variant=apt --quiet \
    --hook-dir=/usr/share/mmdebstrap/hooks/file-mirror-automount --include="$deb" \
    --customize-hook="bash '$here/in-root.sh' \"\$1\" '$out'" \
    bookworm /dev/null >"$out/mmdebstrap.log" 2>&1 ||
    fail "the fresh root failed: $(tail -30 "$out/mmdebstrap.log")"
cat "$out/in-root.log"
echo "the package installs and runs; screenshot in $out/installed-mardo.png"
