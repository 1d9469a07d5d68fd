#!/bin/bash
# Starts the game natively under a headless Wayland compositor (weston with its
# headless backend and pixman renderer) and saves a screenshot taken by
# weston-screenshooter for a person to look at. Then runs the GUI test suites
# that are built (frame, About box, main window and play) on the same compositor.
#
#   tools/wayland_check.sh [PROGRAM [OUTPUT_DIR]]
#
#   PROGRAM     the game (default: build/ui/fourfall), run from the repository root
#   OUTPUT_DIR  where the screenshots go (default: build/desktop-checks)
#
# Environment: WAIT seconds to wait for the window (default 4); QT_SCALE_FACTOR
# and other Qt variables reach the program unchanged. Needs weston (10 or later)
# and Qt's Wayland platform plugin (Debian qt6-wayland).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(readlink -f "${1:-$repo/build/ui/fourfall}")
out=${2:-$repo/build/desktop-checks}
wait_for=${WAIT:-4}
mkdir -p "$out"
out=$(readlink -f "$out")

for tool in weston weston-screenshooter; do
    command -v "$tool" > /dev/null || { echo "wayland_check: $tool is not installed" >&2; exit 2; }
done
[[ -x $program ]] || { echo "wayland_check: $program is not an executable program" >&2; exit 2; }

check_name=wayland_check
source "$repo/tools/check_session.sh"

# A private runtime folder and socket, so a desktop's own compositor is not used.
export XDG_RUNTIME_DIR=$work
socket=wayland-fourfall-check
# --debug lets weston-screenshooter take screenshots.
weston --backend=headless-backend.so --use-pixman --debug --socket="$socket" \
    --width=1024 --height=768 --idle-time=0 > "$work/weston.log" 2>&1 &
weston_pid=$!
Track "$weston_pid"
for ((i = 0; i < 100; i++)); do
    [[ -S $work/$socket ]] && break
    kill -0 "$weston_pid" 2> /dev/null || { echo "wayland_check: weston failed:" >&2; cat "$work/weston.log" >&2; exit 1; }
    sleep 0.1
done
[[ -S $work/$socket ]] || { echo "wayland_check: weston did not start" >&2; exit 1; }
export WAYLAND_DISPLAY=$socket
unset DISPLAY
export QT_QPA_PLATFORM=wayland

(cd "$repo" && exec "$program") > "$work/app.log" 2>&1 &
app_pid=$!
Track "$app_pid"
sleep "$wait_for"
if ! kill -0 "$app_pid" 2> /dev/null; then
    echo "wayland_check: the game exited under Wayland:" >&2
    cat "$work/app.log" >&2
    exit 1
fi

shoot() {
    (cd "$work" && rm -f wayland-screenshot-*.png && weston-screenshooter > /dev/null 2>&1)
    local shot
    shot=$(ls "$work"/wayland-screenshot-*.png 2> /dev/null | head -n 1)
    [[ -n $shot ]] || { echo "wayland_check: weston-screenshooter saved nothing" >&2; exit 1; }
    mv "$shot" "$out/$1.png"
    echo "wayland_check: saved $out/$1.png"
}
shoot wayland-game
if grep -qi "could not\|failed\|error" "$work/app.log"; then
    echo "wayland_check: the game reported problems:" >&2
    cat "$work/app.log" >&2
fi
echo "wayland_check: the game runs under Wayland ($(grep -c . "$work/app.log" || true) lines of log)"
kill "$app_pid" 2> /dev/null || true
wait "$app_pid" 2> /dev/null || true

# The frame, its menus, the About box and play, through the GUI test suites, when
# they are built: they drive the real widgets, here on the Wayland platform.
# The headless compositor has no keyboard, so it never gives a window the
# keyboard focus, and the main window's keyboard tests cannot run here; they
# run offscreen in every `make test` and on X11 in tools/keys_check.sh.
keyboard_tests=TheLevelBoxHasTheFirstFocusAndDigitsStillPlay:EachDigitPlaysItsColumnFromAnyControl
keyboard_tests+=:TabReachesTheBoardWhereArrowsChooseAndDropKeysPlay:BoardKeysElsewhereKeepTheirControlsMeaning
keyboard_tests+=:TheMarkerSitsAboveTheChosenColumnOffTheBoardBitmap:ShortcutsRunTheButtonAndMenuHandlers
keyboard_tests+=:KeysWhileAMenuIsOpenGoToTheMenu:KeysAndAccessKeysPressedDuringTheSearchAreDropped
keyboard_tests+=:TheWheelChangesOnlyAFocusedBox
tests=$(dirname "$program")/../tests
failed=0
for suite in skin_tests ui_about_tests ui_main_window_tests; do
    [[ -x $tests/$suite ]] || { echo "wayland_check: $suite not built, skipped"; continue; }
    filter=()
    [[ $suite == ui_main_window_tests ]] && filter=("--gtest_filter=-MainWindowTest.${keyboard_tests//:/:MainWindowTest.}")
    if (cd "$repo" && timeout 300 "$tests/$suite" "${filter[@]}" > "$work/$suite.log" 2>&1); then
        echo "wayland_check: $suite passed under Wayland"
    else
        echo "wayland_check: $suite FAILED under Wayland:" >&2
        grep -A4 "Failure" "$work/$suite.log" >&2 || tail -20 "$work/$suite.log" >&2
        failed=1
    fi
done
exit $failed
