#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates the screenshots in docs/: the demo messages in the English and the Arabic
# interface at two window sizes, each from a fresh data folder, on the offscreen platform
# with a screen large enough for the bigger size, and with the fonts scripts/dev.sh installs
# only (tests/fonts.conf), so that the pictures do not depend on the machine's other fonts.
#   tools/screenshots.sh [path/to/dialcrest]   (default: build/bin/dialcrest)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin/dialcrest}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo '{"screens":[{"name":"shot","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96}]}' \
  > "$work/screen.json"
for lang in en ar; do
  for size in 960x640 1380x820; do
    data="$work/data-$lang-$size"
    mkdir -p "$data"
    printf '[mainframe]\nsize=%s\n' "$size" > "$data/dialcrest.ini"
    FONTCONFIG_FILE="$PWD/tests/fonts.conf" LC_ALL=C.UTF-8 TZ=UTC \
      QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" \
      "$bin" --data "$data" --language "$lang" --screenshot "docs/screenshot-$lang-$size.png"
  done
done
cp docs/screenshot-en-960x640.png docs/screenshot.png
