#!/usr/bin/env bash
# Renders the artwork sources in resources/src/ to the files the program embeds (resources/*).
# The rendered files are committed; run this only after changing a source.
#
# Needs rsvg-convert (librsvg2-bin), ImageMagick and the Tahoma-compatible fonts of fonts-wine;
# installs whichever is missing.
set -euo pipefail
cd "$(dirname "$0")/../resources"

wine_fonts=/usr/share/wine/fonts
missing=()
command -v rsvg-convert >/dev/null || missing+=(librsvg2-bin)
command -v convert >/dev/null || missing+=(imagemagick)
[ -f "$wine_fonts/tahoma.ttf" ] && [ -f "$wine_fonts/tahomabd.ttf" ] || missing+=(fonts-wine)
command -v fc-match >/dev/null || missing+=(fontconfig)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fontconfig does not search fonts-wine's folder; a private configuration adds it so "Tahoma" in the
# sources finds the real outlines instead of a fallback with other widths.
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$wine_fonts</dir>
  <cachedir>$work/fontcache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE="$work/fonts.conf"
if [ "$(fc-match -f '%{file}' 'Tahoma:bold')" != "$wine_fonts/tahomabd.ttf" ]; then
    echo "render-artwork: Tahoma Bold not found in $wine_fonts" >&2
    exit 1
fi

svg() { rsvg-convert "$@"; }

# The logo: 424 x 74, 24 bits per pixel, a plain BITMAPINFOHEADER bitmap without alpha.
svg src/logo.svg -o "$work/logo.png"
convert "$work/logo.png" -background white -alpha remove -alpha off -type TrueColor BMP3:logo.bmp

# The icon sizes with alpha; 128 and 48 come from the main drawing, 32 and 16 from their own pixel-fitted ones.
svg -w 128 -h 128 src/icon.svg -o icon-128.png
svg -w 48 -h 48 src/icon.svg -o icon-48.png
svg src/icon-32.svg -o icon-32.png
svg src/icon-16.svg -o icon-16.png
for png in icon-128.png icon-48.png icon-32.png icon-16.png; do
    convert "$png" -strip "PNG32:$png"
done

# The .ico: the four alpha images first (readers that take the first image of a size get the best one), then the
# 32 and 16 pixel images again in 256 colours, whose transparency is the one-bit mask.
# The palette step stays inside the one command: a palette image written out and read back becomes a direct-colour one.
palette=(-channel A -threshold 50% +channel +dither -colors 256)
convert icon-128.png icon-48.png icon-32.png icon-16.png \
    \( icon-32.png "${palette[@]}" \) \( icon-16.png "${palette[@]}" \) -strip ICO:tarnwick.ico

# The status bar picture: 14 x 14, drawn on whole pixels, so GIF's one-bit transparency loses nothing.
svg src/status.svg -o "$work/status.png"
convert "$work/status.png" -channel A -threshold 50% +channel -strip GIF:status.gif

# The client component's badge.
svg src/quontocsock.svg -o "$work/quontocsock.png"
convert "$work/quontocsock.png" -background white -alpha remove -alpha off -strip -sampling-factor 1x1 -quality 92 \
    JPEG:quontocsock.jpg

for f in logo.bmp tarnwick.ico icon-128.png icon-48.png icon-32.png icon-16.png status.gif quontocsock.jpg; do
    printf '%-16s %7d bytes\n' "$f" "$(stat -c %s "$f")"
done
