#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those that are missing.
# Usage: scripts/install-deps.sh [build] [gui] [test] [bench] [fuzz] [package] [package-test]
#        [icon]   (default: build gui)
set -euo pipefail

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(build gui)

packages=()
for group in "${groups[@]}"; do
    case "$group" in
        build) packages+=(g++ cmake ninja-build ccache pkg-config librandom123-dev nlohmann-json3-dev libboost-dev) ;;
        gui)   packages+=(qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev fonts-liberation) ;;
        test)  packages+=(libgtest-dev xvfb openbox xdotool x11-utils xclip imagemagick python3 parallel) ;;
        bench) packages+=(libbenchmark-dev time python3) ;;
        fuzz)  packages+=(clang libclang-rt-14-dev llvm-14) ;;
        package) packages+=(dpkg-dev file) ;;
        package-test) packages+=(desktop-file-utils mmdebstrap) ;;
        icon)  packages+=(librsvg2-bin) ;;
        *) echo "unknown package group: $group" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
