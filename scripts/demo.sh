#!/usr/bin/env bash
# Installs what is missing, builds Kelmora and opens its main dialog.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target kelmora kelmora-cli

# The program keeps its settings in the folder Xml beside itself: build/default/Xml here.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat <<MSG
No display found (DISPLAY and WAYLAND_DISPLAY are not set), so the main dialog cannot open.
  Offscreen, for screenshots and tests:  QT_QPA_PLATFORM=offscreen build/default/kelmora
  Under a virtual display:              xvfb-run build/default/kelmora
  On the terminal:                      build/default/kelmora-cli --help
                                        build/default/kelmora-cli probe --address 127.0.0.1 --port 8080
MSG
  exit 0
fi
exec build/default/kelmora
