"""What the workbook checks share: running the runner to both outputs, the CSV read back as
its fields were before the formula guard, and small .docx documents with chosen titles."""

import csv
import os
import subprocess
import sys
import zipfile
from xml.sax.saxutils import escape

SKIP = 77  # what ctest counts as skipped

FORMULA_STARTS = "=+-@\t\r"


def _is_plain_number(text):
    if text[:1] in ("+", "-"):
        text = text[1:]
    digits = point = False
    for c in text:
        if c.isdigit() and c.isascii():
            digits = True
        elif c == "." and not point:
            point = True
        elif c != " ":
            return False
    return digits


def _may_open_as_formula(text):
    return text[:1] != "" and text[0] in FORMULA_STARTS and not _is_plain_number(text)


def unguarded(field):
    """The field without the apostrophes the CSV puts before a text a spreadsheet would run:
    at its start and after a ";" or a tab that starts such a piece."""
    if field.startswith("'") and _may_open_as_formula(field[1:]):
        field = field[1:]
    out = []
    i = 0
    while i < len(field):
        c = field[i]
        out.append(c)
        i += 1
        if c in ";\t" and field[i:i + 1] == "'":
            piece = field[i + 1:].split(c)[0]
            if _may_open_as_formula(piece):
                i += 1
    return "".join(out)


def csv_rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return [[unguarded(field) for field in row] for row in csv.reader(f)]


def run_job(batch, folder, output, props, *options):
    subprocess.run([batch, "--props", props, "--out", output, *options, folder], check=True,
                   stdout=subprocess.DEVNULL)


def write_docx(path, title):
    """A .docx of one paragraph whose core properties hold the title."""
    package = "http://schemas.openxmlformats.org/package/2006"
    office = "http://schemas.openxmlformats.org/officeDocument/2006"
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("[Content_Types].xml",
                   f'<Types xmlns="{package}/content-types">'
                   '<Default Extension="rels" ContentType="application/'
                   'vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Override PartName="/word/document.xml" ContentType="application/vnd.'
                   'openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
                   '<Override PartName="/docProps/core.xml" ContentType="application/'
                   'vnd.openxmlformats-package.core-properties+xml"/></Types>')
        z.writestr("_rels/.rels",
                   f'<Relationships xmlns="{package}/relationships">'
                   f'<Relationship Id="rId1" Type="{office}/relationships/officeDocument" '
                   'Target="word/document.xml"/>'
                   f'<Relationship Id="rId2" Type="{package}/relationships/metadata/'
                   'core-properties" Target="docProps/core.xml"/></Relationships>')
        z.writestr("word/document.xml",
                   '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/'
                   '2006/main"><w:body><w:p><w:r><w:t>x</w:t></w:r></w:p></w:body>'
                   '</w:document>')
        z.writestr("docProps/core.xml",
                   f'<cp:coreProperties xmlns:cp="{package}/metadata/core-properties" '
                   'xmlns:dc="http://purl.org/dc/elements/1.1/">'
                   f'<dc:title>{escape(title)}</dc:title></cp:coreProperties>')


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


def corpus_folder():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.normpath(os.path.join(here, "..", "..", "..", "shared", "corpus"))
