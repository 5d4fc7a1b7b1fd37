#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet, in the build's own Wine prefix.
#   run_under_wine.sh WINE64 PREFIX --init         creates the prefix and waits until it is ready
#   run_under_wine.sh WINE64 PREFIX PROGRAM ARGS   runs the program in it
set -euo pipefail
wine=$1
export WINEPREFIX=$2
shift 2
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask to download. A
# test's own overrides come after.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset DISPLAY WAYLAND_DISPLAY
if [ "${1:-}" = --init ]; then
  rm -rf "$WINEPREFIX"
  "$wine" wineboot --init </dev/null
  # wineboot returns before the prefix is written out; the server ends once it is.
  "$(dirname "$(readlink -f "$wine")")/wineserver" --wait
  exit 0
fi
exec "$wine" "$@" </dev/null
