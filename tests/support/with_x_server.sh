#!/usr/bin/env bash
# Runs a command under a private X server with a real window manager, for
# tests that need what offscreen rendering cannot show: window frames,
# placement, activation. SCRIBLET_WINDOW_MANAGER chooses the desktop:
#   openbox (the default) or xfwm4, each on Xvfb;
#   mutter (GNOME), kwin (KDE) or sway, each a compositor run headless with
#   Xwayland as the X server and WAYLAND_DISPLAY set, as in a Wayland session.
# Everything is started here and ended by its process id, whatever the
# command's outcome. When the command fails, the servers' logs follow its
# output on stderr.
#   with_x_server.sh COMMAND [ARGUMENTS...]
set -uo pipefail

export SCRIBLET_WINDOW_MANAGER=${SCRIBLET_WINDOW_MANAGER:-openbox}
window_manager=$SCRIBLET_WINDOW_MANAGER
work=$(mktemp -d "${TMPDIR:-/tmp}/scriblet-x.XXXXXX")
xvfb_pid=
wm_pid=
session_pid=

# Ends a process group this script started with setsid (a window manager with
# its session bus, or a compositor with Xwayland): asks, and after 5 s makes
# sure; then collects its first process.
stop_group() { # pid of the first process
    kill -TERM -- "-$1" 2>/dev/null
    for _ in $(seq 100); do
        case "$(ps -o stat= -p "$1" 2>/dev/null)" in '' | Z*) break ;; esac
        sleep 0.05
    done
    kill -KILL -- "-$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

stop_servers() {
    [ -n "$wm_pid" ] && stop_group "$wm_pid"
    # sway runs the session command in a process group of its own.
    [ -s "$work/session-pid" ] && kill "$(cat "$work/session-pid")" 2>/dev/null
    rm -f "$work/session-pid"
    [ -n "$session_pid" ] && stop_group "$session_pid"
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    wm_pid=
    xvfb_pid=
    session_pid=
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

case "$window_manager" in
openbox | xfwm4) programs=(Xvfb "$window_manager") ;;
mutter) programs=(mutter Xwayland dbus-run-session xdpyinfo) ;;
kwin) programs=(kwin_wayland Xwayland dbus-run-session xdpyinfo) ;;
sway) programs=(sway Xwayland xhost setpriv xdpyinfo) ;;
*) fail "unknown window manager $window_manager" ;;
esac
for program in "${programs[@]}"; do
    command -v "$program" >/dev/null || fail "$program is not installed (./build.sh test installs it)"
done

# Waits until the window manager has announced itself on the root window.
wait_for_window_manager() {
    for _ in $(seq 600); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# A compositor picks its own X display and Wayland socket; the command it
# runs writes the session's environment, and its pid, for this script to use.
start_compositor() {
    local run=$work/run session=$work/session.sh
    # mutter 48 refuses to start Xwayland without the X socket folder, which a
    # booted system's tmpfiles make and a container or fresh root may lack.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix 2>/dev/null || true
    rm -f "$work/session"
    mkdir -p -m 700 "$run"
    printf '#!/bin/sh\necho $$ > "%s/session-pid"\nenv > "%s/session.part"\nmv "%s/session.part" "%s/session"\nexec sleep infinity\n' \
        "$work" "$work" "$work" "$work" >"$session"
    chmod 755 "$session"
    local start=(setsid env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$run" HOME="$work")
    case "$window_manager" in
    mutter)
        "${start[@]}" dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x1024 \
            --wayland-display scriblet-wayland -- "$session" >"$work/mutter.log" 2>&1 &
        ;;
    kwin)
        # The installed binary carries a file capability that a container refuses.
        cp /usr/bin/kwin_wayland "$work/kwin_wayland"
        "${start[@]}" dbus-run-session -- "$work/kwin_wayland" --virtual --xwayland --width 1280 --height 1024 \
            --socket scriblet-wayland --no-lockscreen --exit-with-session "$session" >"$work/kwin.log" 2>&1 &
        ;;
    sway)
        # sway refuses to run as root: then it runs as nobody and lets root's clients in.
        local as=() let_in=
        if [ "$(id -u)" -eq 0 ]; then
            chmod 755 "$work"
            chown 65534:65534 "$work" "$run"
            as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
            let_in="xhost +si:localuser:root; "
        fi
        printf 'xwayland enable\nfocus_on_window_activation focus\nexec sh -c "%s%s"\n' \
            "$let_in" "$session" >"$work/sway.config"
        "${start[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
            "${as[@]}" sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
        ;;
    esac
    session_pid=$!
    for _ in $(seq 600); do
        if [ -s "$work/session" ]; then
            for name in DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY; do
                export "$name=$(sed -n "s/^$name=//p" "$work/session")"
            done
            [ -n "$XAUTHORITY" ] || unset XAUTHORITY
            [ -n "$WAYLAND_DISPLAY" ] || { problem="$window_manager named no Wayland display"; return 1; }
            # A full path: the command keeps its own runtime folder.
            export WAYLAND_DISPLAY="$run/${WAYLAND_DISPLAY##*/}"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "$session_pid" 2>/dev/null || { problem="$window_manager did not start"; return 1; }
        sleep 0.05
    done
    problem="$window_manager gave no X display"
    return 1
}

# Starts the servers and waits until they take clients; on failure sets problem.
start_servers() {
    case "$window_manager" in
    mutter | kwin | sway)
        start_compositor
        return
        ;;
    esac
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

    if [ "$window_manager" = xfwm4 ]; then
        setsid dbus-run-session -- xfwm4 --compositor=off >"$work/xfwm4.log" 2>&1 &
        wm_pid=$!
        wait_for_window_manager "$wm_pid" && return 0
        problem="xfwm4 did not take the display"
        return 1
    fi
    # openbox runs the startup command right before its event loop, after it
    # announced itself on the root window and loaded its theme: from then on
    # it handles every window in turn.
    setsid openbox --sm-disable --startup "touch '$work/wm-ready'" >"$work/openbox.log" 2>&1 &
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

# The tests are X11 clients, also where a Wayland display is there too; a
# test that starts the program itself decides what it passes on.
export QT_QPA_PLATFORM=xcb
"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with_x_server.sh: the command ended with status $status" >&2
    show_logs
fi
exit "$status"
