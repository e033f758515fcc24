#!/usr/bin/env bash
# Builds the programs, starts the bus simulator on a free COM number and the
# GUI on that port, so the program can be tried without an adapter. With an
# adapter, start build/apps/tunvexa/Tunvexa directly instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ports="${XDG_CONFIG_HOME:-$HOME/.config}/ZEB/ports"
com=""
for n in $(seq 99 -1 20); do
  if [ ! -e "$ports/com$n" ] && [ ! -L "$ports/com$n" ]; then com=$n; break; fi
done
[ -n "$com" ] || { echo "no free COM number for the simulator" >&2; exit 1; }
fifo=$(mktemp -u); mkfifo "$fifo"
build/apps/tunvexa-sim/tunvexa-sim --com "$com" "$@" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$fifo"' EXIT
read -r line <"$fifo"
echo "$line"
cat "$fifo" >/dev/null &
build/apps/tunvexa/Tunvexa --com "$com"
