#!/usr/bin/env bash
# The editor on Wayland (run by on-weston.sh): it must show its window and send
# exactly its own title.
#   on-weston.sh wayland-smoke.sh EDITOR
set -euo pipefail
editor="$1"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The client's own protocol log says what it sent; it runs until timeout ends it.
WAYLAND_DEBUG=client timeout 5 "$editor" >/dev/null 2>"$log" || true
titles=$(grep -o 'xdg_toplevel@[0-9]*\.set_title("[^"]*")' "$log" | sed 's/.*set_title("\(.*\)")/\1/' || true)
echo "titles sent: ${titles:-none}"
[ "$(echo "$titles" | tail -1)" = "Larkspur Theme Editor - Untitled" ] || { echo "FAIL: wrong or no title"; exit 1; }
grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$log" || { echo "FAIL: no window content was shown"; exit 1; }
if grep -q 'xdg_toplevel@[0-9]*\.set_title("[^"]*—' "$log"; then
    echo "FAIL: a title carries a suffix"
    exit 1
fi
