#!/usr/bin/env bash
# Runs a command on a private X server with a window manager, the way a user's
# desktop runs the editor: on Qt's xcb platform under openbox.
#   on-xvfb.sh COMMAND [ARGS...]
# LARKSPUR_XFT_DPI=N sets the X font resolution (Xft.dpi) before the command starts;
# LARKSPUR_XVFB_SCREEN=WxHxD the screen (2560x2048x24 unless said).
set -euo pipefail

# Xvfb picks a free display number itself and writes it to fd 3: several of
# these run at once under CTest.
state=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${LARKSPUR_XVFB_SCREEN:-2560x2048x24}" -nolisten tcp -noreset 3>"$state/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$state/display" ] && break
    sleep 0.05
done
[ -s "$state/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -1 "$state/display")"
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$state"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
done
if [ -n "${LARKSPUR_XFT_DPI:-}" ]; then
    echo "Xft.dpi: $LARKSPUR_XFT_DPI" | xrdb -merge
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# openbox owns the screen once it has set its supporting-window property.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$state/runtime"
# Settings, recent files and drafts of the run's own, never the user's.
export XDG_CONFIG_HOME="$state/config" XDG_STATE_HOME="$state/state"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$@"
