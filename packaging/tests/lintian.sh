#!/bin/sh
# Makes the Debian package of the build into a scratch folder and runs lintian on it: no errors.
# Usage: lintian.sh BUILD_FOLDER
set -eu
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
lintian --fail-on error --no-tag-display-limit "$deb"
echo "lintian: no errors in $(basename "$deb")"
