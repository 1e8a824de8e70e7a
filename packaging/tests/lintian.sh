#!/bin/sh
# Builds the release programs as scripts/package does, makes their Debian package into a scratch
# folder and runs lintian on it: no errors. The package checked is the one a user installs.
# Usage: lintian.sh SOURCE_FOLDER
set -eu
source=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Not under the sanitizers of the test build that runs this test.
env -u ASAN_OPTIONS -u UBSAN_OPTIONS "$source/scripts/build-release" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }
(cd "$source/build-package" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
lintian --fail-on error --no-tag-display-limit "$deb"
echo "lintian: no errors in $(basename "$deb"), built as scripts/package builds it"
