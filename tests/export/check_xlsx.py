#!/usr/bin/env python3
"""Reads a workbook written by Kotoban with openpyxl, a reader that shares no code with the
writer, and compares every cell, the sheet name, the frozen header row, wrapping and the column
widths with what the class held.

    check_xlsx.py <xlsx_sample program, after the command that runs it if any> <scratch folder>

Exits 77 (skipped) when openpyxl is not installed."""
import json
import os
import re
import subprocess
import sys

try:
    import openpyxl
    import openpyxl.reader.excel
    from openpyxl.cell.text import Text
    from openpyxl.utils import get_column_letter
    from openpyxl.xml.constants import SHEET_MAIN_NS
    from openpyxl.xml.functions import iterparse
except ImportError:
    print("SKIP: python3-openpyxl is not installed")
    sys.exit(77)


def read_strings_as_excel_does(xml_source):
    """The shared strings as Excel reads them. The file escapes characters as _xHHHH_
    (ECMA-376, ST_Xstring: control characters, and _x005F_ for an underscore that would
    otherwise start one); openpyxl only drops "x005F_" and leaves the other escapes, so a
    literal "_x000D_" and an escaped CR would read alike. This replaces its string table
    reader; everything else is openpyxl's."""
    strings = []
    for _, node in iterparse(xml_source):
        if node.tag == "{%s}si" % SHEET_MAIN_NS:
            text = Text.from_tree(node).content
            strings.append(re.sub("_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text))
            node.clear()
    return strings


openpyxl.reader.excel.read_string_table = read_strings_as_excel_does


def main():
    command, scratch = sys.argv[1:-1], sys.argv[-1]
    os.makedirs(scratch, exist_ok=True)
    workbook_path = os.path.join(scratch, "学級 所見.xlsx")
    expected_path = os.path.join(scratch, "expected.json")
    subprocess.run(command + [workbook_path, expected_path], check=True)
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)

    failures = []
    workbook = openpyxl.load_workbook(workbook_path)
    if workbook.sheetnames != [expected["sheet"], expected["notesSheet"]]:
        failures.append(f"sheets {workbook.sheetnames!r}, expected {[expected['sheet'], expected['notesSheet']]!r}")
    sheet = workbook.worksheets[0]
    rows = expected["rows"]
    if sheet.max_row != len(rows) or sheet.max_column != len(rows[0]):
        failures.append(f"size {sheet.max_row}x{sheet.max_column}, expected {len(rows)}x{len(rows[0])}")
    for r, row in enumerate(rows, start=1):
        for c, want in enumerate(row, start=1):
            cell = sheet.cell(row=r, column=c)
            got = cell.value
            if r > 1 and c == 1 and want != "":
                # 出席番号 is a number in the sheet, so that Excel sorts it as one.
                if not isinstance(got, (int, float)) or str(int(got)) != want:
                    failures.append(f"{cell.coordinate}: number {got!r}, expected {want}")
                continue
            if got is None:
                got = ""
            if got != want:
                failures.append(f"{cell.coordinate}: {got!r}, expected {want!r}")
            if r > 1 and c > 1 and not cell.alignment.wrap_text:
                failures.append(f"{cell.coordinate}: not wrapped")
            if r > 1 and cell.data_type not in ("s", "n"):
                failures.append(f"{cell.coordinate}: type {cell.data_type}, expected a text")
    if sheet.freeze_panes != "A2":
        failures.append(f"frozen at {sheet.freeze_panes!r}, expected the header row (A2)")
    for i, width in enumerate(expected["fieldWidths"]):
        letter = get_column_letter(4 + i)
        got = sheet.column_dimensions[letter].width
        # The file holds Excel's width with its cell padding added.
        if got is None or abs(got - width) > 1:
            failures.append(f"column {letter}: width {got}, expected about {width}")

    # The notes: 出席番号 a number, 日付 a date Excel sorts by (text before 1900, where its dates start).
    notes = workbook.worksheets[-1]
    for r, row in enumerate(expected["notes"], start=1):
        for c, want in enumerate(row, start=1):
            got = notes.cell(row=r, column=c).value
            if r > 1 and c == 1 and want != "":
                got = str(int(got)) if isinstance(got, (int, float)) else got
            elif r > 1 and c == 3 and hasattr(got, "date"):
                got = got.date().isoformat()
            if (got if got is not None else "") != want:
                failures.append(f"notes {notes.cell(row=r, column=c).coordinate}: {got!r}, expected {want!r}")
    if notes.max_row != len(expected["notes"]):
        failures.append(f"notes: {notes.max_row} rows, expected {len(expected['notes'])}")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"{len(rows)} rows x {len(rows[0])} columns read back intact")
    return 0


if __name__ == "__main__":
    sys.exit(main())
