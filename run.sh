#!/usr/bin/env bash
# Orvix on a Debian 12 machine.
#   ./run.sh        install what is missing, build, start the desktop program
#                   (without a display: run orvix-cli on a bundled example instead)
#   ./run.sh test   install what is missing, build, run every test through ctest
# Environment: ORVIX_BUILD_DIR (default build), ORVIX_CMAKE_ARGS (extra configure arguments).
set -euo pipefail
cd "$(dirname "$0")"

mode="${1:-run}"
build_dir="${ORVIX_BUILD_DIR:-build}"

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev gemmi-dev tao-pegtl-dev
    locales fonts-dejavu-core xvfb xauth python3 python3-numpy gawk
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# The tests run once more under a German locale: numbers must not follow it.
ensure_german_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        echo "Generating the de_DE.UTF-8 locale"
        as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
        as_root locale-gen >/dev/null
    fi
}

build() {
    # shellcheck disable=SC2086
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${ORVIX_BUILD_TYPE:-Release}" ${ORVIX_CMAKE_ARGS:-} >/dev/null
    cmake --build "$build_dir" -j "$(nproc)"
}

install_missing
case "$mode" in
    test)
        ensure_german_locale
        build
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
        ;;
    run)
        build
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build_dir/src/app/orvix" ]; then
            exec "$build_dir/src/app/orvix"
        fi
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            echo "No display is available: orvix-cli orthogonalize-coordinates examples/quartz-fragment.cry (fractional into Cartesian coordinates):"
        fi
        "$build_dir/src/cli/orvix-cli" orthogonalize-coordinates examples/quartz-fragment.cry
        ;;
    *)
        echo "usage: ./run.sh [test]" >&2
        exit 2
        ;;
esac
