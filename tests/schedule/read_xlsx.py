#!/usr/bin/python3
"""An .xlsx file as openpyxl reads it, for the schedule test: one JSON object
of texts keyed "<sheet>!<cell>" ("n:<number>" or "s:<text>"), "<sheet>!format:<cell>",
"<sheet>!bold:<cell>", "<sheet>!width:<column>", "<sheet>!freeze", "<sheet>!filter",
"<sheet>!header" (left|centre|right as printed), "sheets" and "title"."""
import json
import sys

import openpyxl


def number(value):
    # "850" and "850.0" in the file are the same number.
    return "%.15g" % value


def sheet_entries(sheet):
    header = sheet.oddHeader
    out = {
        "freeze": sheet.freeze_panes or "",
        "filter": sheet.auto_filter.ref or "",
        # "&&" is how a page header holds an "&"; the page shows one.
        "header": "|".join((p.text or "").replace("&&", "&") for p in (header.left, header.center, header.right)),
    }
    for letter, dimension in sheet.column_dimensions.items():
        out["width:" + letter] = number(dimension.width)
    for cell in (c for row in sheet.iter_rows() for c in row if c.value is not None):
        kind = "n" if cell.data_type == "n" else "s"
        out[cell.coordinate] = kind + ":" + (number(cell.value) if kind == "n" else str(cell.value))
        out["format:" + cell.coordinate] = cell.number_format
        out["bold:" + cell.coordinate] = "1" if cell.font.b else "0"
    return out


book = openpyxl.load_workbook(sys.argv[1])
entries = {"sheets": "|".join(book.sheetnames), "title": book.properties.title or ""}
for sheet in book.worksheets:
    entries.update({sheet.title + "!" + key: value for key, value in sheet_entries(sheet).items()})
sys.stdout.buffer.write(json.dumps(entries, ensure_ascii=False).encode("utf-8"))
