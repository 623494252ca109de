"""Reads a workbook back as a spreadsheet program sees it and prints it as JSON: each sheet's
name, frozen pane, column widths and every cell's type ('n' number, 's' text, 'd' date), value
and number format."""
import datetime
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for sheet in book.worksheets:
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for cell in row:
            value = cell.value
            if isinstance(value, datetime.datetime):
                value = value.strftime("%Y-%m-%d %H:%M:%S")
            cells.append({"type": cell.data_type, "value": value, "format": cell.number_format})
        rows.append(cells)
    widths = {key: dim.width for key, dim in sheet.column_dimensions.items()}
    sheets.append({"name": sheet.title, "frozen": sheet.freeze_panes, "widths": widths, "rows": rows})
print(json.dumps(sheets, ensure_ascii=False))
