#!/bin/sh
# Runs a program that needs a display: on the one set, or on a virtual one when none is.
if [ -n "$DISPLAY" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1600x1000x24" "$@"
