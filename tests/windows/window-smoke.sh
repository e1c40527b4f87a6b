#!/usr/bin/env bash
# The editor's window on Qt's own Windows platform, under Wine on a private X
# server (run through on-xvfb.sh): its caption, page 0 on the screen exactly as
# lsthtool.exe renders it, F2 switching the display, File > Exit ending it.
#   window-smoke.sh WINE_RUN PREFIX EDITOR_EXE LSTHTOOL_EXE SCREEN_CONTAINS
set -euo pipefail
wine="$1" prefix="$2" editor="$3" lsthtool="$4" contains="$5"
work=$(mktemp -d)
editor_pid=""
cleanup() {
    [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=windows
rm -rf "$prefix"
# Wine has no Tahoma of its own here: the dialog fonts become a sans face.
for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    "$wine" "$prefix" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$face" /t REG_SZ /d "DejaVu Sans" /f >/dev/null
done

# wait_for WHAT COMMAND...: polls until COMMAND succeeds; gives up after a
# minute, which only a broken run comes near.
wait_for() {
    local what="$1"; shift
    local until=$((SECONDS + 60))
    while [ $SECONDS -lt $until ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "FAIL: $what"
    exit 1
}

# The page as lsthtool.exe draws it at the minute the screen shows.
rendered=()
render_now() {  # render_now DISPLAY
    local at
    at=$(date '+%Y-%m-%d %H:%M')
    local png="$work/page0-$1-${at//[ :]/-}.png"
    [ -e "$png" ] && return 0
    "$wine" "$prefix" "$lsthtool" render --page 0 --display "$1" --at "$at" -o "$png" >/dev/null
    rendered+=("$png")
}
screen_shows() {  # screen_shows DISPLAY: whether the screen holds that page now
    render_now "$1"
    xwd -root -silent > "$work/screen.xwd"
    "$contains" "$work/screen.xwd" "${rendered[@]}"
}

"$wine" "$prefix" "$editor" &
editor_pid=$!
wait_for "no window with the caption 'Larkspur Theme Editor - Untitled'" \
    xdotool search --name '^Larkspur Theme Editor - Untitled$'
id=$(xdotool search --name '^Larkspur Theme Editor - Untitled$' | head -1)
echo "window $id: 'Larkspur Theme Editor - Untitled'"
wait_for "page 0 at 240x320 is not on the screen as lsthtool.exe renders it" screen_shows 240x320
echo "page 0 at 240x320 is on the screen as rendered"

rendered=()
xdotool windowactivate --sync "$id"
xdotool key F2
wait_for "F2 did not bring page 0 at 80x160 as lsthtool.exe renders it" screen_shows 80x160
echo "F2: page 0 at 80x160 is on the screen as rendered"

# File > Exit: "E" is shared by Export Image, Export All Pages and Exit.
xdotool windowactivate --sync "$id"
xdotool key alt+f
for key in e e e Return; do
    sleep 0.2
    xdotool key "$key"
done
wait_for "File > Exit did not end the editor" bash -c "! kill -0 $editor_pid"
status=0
wait "$editor_pid" || status=$?
editor_pid=""
[ "$status" -eq 0 ] || { echo "FAIL: the editor ended with $status"; exit 1; }
echo "File > Exit ended the editor with 0"
