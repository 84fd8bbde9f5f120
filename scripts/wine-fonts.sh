#!/bin/sh
# Puts Wine's own fonts (Debian package fonts-wine) into a prefix's C:\windows\Fonts.
#   wine-fonts.sh <prefix>
# This Wine does not find its font folder (/usr/share/wine/fonts) by itself, so without them a prefix lacks the
# symbol font Marlett that draws caption buttons (windows show the letters "0 1 r" instead) and Tahoma, the
# system's dialog font (Liberation Sans stands in).
set -e
fonts=/usr/share/wine/fonts
[ -d "$fonts" ] || { echo "wine-fonts: $fonts is missing: install the package fonts-wine" >&2; exit 1; }
mkdir -p "$1/drive_c/windows/Fonts"
cp "$fonts"/*.ttf "$1/drive_c/windows/Fonts/"
