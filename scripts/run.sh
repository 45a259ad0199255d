#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo catalogue once, starts the reference catalogue
# server on 127.0.0.1:8650 and runs Ravelo against it: the program's windows when a display is
# available (DISPLAY or WAYLAND_DISPLAY set), otherwise a short ravelo-cli session.
#   scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build}
BIN="$BUILD_DIR/bin"
DEMO="$BUILD_DIR/demo-catalogue"
PORT=8650 # the built-in default address of the catalogue

# The demo builder stamps its catalogues (DemoBuilder::FormatVersion); one made by an older builder
# lacks the current emulator packages, so it is made again.
DEMO_FORMAT=demo-emu-1
if [ ! -f "$DEMO/.complete" ] || [ "$(cat "$DEMO/builder-version" 2>/dev/null)" != "$DEMO_FORMAT" ]; then
  echo "run: building the demo catalogue in $DEMO"
  rm -rf "$DEMO"
  "$BIN/ravelo-server" build-demo "$DEMO"
  touch "$DEMO/.complete"
fi

LOG="$BUILD_DIR/ravelo-server.log"
"$BIN/ravelo-server" serve --root "$DEMO" --host 127.0.0.1 --port "$PORT" --access-log "$LOG" &
SERVER=$!
trap 'kill -TERM $SERVER 2>/dev/null; wait $SERVER 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null && break
  kill -0 $SERVER 2>/dev/null || { echo "run: ravelo-server did not start (see $LOG)" >&2; exit 1; }
  sleep 0.1
done
echo "run: catalogue server on http://127.0.0.1:$PORT (log: $LOG)"

# The session keeps its games and emulators in one folder of the build tree.
HOME_DIR="$PWD/$BUILD_DIR/demo-home"
mkdir -p "$HOME_DIR"
[ -f "$HOME_DIR/ravelo.cfg" ] || printf '[Set]\nRomPath=%s/games/\n' "$HOME_DIR" > "$HOME_DIR/ravelo.cfg"
export RAVELO_HOME="$HOME_DIR"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run: opening Ravelo (close it from its tray icon's menu, or with IsTray=0 from its close button)"
  "$BIN/ravelo"
  exit $?
fi

CLI="$BIN/ravelo-cli"
# No display: a short ravelo-cli session. The build tree is a portable install whose default
# address is this server.
echo "== ravelo-cli list"
"$CLI" list
echo "== ravelo-cli list --order hot --page 2"
"$CLI" list --order hot --page 2
echo "== ravelo-cli search 三国"
"$CLI" search 三国
first=$("$CLI" list | head -n 1 | cut -f1)
echo "== ravelo-cli info $first"
"$CLI" info "$first"

# Install a game and play it: the emulator is fetched on first use, its key and settings files go in
# and come back.
# The demo emulator runs without its window unless asked (RAVELO_DEMO_EMU_HEADLESS=0 shows it; Esc ends it).
export RAVELO_DEMO_EMU_HEADLESS=${RAVELO_DEMO_EMU_HEADLESS:-1}
game=$("$CLI" list --system 125 | head -n 1 | cut -f1)
echo "== ravelo-cli install $game"
"$CLI" install "$game"
echo "== ravelo-cli launch $game --input keyboard"
"$CLI" launch "$game" --input keyboard
echo "== ravelo-cli emulators"
"$CLI" emulators
