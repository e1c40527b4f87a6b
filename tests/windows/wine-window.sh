# Shared by the tests of the Windows editor on a private X server: sourced
# after `wine`, `prefix` and `contains` (the screen reader) are set. A fresh prefix of the test's own, the
# editor on Qt's own Windows platform, a sans face for Wine's missing Tahoma,
# and waits on what the screen shows.
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
fail() { echo "FAIL: $*"; exit 1; }
win() { "$wine" "$prefix" "$@"; }
for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    win reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
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
    fail "$what"
}

# screen_shows LSTHTOOL DISPLAY [THEME]: whether the screen now holds page 0
# of THEME (the default theme without one) as LSTHTOOL renders it at the
# minute the clock shows, or at a minute asked before (set rendered=() to
# forget those).
rendered=()
screen_shows() {
    local at png
    at=$(date '+%Y-%m-%d %H:%M')
    png="$work/page0-$2-${at//[ :]/-}.png"
    if [ ! -e "$png" ]; then
        win "$1" render ${3:+"$3"} --page 0 --display "$2" --at "$at" -o "$png" >/dev/null
        rendered+=("$png")
    fi
    xwd -root -silent > "$work/screen.xwd"
    "$contains" "$work/screen.xwd" "${rendered[@]}"
}

# exit_editor TITLE: File > Exit from the keyboard (Up from the menu's top
# goes round to its last item, whatever stands above it), then the editor's
# exit status.
exit_editor() {
    local id
    id=$(xdotool search --name "$1" | head -1)
    xdotool windowactivate --sync "$id"
    xdotool key alt+f
    for key in Up Return; do
        sleep 0.2
        xdotool key "$key"
    done
    wait_for "File > Exit did not end the editor" bash -c "! kill -0 $editor_pid"
    local status=0
    wait "$editor_pid" || status=$?
    editor_pid=""
    return "$status"
}
