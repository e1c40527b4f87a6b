#!/usr/bin/env bash
# The editor's window on Qt's own Windows platform, under Wine on a private X
# server (run through on-xvfb.sh): its caption, page 0 on the screen exactly as
# lsthtool.exe renders it, F2 switching the display, File > Exit ending it.
#   window-smoke.sh WINE_RUN PREFIX EDITOR_EXE LSTHTOOL_EXE SCREEN_CONTAINS
set -euo pipefail
wine="$1" prefix="$2" editor="$3" lsthtool="$4" contains="$5"
source "$(dirname "$0")/wine-window.sh"

win "$editor" &
editor_pid=$!
wait_for "no window with the caption 'Larkspur Theme Editor - Untitled'" \
    xdotool search --name '^Larkspur Theme Editor - Untitled$'
id=$(xdotool search --name '^Larkspur Theme Editor - Untitled$' | head -1)
echo "window $id: 'Larkspur Theme Editor - Untitled'"
wait_for "page 0 at 240x320 is not on the screen as lsthtool.exe renders it" screen_shows "$lsthtool" 240x320
echo "page 0 at 240x320 is on the screen as rendered"

rendered=()
xdotool windowactivate --sync "$id"
xdotool key F2
wait_for "F2 did not bring page 0 at 80x160 as lsthtool.exe renders it" screen_shows "$lsthtool" 80x160
echo "F2: page 0 at 80x160 is on the screen as rendered"

exit_editor '^Larkspur Theme Editor - Untitled$' || fail "File > Exit ended the editor with $?"
echo "File > Exit ended the editor with 0"
