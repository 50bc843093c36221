"""The runner's workbook converted to CSV by LibreOffice headless: the same content as the
runner's CSV without its formula guard, and texts that look like formulas, numbers or dates
(=1+2, -5, long digits) stay the texts they are.
  workbook_libreoffice_test.py TARNEL_BATCH"""

import os
import shutil
import subprocess
import sys
import tempfile

import workbook_checks as checks

soffice = os.environ.get("TARNEL_SOFFICE") or shutil.which("soffice")
if not soffice:
    checks.skip("LibreOffice is not installed (Debian: libreoffice-calc-nogui)")

batch = sys.argv[1]
titles = ["=1+2", "-5", "0012345678901234567890", "2024/1/2", "𠀀 😀 한국 ẞ", "a;=b", "@x"]
with tempfile.TemporaryDirectory() as work:
    documents = os.path.join(work, "documents")
    os.mkdir(documents)
    for number, title in enumerate(titles):
        checks.write_docx(os.path.join(documents, f"{number}.docx"), title)
    workbook, text = os.path.join(work, "out.xlsx"), os.path.join(work, "out.csv")
    for output in (workbook, text):
        checks.run_job(batch, documents, output, "0,21")
    converted = os.path.join(work, "converted")
    # Comma-separated, quoted, UTF-8 (character set 76).
    subprocess.run([soffice, f"-env:UserInstallation=file://{work}/profile", "--headless",
                    "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                    "--outdir", converted, workbook],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=300)
    rows = checks.csv_rows(os.path.join(converted, "out.csv"))
    expected = [["名称", "标题"]] + [[f"{n}.docx", t] for n, t in enumerate(titles)]
    failures = []
    if rows != expected:
        failures.append(f"LibreOffice's rows {rows} != {expected}")
    if checks.csv_rows(text) != expected:
        failures.append(f"the CSV's rows {checks.csv_rows(text)} != {expected}")
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)
