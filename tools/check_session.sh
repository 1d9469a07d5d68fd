# shellcheck shell=bash
# Sourced by the scripts that drive the game on a private display
# (screenshot.sh, keys_check.sh, wm_check.sh, wayland_check.sh).
#
# It gives the script a private scratch folder in $work and, on every way
# out (the end, an error, Ctrl+C, TERM), ends only the processes the script
# registered with Track, newest first, and removes the folder. A script
# names itself in $check_name first, for its messages.

: "${check_name:?set check_name before sourcing check_session.sh}"

work=$(mktemp -d)
chmod 700 "$work"
tracked_pids=()

# Registers a process started by the script, to be ended on the way out.
Track() { tracked_pids+=("$1"); }

# Ends every registered process, newest first, and forgets them.
StopTracked() {
    local i
    for ((i = ${#tracked_pids[@]} - 1; i >= 0; i--)); do
        kill "${tracked_pids[i]}" 2> /dev/null || true
        wait "${tracked_pids[i]}" 2> /dev/null || true
    done
    tracked_pids=()
}

SessionCleanup() {
    local status=$?
    set +e
    StopTracked
    rm -rf "$work"
    exit "$status"
}
trap SessionCleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Starts a private X server of the given screen size (WxHxDEPTH) and makes
# it the display for what follows; waits up to $2 seconds (default 20) until
# it answers. Xvfb picks a free display itself and reports it on fd 3.
StartXvfb() {
    local screen=$1 limit=${2:-20} i pid
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    pid=$!
    Track "$pid"
    for ((i = 0; i < limit * 10; i++)); do
        [[ -s $work/display ]] && break
        kill -0 "$pid" 2> /dev/null || { echo "$check_name: Xvfb failed:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
        sleep 0.1
    done
    [[ -s $work/display ]] || { echo "$check_name: Xvfb did not start" >&2; exit 1; }
    DISPLAY=:$(head -n 1 "$work/display")
    export DISPLAY
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    # The server must answer before a program may connect.
    for ((i = 0; i < limit * 10; i++)); do
        xdotool getdisplaygeometry > /dev/null 2>&1 && break
        sleep 0.1
    done
}
