#!/bin/sh
# Takes the AppStream screenshot from the real game, headless, with a fresh player:
#   screenshot.sh PROGRAM OUT.png
# The program runs tools/package/screenshot_input.txt (a new player's first classic level);
# its marked frame becomes OUT.png, to be published at the metainfo's screenshot address.
set -eu

program=${1:?usage: screenshot.sh PROGRAM OUT.png}
out=${2:?usage: screenshot.sh PROGRAM OUT.png}
script=$(cd "$(dirname "$0")" && pwd)/screenshot_input.txt

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/home"
if ! HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config \
  "$program" --headless --multiple --input="$script" --frames="$work/frames" \
  --exit-after=40000 >"$work/output.txt" 2>&1; then
  echo "screenshot.sh: the game failed:" >&2
  cat "$work/output.txt" >&2
  exit 1
fi
frame=$work/frames/frame_000000.png
if [ ! -f "$frame" ]; then
  echo "screenshot.sh: the game wrote no frame" >&2
  exit 1
fi
# The picture is to show a board: when the menus change under the input script, the frame
# would show a menu or a dialog instead, and the deal's log line would be missing.
log=$(find "$work/home" -name logfile.txt | head -n 1)
if [ -z "$log" ] || ! grep -q "dealt with seed" "$log"; then
  echo "screenshot.sh: the game reached no board; $(basename "$script") needs new steps" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$frame" "$out"
echo "$out"
