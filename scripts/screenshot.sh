#!/usr/bin/env bash
# Renders the README's pictures: the real window under Xvfb with a window
# manager (so it has a real frame), a model chosen and calculated; the first
# page of a report of three calculations, as pdftoppm draws it; the project
# window and the first page of its report.
set -euo pipefail
cd "$(dirname "$0")/.."
for p in openbox imagemagick poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$p"
done

# `screenshot.sh windows`: docs/windows.png, the zip of scripts/windows.sh
# unpacked into a folder named with blanks and Cyrillic letters, its nimbo.exe
# started under wine in a prefix of its own.
if [ "${1:-}" = windows ]; then
  zip=$PWD/build-windows/nimbo-windows-x64.zip
  [ -f "$zip" ] || bash scripts/windows.sh
  place=$(mktemp -d)
  trap 'rm -rf "$place"' EXIT
  unzip -q "$zip" -d "$place/Мои программы"
  # Wine names files in the locale's character set: a UTF-8 one for the Cyrillic folder.
  export WINEPREFIX=$place/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
  wineboot -i >/dev/null 2>&1
  xvfb-run -a -s "-screen 0 1000x900x24" bash -c '
    openbox 2>/dev/null & wm=$!
    sleep 1
    (cd "$1" && wine nimbo.exe) & program=$!
    sleep 20
    import -window root -trim +repage docs/windows.png
    wineserver -k; wait "$program" || true
    kill "$wm"; wait "$wm" || true' shot "$place/Мои программы/nimbo"
  echo docs/windows.png
  exit 0
fi

build=${BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target nimbo pose_window pose_report pose_project

# shot OUTPUT PROGRAM ARGUMENTS...: the screen while the program poses.
# The root window is black around the framed window, so trimming the whole
# screen leaves exactly the window with its frame. SCREEN sets its size.
shot() {
  xvfb-run -a -s "-screen 0 ${SCREEN:-1000x900}x24" bash -c '
    out=$1; shift
    openbox 2>/dev/null & wm=$!
    sleep 1
    "$@" & pose=$!
    sleep 4
    import -window root -trim +repage "$out"
    wait "$pose"
    kill "$wm"; wait "$wm" || true' shot "$@"
  echo "$1"
}
pose="$build/tools/pose_window" folder="$PWD/$build/nimbo"
# pose_window FOLDER TYPE MODEL SIZE FLOW SECONDS [log] [panel] [beside] [chart=FILE]
shot docs/window.png "$pose" "$folder" "Диффузоры квадратные" "ПДК" "450x450" "800" 6
shot docs/window-log-panel.png "$pose" "$folder" "Диффузоры квадратные" "ПДК" "450x450" "800" 6 log panel

# The report of three calculations: its first page, and the log list's menu
# over two marked entries. A Russian desktop writes 0,5: the report shows the
# numbers as typed.
report=$(mktemp -d)
LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen "$build/tools/pose_report" "$folder" "$report/report.pdf"
pdftoppm -r 80 -f 1 -l 1 -png -singlefile "$report/report.pdf" docs/report
echo docs/report.png
shot docs/window-log-menu.png env LC_ALL=ru_RU.UTF-8 "$build/tools/pose_report" "$folder" "$report/again.pdf" 6
# The size finder where it opens, beside the main window, on a desktop wide
# enough for both, with L = 800 and LwA at most 35 dB(A); and a long-throw
# nozzle's jet as the finder draws it.
SCREEN=1800x760 shot docs/finder-beside.png "$pose" "$folder" "Диффузоры квадратные" "ПДК" "450x450" "800" 6 beside
# The finder for a room: an office of 6 × 6 × 3 m, 400 m³/h, NR 35, the throw
# within Lc, the noise of the first row against its NR curve.
SCREEN=1800x760 shot docs/finder-room.png "$pose" "$folder" "Диффузоры квадратные" "ПДК" "450x450" "400" 6 room
LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen "$pose" "$folder" "Сопла дальнобойные" "СД" "D400" "1600" 0 \
  chart=docs/jet-chart-nozzle.png
echo docs/jet-chart-nozzle.png
rm -r "$report"

# The project window over a project of four rooms, one of them marked; and
# the first page of its report, made by the command line as batch work does.
SCREEN=1540x900 shot docs/project.png "$build/tools/pose_project" "$folder" "$PWD/tools/screenshot/office.nimbo" 6
report=$(mktemp -d)
"$build/nimbo/nimbo" --schedule tools/screenshot/office.nimbo --pdf "$report/project.pdf"
pdftoppm -r 80 -f 1 -l 1 -png -singlefile "$report/project.pdf" docs/project-report
echo docs/project-report.png
rm -r "$report"
