#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh test   install what is missing, build, run every test
#   scripts/dev.sh run    install what is missing, build, start the application on the simulator
#   scripts/dev.sh package  install the build dependencies, build the Debian package from
#                           debian/ (its suites included) and check it with lintian
# Environment: BUILD_DIR (default build), CMAKE_ARGS (extra configure arguments), JOBS.
set -euo pipefail

cd "$(dirname "$0")/.."
mode=${1:-test}
shift || true
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-multimedia-dev libqt6multimedia6
  libsqlite3-dev libgl-dev libxkbcommon-dev
  # Fonts for the scripts messages arrive in: Chinese/Japanese/Korean (compact, under 2 MB)
  # and emoji; Latin, Greek, Cyrillic and Arabic come with DejaVu, which Qt pulls in.
  fonts-wqy-microhei
  fonts-noto-color-emoji
  libmm-glib-dev
  dbus-daemon
  appstream
)
# Only for "package"; the build dependencies come from debian/control.
package_tools=(lintian dpkg-dev debhelper)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

build() {
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    # Relative paths in the cache keys, so another checkout of the tree reuses the objects.
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  fi
  # shellcheck disable=SC2086
  cmake -S . -B "$BUILD_DIR" -G Ninja "${launcher[@]}" ${CMAKE_ARGS:-}
  cmake --build "$BUILD_DIR" -j "$JOBS"
}

[ "$mode" = package ] && packages+=("${package_tools[@]}")
install_missing
case "$mode" in
  test)
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"
    ;;
  run)
    build
    exec "$BUILD_DIR/bin/dialcrest" "$@"
    ;;
  package)
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq ./
    # The package's own build (its flags, its folder); a compiler cache only speeds it up.
    if command -v ccache >/dev/null; then
      export DIALCREST_CMAKE_ARGS="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
      export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    fi
    version=$(dpkg-parsechangelog -S Version)
    DEB_BUILD_OPTIONS="parallel=$JOBS" dpkg-buildpackage -us -uc -b
    # dpkg-buildpackage writes beside the source tree; keep the results in the build folder.
    mkdir -p "$BUILD_DIR"
    mv ../dialcrest_"$version"_* ../dialcrest-dbgsym_"$version"_* "$BUILD_DIR"/ 2>/dev/null || true
    lintian --fail-on error,warning "$BUILD_DIR"/dialcrest_"$version"_*.changes
    ;;
  *)
    echo "usage: $0 test|run|package [application arguments]" >&2
    exit 2
    ;;
esac
