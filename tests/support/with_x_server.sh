#!/usr/bin/env bash
# Runs a command under a private X server (Xvfb) with a real window manager
# (openbox), for tests that need what offscreen rendering cannot show: window
# frames, placement, activation. Both are started here and ended by their
# process ids, whatever the command's outcome. When the command fails, the
# server's and the window manager's logs follow its output on stderr.
#   with_x_server.sh COMMAND [ARGUMENTS...]
set -uo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/scriblet-x.XXXXXX")
xvfb_pid=
wm_pid=

stop_servers() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    wm_pid=
    xvfb_pid=
}

stop() {
    stop_servers
    rm -rf "$work"
}
trap stop EXIT

show_logs() {
    echo "with_x_server.sh: DISPLAY=${DISPLAY:-unset}" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log" >&2
    done
}

fail() {
    echo "with_x_server.sh: $*" >&2
    show_logs
    exit 1
}

for program in Xvfb openbox; do
    command -v "$program" >/dev/null || fail "$program is not installed (./build.sh test installs it)"
done

# Starts both and waits until they take clients; on failure sets problem.
start_servers() {
    rm -f "$work/display" "$work/wm-ready"
    # Xvfb picks a free display itself and writes its number to the descriptor.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    # Generous waits: a loaded CI machine may take seconds to start either.
    for _ in $(seq 600); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { problem="Xvfb did not start"; return 1; }
        sleep 0.05
    done
    [ -s "$work/display" ] || { problem="Xvfb gave no display number"; return 1; }
    export DISPLAY=":$(head -n1 "$work/display")"

    # openbox runs the startup command right before its event loop, after it
    # announced itself on the root window and loaded its theme: from then on
    # it handles every window in turn.
    openbox --sm-disable --startup "touch '$work/wm-ready'" >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 600); do
        [ -e "$work/wm-ready" ] && return 0
        kill -0 "$wm_pid" 2>/dev/null || { problem="openbox did not start"; return 1; }
        sleep 0.05
    done
    problem="openbox did not take the display"
    return 1
}

problem=
if ! start_servers; then
    echo "with_x_server.sh: $problem; starting again" >&2
    show_logs
    stop_servers
    start_servers || fail "$problem"
fi

unset QT_QPA_PLATFORM
"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with_x_server.sh: the command ended with status $status" >&2
    show_logs
fi
exit "$status"
