#!/usr/bin/env bash
# Installs what is missing, builds Kelmora, starts a simulated recorder and a simulated
# line of 20 trains on loopback, and opens the main dialog pointed at them. The demo keeps
# its own settings and train list in build/demo/Xml, so a user's own files are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target kelmora kelmora-cli kelmora-recorder-sim

bin=build/default
demo=build/demo
mkdir -p "$demo/Xml"
cp "$bin/kelmora" "$bin/kelmora-cli" "$demo/"

# The simulated recorder: 5 pages of 40 entries over the last 10 days, a blocked
# recording every 9th entry, Korean texts; port chosen by the system.
simlog=$(mktemp)
"$bin/kelmora-recorder-sim" --pages 5 --items 40 --days 10 --block-every 9 >"$simlog" 2>&1 &
sim=$!
# The simulated line: 20 trains on 127.0.0.10 to 127.0.0.29 with the train list
# CheckTrains2.xml beside the settings, for "2호선확인" (layout: kelmora-recorder-sim --help).
linelog=$(mktemp)
"$bin/kelmora-recorder-sim" --line 20 --trains-file "$demo/Xml/CheckTrains2.xml" >"$linelog" 2>&1 &
line=$!
trap 'kill $sim $line 2>/dev/null || true; rm -f "$simlog" "$linelog"' EXIT
port=""
for _ in $(seq 1 50); do
  port=$(sed -n 's/^recorder listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$simlog" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "The simulated recorder did not start:"; cat "$simlog"; exit 1
fi
cli="$demo/kelmora-cli"
"$cli" settings set VornAddress 127.0.0.1 >/dev/null
"$cli" settings set VornPort "$port" >/dev/null
echo "Simulated recorder on 127.0.0.1:$port (its requests: $simlog)"
for _ in $(seq 1 100); do
  grep -q '^line of 20 trains ready' "$linelog" && break
  sleep 0.1
done
if ! grep -q '^line of 20 trains ready' "$linelog"; then
  echo "The simulated line did not start:"; cat "$linelog"; exit 1
fi
echo "Simulated line of 20 trains on 127.0.0.10-29 ($demo/Xml/CheckTrains2.xml; requests: $linelog)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat <<MSG
No display found (DISPLAY and WAYLAND_DISPLAY are not set), so the main dialog cannot open.
  Offscreen, for screenshots and tests:  QT_QPA_PLATFORM=offscreen $demo/kelmora
  Under a virtual display:              xvfb-run $demo/kelmora
  On the terminal, the same commands:   $cli --help
Here is what the terminal commands say about the simulated recorder:
MSG
  for cmd in probe info errors; do
    echo "\$ kelmora-cli $cmd"
    "$cli" "$cmd" 2>&1 | head -n 12 || true
  done
  # The line status dialog's check of the simulated line (it finds faults on purpose).
  echo "\$ kelmora-cli linecheck"
  "$cli" linecheck 2>&1 || true
  exit 0
fi
"$demo/kelmora"
