#!/usr/bin/env bash
# Regenerates the two pictures of the update window, resources/Banner.jpg and resources/Strip.gif. Both
# generators are deterministic; the outputs are committed and the build never runs this script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC2046
g++ -std=c++17 -O2 -Wall -Wextra -Werror $(pkg-config --cflags freetype2) "$here/MakeBanner.cpp" \
  -o "$work/MakeBanner" $(pkg-config --libs freetype2) -ljpeg
"$work/MakeBanner" "$here/Banner.jpg"
python3 "$here/make_strip.py" "$here/Strip.gif"
