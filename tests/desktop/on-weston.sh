#!/usr/bin/env bash
# Runs a command on a private Wayland compositor, weston's headless one, with
# Qt's Wayland platform: the way a user's Wayland desktop runs the editor.
#   on-weston.sh COMMAND [ARGS...]
# LARKSPUR_WESTON_SCALE=N sets the output's scale (1 unless said). The
# compositor lets its clients take screenshots (weston-screenshooter), so a
# test can see what a user would. It renders in memory, with no pointer or
# keyboard; with LARKSPUR_WESTON_ON_X=1 it runs instead as a window on the X
# display (see on-xvfb.sh), whose pointer and keys it passes on, so a test can
# click as a user would.
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
socket="larkspur-$$"
backend=headless-backend.so
[ "${LARKSPUR_WESTON_ON_X:-}" = 1 ] && backend=x11-backend.so
weston --backend="$backend" --use-pixman --width=1000 --height=700 ${LARKSPUR_WESTON_SCALE:+--scale=$LARKSPUR_WESTON_SCALE} --debug \
    --socket="$socket" --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 200); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.05
done
[ -S "$runtime/$socket" ] || { echo "weston did not start"; cat "$runtime/weston.log"; exit 1; }
export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
# Settings, recent files and drafts of the run's own, never the user's.
export XDG_CONFIG_HOME="$runtime/config" XDG_STATE_HOME="$runtime/state"
status=0
"$@" || status=$?
[ $status -eq 0 ] || { echo "weston's log:"; tail -20 "$runtime/weston.log"; }
exit $status
