#!/bin/sh
# Writes one document of every office kind the reader answers into FOLDER/kinds, each with a
# title, an author, a subject and keywords, through LibreOffice headless from flat ODF
# sources (no macro runs), for scripts/compare-exiftool.sh FOLDER.
#   scripts/make-office-kinds.sh FOLDER
# Needs soffice (Debian: libreoffice-writer-nogui, -calc-nogui, -impress-nogui).
# LibreOffice saves no WPS formats and no .dotm: the WPS kinds are the binary Word, Excel and
# PowerPoint files renamed (their formats are the same compound files), the .dotm is the
# .docm renamed. old.wps stands for a WPS file from before WPS wrote compound files.
set -eu

out=$1/kinds
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

namespaces='xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"'

# source NAME MIMETYPE TITLE BODY
source() {
    cat >"$work/$1" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<office:document $namespaces office:version="1.3"
 office:mimetype="application/vnd.oasis.opendocument.$2">
<office:meta><dc:title>$3</dc:title><meta:initial-creator>张三</meta:initial-creator>
<dc:creator>张三</dc:creator><dc:subject>财务</dc:subject><meta:keyword>预算</meta:keyword>
</office:meta>
<office:body>$4</office:body></office:document>
XML
}

source word.fodt text "年度报告 2024" \
    '<office:text><text:p>正文第一段</text:p></office:text>'
source sheet.fods spreadsheet "销售统计" \
    '<office:spreadsheet><table:table table:name="一月"><table:table-row><table:table-cell>
     <text:p>1</text:p></table:table-cell></table:table-row></table:table>
     <table:table table:name="二月"/></office:spreadsheet>'
source talk.fodp presentation "季度汇报" \
    '<office:presentation><draw:page draw:name="1"/><draw:page draw:name="2"/>
     <draw:page draw:name="3"/></office:presentation>'

# convert SOURCE EXTENSION FILTER: SOURCE's stem with EXTENSION, in the output folder.
convert() {
    soffice --headless --convert-to "$2:$3" --outdir "$out" "$work/$1" >/dev/null 2>&1
    test -s "$out/${1%.*}.$2" || { echo "LibreOffice wrote no .$2" >&2; exit 1; }
}

convert word.fodt doc "MS Word 97"
convert word.fodt dot "MS Word 97 Vorlage"
convert word.fodt docx "MS Word 2007 XML"
convert word.fodt docm "MS Word 2007 XML VBA"
convert word.fodt dotx "MS Word 2007 XML Template"
convert sheet.fods xls "MS Excel 97"
convert sheet.fods xlsx "Calc MS Excel 2007 XML"
convert sheet.fods xlsm "Calc MS Excel 2007 VBA XML"
convert talk.fodp ppt "MS PowerPoint 97"
convert talk.fodp pptx "Impress MS PowerPoint 2007 XML"
convert talk.fodp pptm "Impress MS PowerPoint 2007 XML VBA"

cp "$out/word.docm" "$out/word.dotm"
for pair in word.doc:wps word.doc:wpt sheet.xls:et sheet.xls:ett talk.ppt:dps talk.ppt:dpt; do
    from=${pair%:*}
    cp "$out/$from" "$out/${from%.*}.${pair#*:}"
done
printf 'WPS2001%0500d' 0 >"$out/old.wps"
