#!/usr/bin/env bash
# The editor on Wayland: under weston's headless compositor with Qt's Wayland
# platform it must show its window and send exactly its own title.
#   wayland-smoke.sh EDITOR
set -euo pipefail
editor="$1"
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
socket="larkspur-smoke-$$"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.05
done
[ -S "$runtime/$socket" ] || { echo "weston did not start"; cat "$runtime/weston.log"; exit 1; }

# The client's own protocol log says what it sent; it runs until timeout ends it.
WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    timeout 5 "$editor" >/dev/null 2>"$runtime/client.log" || true
titles=$(grep -o 'xdg_toplevel@[0-9]*\.set_title("[^"]*")' "$runtime/client.log" | sed 's/.*set_title("\(.*\)")/\1/' || true)
echo "titles sent: ${titles:-none}"
[ "$(echo "$titles" | tail -1)" = "Larkspur Theme Editor - Untitled" ] || { echo "FAIL: wrong or no title"; exit 1; }
grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$runtime/client.log" || { echo "FAIL: no window content was shown"; exit 1; }
if grep -q 'xdg_toplevel@[0-9]*\.set_title("[^"]*—' "$runtime/client.log"; then
    echo "FAIL: a title carries a suffix"
    exit 1
fi
