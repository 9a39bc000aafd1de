#!/usr/bin/env bash
# Runs a command with a private CUPS server of its own: configuration, socket,
# spool and logs in a temporary folder, no TCP port, and one queue,
# "scriblet-test", whose backend writes every job to a file of its own in
# $SCRIBLET_PRINT_OUTPUT. CUPS_SERVER points at the server's socket, so the
# printing system shows the command nothing but this queue. The server is
# ended by its process id, whatever the command's outcome. When the command
# fails, the server's error log follows its output on stderr.
#   with_cups_server.sh COMMAND [ARGUMENTS...]
set -uo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/scriblet-cups.XXXXXX")
cupsd_pid=

stop_server() {
    if [ -n "$cupsd_pid" ]; then
        kill -TERM "$cupsd_pid" 2>/dev/null
        wait "$cupsd_pid" 2>/dev/null
    fi
    cupsd_pid=
}

stop() {
    stop_server
    rm -rf "$work"
}
trap stop EXIT

show_log() {
    [ -f "$work/error_log" ] && sed 's/^/  cupsd: /' "$work/error_log" >&2
}

fail() {
    echo "with_cups_server.sh: $*" >&2
    show_log
    exit 1
}

for program in cupsd lpadmin lpstat pdftotext pdfinfo; do
    command -v "$program" >/dev/null || fail "$program is not installed (./build.sh test installs it)"
done
[ -d /usr/lib/cups/daemon ] || fail "/usr/lib/cups/daemon is missing (package cups-daemon)"

mkdir -p "$work/bin/backend" "$work/spool" "$work/tmp" "$work/cache" "$work/state" "$work/output"
# Backends run as the lp user when the server runs as root.
chmod 1777 "$work/output" "$work/tmp"
chmod 755 "$work"
ln -s /usr/lib/cups/daemon "$work/bin/daemon"

# The backend: called without arguments it names its device; with them it
# copies the job (its file, or standard input) to job-<id>.pdf, its title to
# job-<id>.title and its options to job-<id>.options.
cat >"$work/bin/backend/capture" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'direct capture "Unknown" "Scriblet test capture"'
    exit 0
fi
output=${DEVICE_URI#capture:}
printf '%s' "$3" >"$output/job-$1.title"
printf '%s' "$5" >"$output/job-$1.options"
if [ $# -ge 6 ]; then
    cat "$6" >"$output/job-$1.pdf"
else
    cat >"$output/job-$1.pdf"
fi
BACKEND
chmod 755 "$work/bin/backend/capture"

socket="$work/cups.sock"
[ ${#socket} -lt 108 ] || fail "socket path too long: $socket"
cat >"$work/cupsd.conf" <<CONF
Listen $socket
Browsing No
WebInterface No
LogLevel warn
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$work/cups-files.conf" <<CONF
ServerRoot $work
ServerBin $work/bin
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/access_log
ErrorLog $work/error_log
PageLog $work/page_log
Printcap $work/printcap
CONF

# Starts the server and waits until it answers; on failure sets problem.
start_server() {
    cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
    cupsd_pid=$!
    # Generous: a loaded CI machine may take seconds.
    for _ in $(seq 600); do
        lpstat -r 2>/dev/null | grep -q "is running" && return 0
        kill -0 "$cupsd_pid" 2>/dev/null || { problem="cupsd did not start"; return 1; }
        sleep 0.05
    done
    problem="cupsd did not answer on $socket"
    return 1
}

export CUPS_SERVER=$socket
problem=
if ! start_server; then
    echo "with_cups_server.sh: $problem; starting again" >&2
    show_log
    stop_server
    start_server || fail "$problem"
fi
lpadmin -p scriblet-test -E -v "capture:$work/output" -m raw 2>"$work/lpadmin.log" \
    || fail "could not add the queue: $(cat "$work/lpadmin.log")"
lpadmin -d scriblet-test || fail "could not make the queue the default"

export SCRIBLET_PRINT_OUTPUT="$work/output"
"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with_cups_server.sh: the command ended with status $status; jobs kept: $(ls "$work/output")" >&2
    show_log
fi
exit "$status"
