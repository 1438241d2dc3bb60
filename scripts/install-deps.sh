#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the game and the tests need, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
    libglew-dev libgl-dev libegl-dev libgl1-mesa-dri libegl1 libegl-mesa0 mesa-utils
    rapidjson-dev librapidxml-dev zlib1g-dev
    libgtest-dev googletest libbenchmark-dev
    libcairo2-dev libmp3lame-dev fonts-dejavu-core libpng-dev libjpeg62-turbo-dev libfreetype-dev
    xvfb xauth
    desktop-file-utils appstream lintian
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
