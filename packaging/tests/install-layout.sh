#!/bin/sh
# Installs the build into a scratch folder (DESTDIR) and checks that every file a desktop expects
# is there, that each PNG icon is as large as its folder says, and that the installed programs run
# and tell their version and help without a display.
# Usage: install-layout.sh BUILD_FOLDER APP_ID VERSION
set -eu
build=$1 id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
missing=0
for f in \
  bin/mission-workshop bin/mwtool \
  share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml \
  share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/scalable/mimetypes/application-x-mission-workshop-qra.svg \
  share/man/man1/mission-workshop.1.gz share/man/man1/mwtool.1.gz \
  share/bash-completion/completions/mwtool \
  share/doc/mission-workshop/copyright
do
  [ -f "$root/$f" ] || { echo "missing: /usr/$f"; missing=1; }
done
# A PNG's width and height from its header: the signature, then the IHDR chunk's two numbers.
png_size() {
  set -- $(od -An -tu1 -N24 "$1")
  [ "$1 $2 $3 $4" = "137 80 78 71" ] || { echo "not a PNG"; return; }
  echo "$(( (${17} << 24) + (${18} << 16) + (${19} << 8) + ${20} ))x$(( (${21} << 24) + (${22} << 16) + (${23} << 8) + ${24} ))"
}
for size in 16 32 48 64 128 256; do
  for f in apps/$id.png mimetypes/application-x-mission-workshop-qra.png; do
    png="$root/share/icons/hicolor/${size}x$size/$f"
    if [ ! -f "$png" ]; then
      echo "missing: /usr/share/icons/hicolor/${size}x$size/$f"; missing=1
    elif [ "$(png_size "$png")" != "${size}x$size" ]; then
      echo "/usr/share/icons/hicolor/${size}x$size/$f is $(png_size "$png")"; missing=1
    fi
  done
done
[ $missing -eq 0 ] || exit 1
told=$("$root/bin/mwtool" --version)
[ "$told" = "mwtool $version" ] || { echo "mwtool --version said: $told"; exit 1; }
# The editor answers these before it needs a display: none is given.
nodisplay="env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="
editor=$($nodisplay "$root/bin/mission-workshop" --version)
[ "$editor" = "mission-workshop $version" ] || { echo "mission-workshop --version said: $editor"; exit 1; }
$nodisplay "$root/bin/mission-workshop" --help | grep -q "^Usage: mission-workshop " ||
  { echo "mission-workshop --help tells no usage"; exit 1; }
echo "installed: every file in place, the icons of their sizes; mwtool --version: $told; $editor"
