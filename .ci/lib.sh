# SPDX-License-Identifier: MIT
# Shared by ./run, ./test and .ci/run: the Debian packages the build needs and the builds.

KV_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libglib2.0-dev libicu-dev libplist-dev libgtk-3-dev libcairo2-dev libpango1.0-dev
    fonts-noto-cjk fonts-babelstone-han fonts-hanazono libibus-1.0-dev ibus xvfb xauth rime-data-cangjie5
    ibus-gtk3 gir1.2-ibus-1.0 gir1.2-gtk-3.0 python3-gi dbus xdotool x11-utils imagemagick openbox xcompmgr
    at-spi2-core libatk-adaptor python3-pyatspi
    dpkg-dev lintian appstream
    fcitx5 fcitx5-modules fcitx5-frontend-gtk3 fcitx5-table libfcitx5core-dev libfcitx5config-dev
    libfcitx5utils-dev fcitx5-modules-dev libime-bin
)

kv_install_packages() {
    local missing=()
    for p in "${KV_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# kv_build DIR [cmake options...]
kv_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}
