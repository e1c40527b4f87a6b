#!/usr/bin/env bash
# The installer under Wine (run through on-xvfb.sh): a silent install for the
# current user, its files and the .lsth file type in the registry, the
# installed editor started the way Explorer opens a theme file (the command of
# the file type, with the file's name), then a silent uninstall that leaves
# nothing of it behind.
#   installer-test.sh WINE_RUN PREFIX SETUP_EXE SCREEN_CONTAINS
set -euo pipefail
wine="$1" prefix="$2" setup="$3" contains="$4"
source "$(dirname "$0")/wine-window.sh"
query() {  # query KEY [VALUE]: the registry's answer, as reg prints it
    if [ $# -eq 2 ]; then win reg query "$1" /v "$2" 2>/dev/null | tr -d '\r'
    else win reg query "$1" /ve 2>/dev/null | tr -d '\r'; fi
}

win "$setup" /S || fail "the silent install failed"
folder=$(query 'HKCU\Software\LarkspurThemeEditor' InstallFolder | sed -n 's/.*REG_SZ *//p')
[ -n "$folder" ] || fail "the install folder is not in HKCU\\Software\\LarkspurThemeEditor"
unix=$(WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 winepath -u "$folder" 2>/dev/null | tr -d '\r')
echo "installed for the current user into $folder"
for file in larkspur-theme-editor.exe lsthtool.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
            platforms/qwindows.dll libstdc++-6.dll uninstall.exe README.txt licences/Qt-source.txt; do
    [ -f "$unix/$file" ] || fail "$file is not installed"
done
[ "$(query 'HKCU\Software\Classes\.lsth' | sed -n 's/.*REG_SZ *//p')" = "LarkspurThemeEditor.Theme" ] ||
    fail ".lsth is not associated with the editor"
command=$(query 'HKCU\Software\Classes\LarkspurThemeEditor.Theme\shell\open\command' | sed -n 's/.*REG_SZ *//p')
[ "$command" = "\"$folder\\larkspur-theme-editor.exe\" \"%1\"" ] || fail "the open command is '$command'"
query 'HKCU\Software\Classes\LarkspurThemeEditor.Theme\DefaultIcon' | grep -q 'larkspur-theme-editor.exe' ||
    fail "the file type has no icon"
find "$prefix/drive_c/users" -path '*Start Menu/Programs/Larkspur Theme Editor.lnk' | grep -q . || fail "no Start-menu entry"
echo "files, file type, icon and Start-menu entry are there"

# A theme of its own colours at 80x160, made by the installed lsthtool.exe,
# opened as Explorer opens a theme: the file type's command, %1 its name.
target=$(WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 winepath -w "$work/opened.lsth" 2>/dev/null | tr -d '\r')
win "$unix/lsthtool.exe" set "$target" Main_Dom=#C86432 Main_Background=#102030 --display 80x160 >/dev/null
line="${command//%1/$target}"
eval "set -- $(printf '%s' "$line" | sed 's/\\/\\\\/g')"
exe=$(WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 winepath -u "$1" 2>/dev/null | tr -d '\r')
win "$exe" "$2" &
editor_pid=$!
wait_for "the installed editor shows no window 'Larkspur Theme Editor - opened.lsth'" \
    xdotool search --name '^Larkspur Theme Editor - opened\.lsth$'
echo "the installed editor opened the theme: 'Larkspur Theme Editor - opened.lsth'"
wait_for "the theme's page 0 is not on the screen as lsthtool.exe renders it" \
    screen_shows "$unix/lsthtool.exe" 80x160 "$work/opened.lsth"
echo "its page 0 is on the screen as rendered"
# Ended as a user ends it (File > Exit), so nothing holds its files.
exit_editor '^Larkspur Theme Editor - opened\.lsth$' || fail "the installed editor did not end with 0"

# The uninstaller runs from a copy of itself, so the original can go too.
win "$unix/uninstall.exe" /S || fail "the silent uninstall failed"
wait_for "the uninstall left $unix" test ! -e "$unix"

query 'HKCU\Software\Classes\.lsth' | grep -q LarkspurThemeEditor && fail "the file type is still registered"
query 'HKCU\Software\LarkspurThemeEditor' InstallFolder | grep -q REG_SZ && fail "the install folder is still registered"
find "$prefix/drive_c/users" -path '*Start Menu/Programs/Larkspur Theme Editor.lnk' | grep -q . && fail "the Start-menu entry is still there"
echo "uninstalled: no file, file type or Start-menu entry is left"
