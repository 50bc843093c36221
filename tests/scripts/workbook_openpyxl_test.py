"""The runner's workbook of the corpus as openpyxl reads it: one sheet "属性", the CSV's row
count, every cell a string equal to the CSV's field with its formula guard removed.
  workbook_openpyxl_test.py TARNEL_BATCH [CORPUS]"""

import os
import sys
import tempfile

import workbook_checks as checks

try:
    import openpyxl
except ImportError:
    checks.skip("openpyxl is not installed (Debian: python3-openpyxl)")

batch = sys.argv[1]
corpus = sys.argv[2] if len(sys.argv) > 2 else checks.corpus_folder()
if not os.path.isdir(corpus):
    checks.skip(f"no corpus at {corpus}")

# Every column the reader fills, and the full names, of every document of the tree.
props = ",".join(str(n) for n in range(0, 40))
with tempfile.TemporaryDirectory() as work:
    workbook, text = os.path.join(work, "out.xlsx"), os.path.join(work, "out.csv")
    for output in (workbook, text):
        checks.run_job(batch, corpus, output, props, "--full-name", "--subfolders")
    expected = checks.csv_rows(text)
    book = openpyxl.load_workbook(workbook, read_only=True)
    failures = []
    if book.sheetnames != ["属性"]:
        failures.append(f"sheets {book.sheetnames}")
    rows = list(book.worksheets[0].iter_rows())
    if len(rows) != len(expected):
        failures.append(f"{len(rows)} rows, the CSV has {len(expected)}")
    for number, (row, fields) in enumerate(zip(rows, expected), start=1):
        cells = [cell.value if cell.value is not None else "" for cell in row]
        cells += [""] * (len(fields) - len(cells))
        if cells != fields:
            failures.append(f"row {number}: {cells} != {fields}")
        kinds = {cell.data_type for cell in row if cell.value is not None}
        if kinds - {"s"}:
            failures.append(f"row {number}: cells of type {kinds}")
    if len(expected) < 300:
        failures.append(f"only {len(expected)} rows: the corpus was not read")
    for failure in failures[:20]:
        print(failure)
    sys.exit(1 if failures else 0)
