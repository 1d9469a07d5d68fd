#!/bin/bash
# Starts the game on a private X server, clicks once on the board, waits for
# the computer's answer and saves a screenshot of the whole screen.
#
#   tools/screenshot.sh [OUTPUT.png [PROGRAM [X Y]]]
#
#   OUTPUT.png  where the screenshot goes (default: fourfall-screenshot.png)
#   PROGRAM     the program to start, run from the repository root so that it
#               finds images/ (default: build/ui/fourfall)
#   X Y         where to click, in pixels inside the program's window; the
#               default is the middle of the board's middle column (the fourth
#               from the left) in the window as it opens
#
# Environment: WAIT seconds to wait after the click (default 3), TIMEOUT
# seconds to wait for the window (default 20), SCREEN the X screen size
# (default 1024x768x24), CAPTURE "screen" (default) or "window" for the
# program's window alone. Other variables, such as QT_SCALE_FACTOR, reach the
# program unchanged.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
output=${1:-fourfall-screenshot.png}
program=${2:-build/ui/fourfall}
click_x=${3:-230}
click_y=${4:-306}
wait_after=${WAIT:-3}
timeout=${TIMEOUT:-20}
screen=${SCREEN:-1024x768x24}
capture=${CAPTURE:-screen}
case $capture in screen | window) ;; *) echo "screenshot: CAPTURE must be screen or window" >&2; exit 2 ;; esac

for tool in Xvfb xdotool import; do
    command -v "$tool" > /dev/null || { echo "screenshot: $tool is not installed" >&2; exit 2; }
done
case $output in /*) ;; *) output=$PWD/$output ;; esac
cd "$repo"
if [[ $program != */* ]]; then
    program=$(command -v "$program") || { echo "screenshot: $2 not found" >&2; exit 2; }
fi
[[ -x $program ]] || { echo "screenshot: $program is not an executable program" >&2; exit 2; }

check_name=screenshot
source "$repo/tools/check_session.sh"
StartXvfb "$screen" "$timeout"

"$program" > "$work/app.log" 2>&1 &
app_pid=$!
Track "$app_pid"

# The window: by the program's process id, or else by its name or class.
name=$(basename "$program")
window=""
for ((i = 0; i < timeout * 5; i++)); do
    if ! kill -0 "$app_pid" 2> /dev/null; then
        echo "screenshot: $program exited before showing a window:" >&2
        cat "$work/app.log" >&2
        exit 1
    fi
    window=$(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null | head -n 1 || true)
    [[ -z $window ]] && window=$(xdotool search --onlyvisible --classname "$name" 2> /dev/null | head -n 1 || true)
    [[ -z $window ]] && window=$(xdotool search --onlyvisible --name "$name" 2> /dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    sleep 0.2
done
[[ -n $window ]] || { echo "screenshot: no window appeared within $timeout s" >&2; exit 1; }

sleep 1  # let the first paint happen
xdotool mousemove --window "$window" "$click_x" "$click_y" click 1
sleep "$wait_after"
if [[ $capture == window ]]; then
    import -window "$window" "$output"
    # The rounded outline leaves the four corners outside the window's shape; they
    # become transparent instead of showing whatever the capture filled them with.
    read -r w h < <(identify -format '%w %h\n' "$output")
    convert "$output" -alpha set -fill none \
        -draw "color 0,0 floodfill" -draw "color $((w - 1)),0 floodfill" \
        -draw "color 0,$((h - 1)) floodfill" -draw "color $((w - 1)),$((h - 1)) floodfill" \
        "$output"
else
    import -window root "$output"
fi
echo "screenshot: window $window, clicked ($click_x, $click_y), saved $output"
