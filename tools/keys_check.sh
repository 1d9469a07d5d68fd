#!/bin/bash
# Plays the game from the keyboard on a private X server, through the real X
# input path, and checks what a keyboard player and a mouse player see:
#
#   1. the window as it opens, untouched (start.png);
#   2. the key 4: a stone in the fourth column and the computer's answer
#      (four.png);
#   3. Ctrl+Z: the empty board again (takeback.png);
#   4. the wheel over the Colour box, which does not have the focus: the box
#      still shows the same colour (wheel.png);
#   5. Tab to the board and Right: the marker above the fifth column
#      (marker.png);
#   6. Alt+F: the File menu opens (menu.png), and Escape closes it.
#
#   tools/keys_check.sh [OUTPUT_DIR [PROGRAM]]
#
#   OUTPUT_DIR  where the screenshots go (default: keys-check)
#   PROGRAM     the program, run from the repository root so that it finds
#               images/ (default: build/ui/fourfall)
#
# Each check compares pixels of the screenshots with each other, so it does
# not depend on the artwork. Exits 1 when a check fails. Environment: WAIT
# seconds after each key (default 2), TIMEOUT seconds to wait for the window
# (default 20).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-keys-check}
program=${2:-build/ui/fourfall}
wait_after=${WAIT:-2}
timeout=${TIMEOUT:-20}

for tool in Xvfb xdotool import convert compare; do
    command -v "$tool" > /dev/null || { echo "keys_check: $tool is not installed" >&2; exit 2; }
done
case $out in /*) ;; *) out=$PWD/$out ;; esac
mkdir -p "$out"
cd "$repo"
[[ -x $program ]] || { echo "keys_check: $program is not an executable program" >&2; exit 2; }

check_name=keys_check
source "$repo/tools/check_session.sh"
StartXvfb 1024x768x24 "$timeout"

"$program" > "$work/app.log" 2>&1 &
app_pid=$!
Track "$app_pid"
window=""
for ((i = 0; i < timeout * 5; i++)); do
    kill -0 "$app_pid" 2> /dev/null || { echo "keys_check: the program exited:" >&2; cat "$work/app.log" >&2; exit 1; }
    window=$(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    sleep 0.2
done
[[ -n $window ]] || { echo "keys_check: no window appeared within $timeout s" >&2; exit 1; }
sleep 1
# Without a window manager nothing gives the window the keyboard; a desktop
# does that when the window opens.
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y of the window

shot() { import -window root "$out/$1.png"; }
# The colour of one screen pixel, given in window coordinates.
pixel() { convert "$out/$1.png" -format "%[pixel:p{$((X + $2)),$((Y + $3))}]" info:; }
# Whether a rectangle (window coordinates) looks the same in two shots.
same_area() {
    local crop="$3x$4+$((X + $1))+$((Y + $2))"
    convert "$out/$5.png" -crop "$crop" +repage "$work/a.png"
    convert "$out/$6.png" -crop "$crop" +repage "$work/b.png"
    [[ $(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true) == 0 ]]
}
failures=0
check() {
    if eval "$2"; then echo "ok:   $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# Centres of the cells in the window as it opens: the board is 414 x 343,
# shown at (23, 88) in the paint box, which starts 47 pixels down.
cell_x() { echo $((23 + (12 + $1 * 111 / 2) + 28)); }
cell_y() { echo $((47 + 88 + (5 - $1) * 111 / 2 + 28)); }
changed_cells() {
    local n=0 c r
    for c in 0 1 2 3 4 5 6; do
        for r in 0 1; do
            [[ $(pixel start "$(cell_x $c)" "$(cell_y $r)") != $(pixel "$1" "$(cell_x $c)" "$(cell_y $r)") ]] && n=$((n + 1))
        done
    done
    echo "$n"
}

shot start
xdotool key --window "$window" 4
sleep "$wait_after"
shot four
check "4 drops a stone into column 4" '[[ $(pixel start $(cell_x 3) $(cell_y 0)) != $(pixel four $(cell_x 3) $(cell_y 0)) ]]'
check "the computer answered: two cells changed" '[[ $(changed_cells four) == 2 ]]'

xdotool key --window "$window" ctrl+z
sleep "$wait_after"
shot takeback
check "Ctrl+Z leaves the empty board" 'same_area 23 135 414 343 start takeback'
check "the digit showed the marker above the board" '! same_area 0 47 461 88 start takeback'

# The Colour box lies at (546, 148), 89 x 22; the pointer only passes over
# it, lighting up its arrow button, so only the text part is compared.
xdotool mousemove --window "$window" 590 159
sleep 0.3
xdotool click 5 click 5 click 4 click 5
sleep "$wait_after"
shot wheel
check "the wheel leaves the unfocused Colour box as it was" 'same_area 546 148 66 22 start wheel'
check "and starts no computer move" 'same_area 0 47 461 519 start wheel'
check "the wheel, a mouse use, took the marker away" 'same_area 0 47 461 88 start wheel'

# Level, New Game, Colour, Take Back, Think Output, then the board.
xdotool mousemove --window "$window" 300 20
for _ in 1 2 3 4 5; do xdotool key --window "$window" Tab; done
xdotool key --window "$window" Right
sleep "$wait_after"
shot marker
check "the marker shows above the board" '! same_area 0 47 461 88 start marker'
check "the board itself is unchanged" 'same_area 23 135 414 343 start marker'

xdotool key --window "$window" alt+f
sleep "$wait_after"
shot menu
check "Alt+F opens the File menu" '! same_area 0 47 200 80 marker menu'
xdotool key --window "$window" Escape

echo "keys_check: screenshots in $out"
[[ $failures == 0 ]]
