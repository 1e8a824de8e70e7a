#!/bin/sh
# Installs the build into a scratch folder (DESTDIR) and checks that every file a desktop expects
# is there, and that the installed mwtool runs and tells its version.
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
for size in 16 32 48 64 128 256; do
  for f in apps/$id.png mimetypes/application-x-mission-workshop-qra.png; do
    [ -f "$root/share/icons/hicolor/${size}x$size/$f" ] || { echo "missing: /usr/share/icons/hicolor/${size}x$size/$f"; missing=1; }
  done
done
[ $missing -eq 0 ] || exit 1
told=$("$root/bin/mwtool" --version)
[ "$told" = "mwtool $version" ] || { echo "mwtool --version said: $told"; exit 1; }
echo "installed: every file in place; mwtool --version: $told"
