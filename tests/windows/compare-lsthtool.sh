#!/usr/bin/env bash
# lsthtool.exe under Wine against the Linux lsthtool on the same inputs: the
# same bytes out, for theme files, dumps, every page at both sizes, the
# font sheet and generated themes, and the same results through the
# simulated device.
#   compare-lsthtool.sh LINUX_LSTHTOOL LSTHTOOL_EXE WINE_RUN WINEPREFIX FIXTURES
set -euo pipefail
linux="$1" exe="$2" wine="$3" prefix="$4" fixtures="$5"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/windows"
windows() { "$wine" "$prefix" "$exe" "$@"; }
failures=0
same() {  # same NAME: the two files must be identical
    if ! cmp -s "$work/linux/$1" "$work/windows/$1"; then
        echo "FAIL: $1 differs"
        failures=$((failures + 1))
    fi
}
for side in linux windows; do
    run="$linux"
    [ $side = windows ] && run=windows
    out="$work/$side"
    # A theme written from nothing, changed, and one kept in CRLF and UTF-16.
    $run set "$out/new.lsth" Main_Dom=#C86432 Menu_Cursor='$07E0' --display 80x160
    printf '; mine\r\n[Main]\r\nMain_Dom=$0001\r\nNote=hi\r\n' > "$out/crlf.lsth"
    $run set "$out/crlf.lsth" Main_Clock='$F800'
    cp "$fixtures/utf16le.lsth" "$out/utf16.lsth"
    $run set "$out/utf16.lsth" Main_TCR='$0123'
    $run dump "$out/crlf.lsth" > "$out/dump.txt"
    for display in 240x320 80x160; do
        $run render "$out/new.lsth" --page all --display $display --at "2026-12-08 09:05" -o "$out/pages-$display.png"
    done
    $run render --page 3 --screen-only --zoom 2 --simulate deuteranopia --at "2026-12-08 09:05" -o "$out/page3.png"
    $run fonts -o "$out/fonts.png"
    # Generated themes: from seeds around a kept theme's locks, and from a picture.
    $run generate --seed '#3080FF' --seed '#FF8020' --light --variation 9 --keep "$out/new.lsth" -o "$out/gen.lsth" > "$out/gen.txt"
    $run generate --from-picture "$out/page3.png" --contrast high -o "$out/gen-picture.lsth" > "$out/gen-picture.txt"
    # Through the simulated device: an upload, then a download of what it stored.
    LARKSPUR_HID_SIMULATOR=large LARKSPUR_HID_SIMULATOR_FILE="$out/device.bin" $run upload "$out/new.lsth" --override SIMS > "$out/upload.txt"
    LARKSPUR_HID_SIMULATOR=large LARKSPUR_HID_SIMULATOR_FILE="$out/device.bin" $run download --override SIMS > "$out/download.txt"
    set +e
    LARKSPUR_HID_SIMULATOR=large LARKSPUR_HID_SIMULATOR_FAULTS=forget-writes \
        LARKSPUR_HID_SIMULATOR_FILE="$out/device2.bin" $run upload "$out/new.lsth" --override SIMS > "$out/forgot.txt" 2>/dev/null
    echo "exit $?" >> "$out/forgot.txt"
    set -e
done
for f in new.lsth crlf.lsth utf16.lsth dump.txt pages-240x320.png pages-80x160.png page3.png fonts.png device.bin \
         upload.txt download.txt forgot.txt gen.lsth gen.txt gen-picture.lsth gen-picture.txt; do
    same "$f"
done
grep -q 'Theme was uploaded successfully' "$work/windows/upload.txt" || { echo "FAIL: no upload"; failures=$((failures + 1)); }
grep -q 'exit 1' "$work/windows/forgot.txt" || { echo "FAIL: a forgotten upload passed"; failures=$((failures + 1)); }
echo "compared 16 outputs, $failures differ"
[ "$failures" -eq 0 ]
