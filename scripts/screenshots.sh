#!/usr/bin/env bash
# Takes a screenshot of each dialog into screenshots/: the Qt dialog (qt-dialog.png) and
# the Windows dialog under Wine (win32-dialog.png), both at their first start-up, then the
# options and the rename preview of a few made-up documents opened from each one's window
# menu (qt-options.png, qt-preview.png, win32-options.png, win32-preview.png), on a
# virtual screen of their own. Builds what is missing (presets linux and win64, in
# build/linux and build/win64 or the two folders given). Needs xdotool to open the menus.
# Usage: scripts/screenshots.sh [linux-build-folder] [win64-build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out=screenshots
mkdir -p "$out"

display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
work=$(mktemp -d)
qt_pid=
cleanup() {
    [ -z "$qt_pid" ] || kill "$qt_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# Waits for a window of that name, then shoots it.
shoot() {
    local name=$1 file=$2
    for _ in $(seq 1 120); do
        # By its id: import takes no name outside ASCII.
        local id
        id=$(xwininfo -name "$name" 2>/dev/null | awk '/Window id:/ { print $4 }' || true)
        if [ -n "$id" ]; then
            sleep 2
            import -window "$id" "$file"
            echo "$file"
            return 0
        fi
        sleep 0.5
    done
    echo "no window named $name appeared" >&2
    return 1
}

# Documents with titles for the preview: .docx files holding only what the reader needs.
documents=$work/documents
mkdir -p "$documents"
python3 - "$documents" <<'PYTHON'
import sys, zipfile
core = ('<?xml version="1.0" encoding="UTF-8"?><cp:coreProperties '
        'xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
        'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>{}</dc:title></cp:coreProperties>')
rels = ('<?xml version="1.0" encoding="UTF-8"?><Relationships '
        'xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
        'relationships/officeDocument" Target="word/document.xml"/><Relationship Id="rId2" '
        'Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/'
        'core-properties" Target="/docProps/core.xml"/></Relationships>')
types = ('<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
         'package/2006/content-types"><Default Extension="rels" ContentType="application/'
         'vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" '
         'ContentType="application/xml"/></Types>')
body = ('<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.'
        'openxmlformats.org/wordprocessingml/2006/main"><w:body><w:p><w:r><w:t>{}</w:t></w:r>'
        '</w:p></w:body></w:document>')
for name, title in [("scan0001.docx", "年度预算报告"), ("scan0002.docx", "项目进度汇总"),
                    ("scan0003.docx", ""), ("新建文档.docx", "会议纪要：三月"),
                    ("scan0004.docx", "年度预算报告"), ("报告.docx", "报告")]:
    with zipfile.ZipFile(sys.argv[1] + "/" + name, "w") as docx:
        docx.writestr("[Content_Types].xml", types)
        docx.writestr("_rels/.rels", rels)
        docx.writestr("word/document.xml", body.format(title or "正文第一段"))
        docx.writestr("docProps/core.xml", core.format(title))
PYTHON

# The Qt dialog starts on that folder, with the names from the text where a title is empty.
settings="[Tarnel]
pathuser=%s
texttitle=1
"
mkdir -p "$work/config/tarnel"
# shellcheck disable=SC2059
printf "$settings" "$documents" >"$work/config/tarnel/tarnel.ini"

# Opens an entry of the window's menu (a right click at x y, then the keys) and shoots the
# window that opens; Esc closes it again.
shoot_menu_entry() {
    local window=$1 x=$2 y=$3 keys=$4 name=$5 file=$6
    xdotool mousemove --window "$window" "$x" "$y" click 3
    sleep 1
    # shellcheck disable=SC2086
    xdotool key --delay 200 $keys
    shoot "$name" "$file"
    xdotool key Escape
    sleep 1
}

# Build folders of presets linux and win64, unless given.
linux_build=${1:-build/linux}
win64_build=${2:-build/win64}

cmake --preset linux -B "$linux_build" >/dev/null
cmake --build "$linux_build" --target tarnel >/dev/null
XDG_CONFIG_HOME=$work/config "$linux_build/bin/tarnel" &
qt_pid=$!
shoot Tarnel "$out/qt-dialog.png"
# The context menu's first two entries, opened on the dialog's background.
qt_window=$(xdotool search --name '^Tarnel$' | head -1)
shoot_menu_entry "$qt_window" 300 140 "Down Return" 选项 "$out/qt-options.png"
shoot_menu_entry "$qt_window" 300 140 "Down Down Return" 预览重命名 "$out/qt-preview.png"
kill "$qt_pid" 2>/dev/null || true
wait "$qt_pid" 2>/dev/null || true

cmake --preset win64 -B "$win64_build" >/dev/null
cmake --build "$win64_build" --target tarnel >/dev/null
# A Wine desktop window draws the dialog's caption, which no window manager draws here.
APPDATA='Z:'${work//\//\\}'\appdata' TARNEL_WINEPREFIX=$work/wineprefix \
    bash cmake/wine-run.sh explorer /desktop=Tarnel,800x520 "$win64_build/bin/Tarnel.exe" &
desktop="Tarnel - Wine desktop"
shoot "$desktop" "$out/win32-dialog.png"
# The system menu opens on a right click on the caption, 10 pixels below the dialog's top
# edge on the desktop's plain background; its last three entries are the dialog's own.
read -r left top width < <(convert "$out/win32-dialog.png" -trim -format '%X %Y %w\n' info:)
wine_window=$(xdotool search --name "^$desktop\$" | head -1)
caption_x=$((left + width / 2))
caption_y=$((top + 10))
# Wine gives the program its own APPDATA, so the folder is typed into its edit; Wine's shell
# reads no document's properties, so the folder is an empty one: the preview shows its frame.
mkdir -p "$work/empty"
xdotool mousemove --window "$wine_window" "$caption_x" $((top + 46)) click 1
xdotool type "Z:${work//\//\\}\\empty"
shoot_menu_entry "$wine_window" "$caption_x" "$caption_y" "Up Up Up Return" "$desktop" \
    "$out/win32-options.png"
shoot_menu_entry "$wine_window" "$caption_x" "$caption_y" "Up Up Return" "$desktop" \
    "$out/win32-preview.png"
