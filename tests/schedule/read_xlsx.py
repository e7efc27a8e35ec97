#!/usr/bin/python3
"""An .xlsx file as a spreadsheet reader (openpyxl) sees it, for the schedule
test: one JSON object of texts keyed "<sheet>!<what>".

  sheets                      the sheet names in order, joined by "|"
  properties!<name>           title, subject, creator, description
  <sheet>!<cell>              "n:<number>" or "s:<text>" for every cell that holds a value
  <sheet>!format:<cell>       its number format
  <sheet>!bold:<cell>         "1" or "0"
  <sheet>!width:<column>      the column's width as stored
  <sheet>!freeze              the top left cell under and beside the frozen panes
  <sheet>!filter, print_rows, orientation
  <sheet>!fit_width           the pages the sheet is fitted across when printed
  <sheet>!header, footer      the printed page's left|centre|right texts
"""
import json
import sys

import openpyxl


def number(value):
    # A number written as "850" and one written as "850.0" are the same number.
    return "%.15g" % value


def page_text(part):
    # "&&" is how the page's text holds an "&"; the printed page shows one.
    return "|".join((p.text or "").replace("&&", "&") for p in (part.left, part.center, part.right))


def fit_width(sheet):
    # An absent width means one page, as the format says.
    fitted = sheet.sheet_properties.pageSetUpPr and sheet.sheet_properties.pageSetUpPr.fitToPage
    return str(sheet.page_setup.fitToWidth or 1) if fitted else "not fitted"


def sheet_entries(sheet):
    out = {
        "freeze": sheet.freeze_panes or "",
        "filter": sheet.auto_filter.ref or "",
        "print_rows": sheet.print_title_rows or "",
        "orientation": sheet.page_setup.orientation or "",
        "fit_width": fit_width(sheet),
        "header": page_text(sheet.oddHeader),
        "footer": page_text(sheet.oddFooter),
    }
    for letter, dimension in sheet.column_dimensions.items():
        out["width:" + letter] = number(dimension.width)
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            kind = "n" if cell.data_type == "n" else "s"
            value = number(cell.value) if kind == "n" else str(cell.value)
            out[cell.coordinate] = kind + ":" + value
            out["format:" + cell.coordinate] = cell.number_format
            out["bold:" + cell.coordinate] = "1" if cell.font.b else "0"
    return out


def main(path):
    book = openpyxl.load_workbook(path)
    out = {"sheets": "|".join(book.sheetnames)}
    for name in ("title", "subject", "creator", "description"):
        out["properties!" + name] = getattr(book.properties, name) or ""
    for sheet in book.worksheets:
        for key, value in sheet_entries(sheet).items():
            out[sheet.title + "!" + key] = value
    sys.stdout.buffer.write(json.dumps(out, ensure_ascii=False, sort_keys=True).encode("utf-8"))


if __name__ == "__main__":
    main(sys.argv[1])
