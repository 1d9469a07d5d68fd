#!/bin/bash
# Runs the game under real window managers on a private X server and checks what
# the skinned frame promises them: the minimum-size hint, an edge dragged far
# inwards stopping at 300 x 300, a size far past any screen refused, a maximise made from outside (wmctrl) undone by
# the skin's restore button, a title drag that keeps the pointer where it
# pressed, a double click on the title, and the About box transient for the
# main window. Saves a screenshot of each step for a person to look at.
#
#   tools/wm_check.sh [PROGRAM [OUTPUT_DIR]]
#
#   PROGRAM     the game (default: build/ui/fourfall), run from the repository root
#   OUTPUT_DIR  where the screenshots go (default: build/desktop-checks)
#
# Environment: WMS, the window managers to try (default "openbox xfwm4"). Needs
# Xvfb, xdotool, xprop, wmctrl, ImageMagick's import, the window managers, and
# dbus-run-session for xfwm4. Exits 1 if any check fails.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(readlink -f "${1:-$repo/build/ui/fourfall}")
out=${2:-$repo/build/desktop-checks}
wms=${WMS:-openbox xfwm4}
mkdir -p "$out"
out=$(readlink -f "$out")

for tool in Xvfb xdotool xprop wmctrl import dbus-run-session $wms; do
    command -v "$tool" > /dev/null || { echo "wm_check: $tool is not installed" >&2; exit 2; }
done
[[ -x $program ]] || { echo "wm_check: $program is not an executable program" >&2; exit 2; }

check_name=wm_check
source "$repo/tools/check_session.sh"

failures=0
check() {  # check WM WHAT CONDITION...
    local wm=$1 what=$2
    shift 2
    if "$@"; then
        echo "  ok    $what"
    else
        echo "  FAIL  $what"
        failures=$((failures + 1))
    fi
}

# The window's outer geometry as "X Y W H", as the window manager placed it.
geometry() {
    xdotool getwindowgeometry --shell "$1" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}
shot() { import -window root "$out/$1.png"; echo "  saved $out/$1.png"; }

run_under() {
    local wm=$1
    echo "== $wm"
    StartXvfb 1280x1024x24 10

    # xfwm4 needs a session bus; dbus-run-session ends the bus with the manager.
    if [[ $wm == xfwm4 ]]; then
        dbus-run-session -- xfwm4 --compositor=off > "$work/$wm.log" 2>&1 &
    else
        "$wm" > "$work/$wm.log" 2>&1 &
    fi
    Track $!
    sleep 2

    (cd "$repo" && exec "$program") > "$work/app.log" 2>&1 &
    local app=$!
    Track "$app"
    local win=""
    for ((i = 0; i < 100; i++)); do
        win=$(xdotool search --onlyvisible --pid "$app" 2> /dev/null | head -n 1 || true)
        [[ -n $win ]] && break
        sleep 0.2
    done
    if [[ -z $win ]]; then
        echo "  FAIL  no window appeared"; cat "$work/app.log"; failures=$((failures + 1))
        return
    fi
    sleep 1

    # 1. The size hints.
    local hints
    hints=$(xprop -id "$win" WM_NORMAL_HINTS)
    echo "$hints" | sed 's/^/  | /'
    check "$wm" "minimum-size hint 300 by 300" grep -q "minimum size: 300 by 300" <<< "$hints"
    # The desktop entry's StartupWMClass names the window's class.
    local class
    class=$(xprop -id "$win" WM_CLASS)
    echo "  $class"
    check "$wm" "window class Fourfall, as the desktop entry says" grep -q '"Fourfall"' <<< "$class"
    read -r x y w h <<< "$(geometry "$win")"
    echo "  opened at $x,$y ${w}x$h"
    shot "$wm-1-opened"

    # 2. The bottom-right corner dragged far up and to the left.
    # Inside the rounded outline, where the corner grip is.
    xdotool mousemove $((x + w - 8)) $((y + h - 2)) sleep 0.3 mousedown 1
    for step in 100 200 300 400 500 600; do
        xdotool mousemove $((x + w - 8 - step)) $((y + h - 2 - step)) sleep 0.1
    done
    xdotool mouseup 1
    sleep 1
    local sw sh
    read -r _ _ sw sh <<< "$(geometry "$win")"
    echo "  after the corner drag: ${sw}x$sh"
    check "$wm" "corner drag stops at 300 x 300 or more" test "$sw" -ge 300 -a "$sh" -ge 300
    shot "$wm-2-dragged-small"

    # A size far past any screen, asked for by another program, is refused.
    xdotool windowsize "$win" 32767 32767
    sleep 2
    local bw bh
    read -r _ _ bw bh <<< "$(geometry "$win")"
    echo "  after windowsize 32767 32767: ${bw}x$bh, $(ps -o rss= -p "$app") kB resident"
    check "$wm" "no larger than 8192 x 8192" test "$bw" -le 8192 -a "$bh" -le 8192

    # Back to the opening size for the maximise.
    xdotool windowsize "$win" "$w" "$h"
    sleep 1
    read -r x y w h <<< "$(geometry "$win")"

    # 3. Maximised from outside, restored by the skin's own button.
    wmctrl -i -r "$win" -b add,maximized_vert,maximized_horz
    sleep 1.5
    local mx my mw mh
    read -r mx my mw mh <<< "$(geometry "$win")"
    echo "  maximised by wmctrl: $mx,$my ${mw}x$mh"
    check "$wm" "wmctrl maximise fills the screen" test "$mw" -ge 1200 -a "$mh" -ge 900
    shot "$wm-3-maximised-by-wmctrl"
    # The maximise button sits left of the close button: 5 + 21 + 2 + 21 from the right.
    xdotool mousemove $((mx + mw - 49 + 10)) $((my + 12)) sleep 0.3 click 1
    sleep 1.5
    local rx ry rw rh
    read -r rx ry rw rh <<< "$(geometry "$win")"
    echo "  after the skin's restore button: $rx,$ry ${rw}x$rh"
    check "$wm" "restore button gives back ${w}x$h" test "$rw" -eq "$w" -a "$rh" -eq "$h"
    shot "$wm-4-restored-by-skin"

    # 4. A title drag keeps the point pressed under the pointer.
    read -r x y w h <<< "$(geometry "$win")"
    xdotool mousemove $((x + 200)) $((y + 10)) sleep 0.3 mousedown 1
    for step in 5 10 20 40 60 80 100; do
        xdotool mousemove $((x + 200 + step)) $((y + 10 + step / 2)) sleep 0.1
    done
    sleep 0.5
    xdotool mouseup 1
    sleep 1
    local dx dy
    read -r dx dy _ _ <<< "$(geometry "$win")"
    echo "  title dragged by 100,50: moved by $((dx - x)),$((dy - y))"
    check "$wm" "title drag moves the window with the pointer, no slip" \
        test $((dx - x)) -eq 100 -a $((dy - y)) -eq 50
    shot "$wm-5-title-dragged"

    # 5. A double click on the title still maximises, although a press starts a move.
    read -r x y w h <<< "$(geometry "$win")"
    xdotool mousemove $((x + 200)) $((y + 10)) sleep 0.3 click --repeat 2 --delay 80 1
    sleep 1.5
    read -r _ _ mw mh <<< "$(geometry "$win")"
    check "$wm" "double click on the title maximises" test "$mw" -ge 1200 -a "$mh" -ge 900
    read -r mx my _ _ <<< "$(geometry "$win")"
    xdotool mousemove $((mx + 200)) $((my + 10)) sleep 0.3 click --repeat 2 --delay 80 1
    sleep 1.5
    read -r _ _ rw rh <<< "$(geometry "$win")"
    check "$wm" "a second double click restores ${w}x$h" test "$rw" -eq "$w" -a "$rh" -eq "$h"

    # 6. Help > About: transient for the main window, not for a hidden leader.
    read -r x y w h <<< "$(geometry "$win")"
    xdotool mousemove $((x + 57)) $((y + 36)) sleep 0.3 click 1 sleep 0.7
    xdotool mousemove $((x + 80)) $((y + 58)) sleep 0.3 click 1 sleep 1.5
    local about
    about=$(xdotool search --all --onlyvisible --pid "$app" --name '^About$' 2> /dev/null |
        head -n 1 || true)
    if [[ -n $about ]]; then
        local transient
        transient=$(xprop -id "$about" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*' || echo none)
        echo "  About box $(printf '0x%x' "$about") is transient for $transient" \
            "(main window $(printf '0x%x' "$win"))"
        check "$wm" "About box is transient for the main window" \
            test "$transient" = "$(printf '0x%x' "$win")"
        shot "$wm-6-about"
        xdotool key Return || true
        sleep 0.5
    else
        check "$wm" "Help > About opened the About box" false
    fi

    StopTracked
}

for wm in $wms; do
    run_under "$wm"
done
echo "wm_check: $failures failed"
[[ $failures -eq 0 ]]
