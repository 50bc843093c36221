#!/usr/bin/env python3
"""The LibreOffice check cleans its lines as the reader cleans a first paragraph.

    text_title_rule_test.py TARNEL_FIRST_PARAGRAPH

scripts/compare-text-titles.py keeps its own copy of the reader's rule; if the two drift
apart, every check shows differences that are no fault of either program. Each case is a
list of paragraphs: written as a .docx for the reader (tarnel_first_paragraph) and as an
export of one line per paragraph for the copy, both must give the same title.
"""

import importlib.machinery
import os
import subprocess
import sys
import tempfile
import types
import zipfile
from xml.sax.saxutils import escape

CASES = [
    # blanks: runs of any kind one blank, trimmed
    ["  Hello,\tworld  ", "next"],
    ["第一章\u3000\u3000总则", "next"],
    ["no\u00a0break\u2003em space"],
    # trailing punctuation dropped, closing brackets and quotes kept
    ["Report (draft)."],
    ["“Quoted”."],
    ["«Guillemets»!"],
    ["It's 'single' \"double\""],
    ["会议纪要：", "next"],
    ["Minutes..."],
    ["Open ( [ {"],
    ["Dash - – —"],
    ["Math = + $"],
    # invisible characters dropped
    ["soft\u00adhyphen zero\u200bwidth"],
    # the cut: 64 characters, then the trailing punctuation of what is left
    ["a" * 70],
    ["汉" * 63 + "，后面"],
    ["x" * 62 + " !y"],
    # lines without a letter are passed over
    ["12 34", "—", "...", "Title"],
    ["2024-05-06", "第 3 号"],
    ["", "", "late start"],
    ["٣٤٥", "Ελληνικά"],
    ["only 123 ...", "ignored"],
]


def load_rule(root):
    # No bytecode cache in the source tree.
    sys.dont_write_bytecode = True
    path = os.path.join(root, "scripts", "compare-text-titles.py")
    # The script's name holds dashes, so it is loaded from its path, not imported.
    loader = importlib.machinery.SourceFileLoader("compare_text_titles", path)
    module = types.ModuleType(loader.name)
    loader.exec_module(module)
    return module


def write_docx(path, paragraphs):
    body = "".join(
        f'<w:p><w:r><w:t xml:space="preserve">{escape(text)}</w:t></w:r></w:p>'
        for text in paragraphs
    )
    word = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
    office = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as package:
        package.writestr(
            "[Content_Types].xml",
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="xml" ContentType="application/xml"/></Types>',
        )
        package.writestr(
            "_rels/.rels",
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            f'<Relationship Id="rId1" Type="{office}" Target="word/document.xml"/>'
            "</Relationships>",
        )
        package.writestr(
            "word/document.xml",
            f'<w:document xmlns:w="{word}"><w:body>{body}</w:body></w:document>',
        )


def main():
    tool = sys.argv[1]
    rule = load_rule(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for number, paragraphs in enumerate(CASES):
            document = os.path.join(work, f"{number}.docx")
            export = os.path.join(work, f"{number}.txt")
            write_docx(document, paragraphs)
            with open(export, "w", encoding="utf-8-sig") as f:
                f.write("\n".join(paragraphs) + "\n")
            output = subprocess.run([tool, document], capture_output=True, check=True, text=True)
            reader = output.stdout.rstrip("\n").partition("\t")[2]
            copy = rule.first_line_title(export)
            if reader != copy:
                failures += 1
                print(f"case {paragraphs!r}:\n  reader: {reader!r}\n  copy:   {copy!r}")
    print(f"{len(CASES) - failures} of {len(CASES)} cases agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
