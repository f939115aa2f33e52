#pragma once

#include "ClassBook.h"
#include "ExportFile.h"

#include <QString>

// The class as an Excel workbook (.xlsx) through libxlsxwriter: one sheet named after the
// class (and, when asked, a second one of the notes), the header row frozen, one row per pupil in 出席番号 order, comments in wrapped cells
// keeping their line breaks, field columns as wide as their limits suggest.

// The class name made into a sheet name Excel accepts: at most 31 characters (UTF-16 units,
// as Excel counts), no [ ] : * ? / \ (written as their full-width forms, so the name still
// reads the same), no apostrophe at either end, no control characters, not empty, not "History".
[[nodiscard]] QString sheetNameFor(const QString &className);

// A text as it goes into a cell: line breaks as LF (how Excel stores them in a cell); a
// literal _xHHHH_ guarded as _x005F_xHHHH_, since Excel reads _xHHHH_ as an escaped character;
// U+FFFE and U+FFFF, which XML cannot hold, escaped that way. libxlsxwriter itself escapes the
// other control characters (a vertical tab pasted from a word processor, ...).
[[nodiscard]] QString excelCellText(const QString &text);

// Width (Excel's character units) of a field column for a limit in characters (0 = none).
[[nodiscard]] double fieldColumnWidth(int limit);

// The second sheet's name: "メモ", or "メモ（2）" when the class's own sheet is called so.
[[nodiscard]] QString notesSheetNameBeside(const QString &classSheet);

struct XlsxOptions {
    bool notesSheet = false; // add a sheet of the pupils' notes (notesInExportOrder)
};

// Writes the workbook to a file beside path, then moves it into place. Replaces an existing
// file only when overwrite is set (the window asks first).
[[nodiscard]] ExportResult exportXlsx(const QString &path, const ClassBook &book, bool overwrite,
                                      const XlsxOptions &options = {});
