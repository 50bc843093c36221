#!/usr/bin/env python3
"""Compares the reader's text titles with LibreOffice Writer's text export.

    compare-text-titles.py CACHE READER_OUTPUT

CACHE is the folder scripts/libreoffice-text.sh fills (REL.txt for every document
LibreOffice opened, REL.unopened for the others); READER_OUTPUT holds the lines
"REL<TAB>text" of tarnel_first_paragraph. LibreOffice's title of a document is the first
line of its export holding a letter or ideograph, cleaned by the rule the reader applies to
its first paragraph (shell/reader/text/FirstParagraph):
  - lines end at LF, CR, VT, FF, U+0085, U+2028 and U+2029; export lines are LibreOffice's
    paragraphs and manual line breaks, so this also cuts at the first line break;
  - control characters, the soft hyphen and zero-width characters are dropped;
  - every run of blanks (space, tab, no-break and other Unicode spaces) becomes one blank,
    and the line is trimmed;
  - it is cut to at most 64 characters (code points);
  - trailing blanks and punctuation are dropped, except closing brackets and quotes (the
    straight quotes count as closing), so "Report (draft)" keeps its ")";
  - a line left empty by that (its letters all past the cut) does not count.
Letters are Unicode's (category L); the reader's own table differs only on rare symbols.

Prints the agreement (equal titles out of the documents LibreOffice opened, an empty title
on both sides counting as equal) and then every document that differs, with both titles and
a first guess at the reason. Exits 1 when the agreement is under 90 %.
"""

import os
import re
import sys
import unicodedata

MAX_CHARACTERS = 64
TARGET = 0.90


LINE_BREAK = re.compile("[\n\r\v\f\x85\u2028\u2029]")
INVISIBLE = re.compile("[\x00-\x08\x0e-\x1f\x7f-\x84\x86-\x9f\xad\u200b\u2060\ufeff]")
BLANKS = re.compile("[\t \xa0\u1680\u2000-\u200a\u202f\u205f\u3000]+")
KEPT_AT_END = {"'", '"', "\uff02", "\uff07"}


def has_letter(text):
    return any(unicodedata.category(c).startswith("L") for c in text)


def is_trailing_junk(c):
    category = unicodedata.category(c)
    return c == " " or (category in ("Pc", "Pd", "Ps", "Pi", "Po") and c not in KEPT_AT_END)


def cleaned(line):
    text = BLANKS.sub(" ", INVISIBLE.sub("", line)).strip(" ")[:MAX_CHARACTERS]
    end = len(text)
    while end > 0 and is_trailing_junk(text[end - 1]):
        end -= 1
    return text[:end]


def lines(path):
    with open(path, encoding="utf-8-sig", errors="replace") as f:
        return LINE_BREAK.split(f.read())


def first_line_title(path):
    for line in lines(path):
        if has_letter(line) and cleaned(line):
            return cleaned(line)
    return ""


NUMBERING = re.compile(r"^(\d+(\.\d+)*[.)]?|[A-Za-z][.)]|[ivxIVX]+[.)]|\W)\s")


def left_over(longer, shorter):
    """The characters of longer that are not in shorter, when shorter is a subsequence of it
    (matched greedily), else None."""
    extra, rest = [], iter(shorter)
    wanted = next(rest, None)
    for c in longer:
        if c == wanted:
            wanted = next(rest, None)
        else:
            extra.append(c)
    return None if wanted is not None else "".join(extra)


def reason(ours, theirs, export_path):
    """A first guess at why the titles differ, for a person to confirm."""
    if not ours:
        return "reader found no text"
    if not theirs:
        return "LibreOffice shows no line with a letter"
    if any("\uf000" <= c <= "\uf0ff" for c in theirs):
        return "LibreOffice shows a symbol font's character (private use)"
    if theirs.endswith(ours) and NUMBERING.match(theirs[: len(theirs) - len(ours)] + " "):
        return "list numbering in the export"
    extra = left_over(theirs, ours)
    if extra and all(c in "0123456789ivx*" for c in extra):
        return "note reference marks in the export"
    if ours.casefold() == theirs.casefold():
        return "letter case (small caps or caps formatting)"
    if ours.replace(" ", "") == theirs.replace(" ", ""):
        return "white space"
    if ours in (cleaned(line) for line in lines(export_path) if has_letter(line)):
        return "LibreOffice shows another line first (header, text box, frame, hidden text?)"
    if theirs.startswith(ours) or ours.startswith(theirs):
        return "one is a prefix of the other (line break, field or special character)"
    return "other"


def main():
    cache, reader_output = sys.argv[1], sys.argv[2]
    ours = {}
    with open(reader_output, encoding="utf-8", errors="replace") as f:
        for line in f:
            rel, _, text = line.rstrip("\n").partition("\t")
            ours[rel] = text
    opened, unopened, pending, differing, both_empty = [], [], [], [], 0
    for rel in sorted(ours):
        export = os.path.join(cache, rel + ".txt")
        if not os.path.exists(export):
            tried = os.path.exists(os.path.join(cache, rel + ".unopened"))
            (unopened if tried else pending).append(rel)
            continue
        opened.append(rel)
        theirs = first_line_title(export)
        both_empty += not theirs and not ours[rel]
        if theirs != ours[rel]:
            differing.append((rel, ours[rel], theirs, reason(ours[rel], theirs, export)))

    equal = len(opened) - len(differing)
    with_text = sum(1 for rel in opened if ours[rel])
    share = equal / len(opened) if opened else 0.0
    print(
        f"documents: {len(ours)}, opened by LibreOffice: {len(opened)}, "
        f"not opened: {len(unopened)}"
    )
    if pending:
        print(f"not yet converted by LibreOffice, left out: {len(pending)}")
    print(f"reader found a text title for {with_text} of the {len(opened)} opened")
    print(
        f"agreement: {equal} of {len(opened)} = {100 * share:.1f} % "
        f"(target >= {100 * TARGET:.0f} %: {'met' if share >= TARGET else 'MISSED'})"
    )
    with_any = len(opened) - both_empty
    print(
        f"where either found a line ({with_any} documents): {equal - both_empty} agree"
        f" ({100 * (equal - both_empty) / max(with_any, 1):.1f} %)"
    )
    if unopened:
        print("\nnot opened by LibreOffice:")
        for rel in unopened:
            with open(os.path.join(cache, rel + ".unopened"), encoding="utf-8") as f:
                why = f.read().strip()
            print(f"  {rel} ({why})")
    if differing:
        print("\ndiffering (reader | LibreOffice):")
        for rel, mine, theirs, why in sorted(differing, key=lambda d: (d[3], d[0])):
            print(f"  {rel} [{why}]\n    reader:      {mine!r}\n    LibreOffice: {theirs!r}")
    return 0 if share >= TARGET else 1


if __name__ == "__main__":
    sys.exit(main())
