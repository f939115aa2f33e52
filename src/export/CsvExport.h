#pragma once

#include "ClassBook.h"
#include "ExportFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The class as CSV for record systems and older spreadsheets (RFC 4180): fields holding a
// comma, a quote or a line break are quoted, quotes doubled, each line ended by CR LF. A line
// break inside a comment is written as LF alone, as RFC 4180 allows inside quotes: that is how
// Excel stores a line break in a cell and writes it in its own CSV, and Excel shows a CR read
// inside a quoted field as a box.

enum class CsvEncoding {
    Utf8Bom, // UTF-8 with byte order mark: what current Excel and most systems read
    Cp932,   // Shift_JIS (code page 932) for older systems
};

// Every cell of the export table (header included) holding characters code page 932 cannot
// hold, by pupil in 出席番号 order and column. U+FFFD is among them: written as "?" it would be lost.
[[nodiscard]] QList<Cp932Refusal> cp932Refusals(const ClassBook &book);

// One field of a CSV line, quoted when it has to be.
[[nodiscard]] QString csvField(const QString &text);

// The whole table as CSV text, each line ended by CR LF.
[[nodiscard]] QString csvText(const ClassBook &book);

struct CsvBytes {
    QByteArray bytes;               // empty when refused
    QList<Cp932Refusal> refusals;   // code page 932 only
};

[[nodiscard]] CsvBytes csvBytes(const ClassBook &book, CsvEncoding encoding);

// Writes the CSV file safely. Replaces an existing file only when overwrite is set (the window
// asks first); refuses, writing nothing, when code page 932 cannot hold a character.
[[nodiscard]] ExportResult exportCsv(const QString &path, const ClassBook &book, CsvEncoding encoding,
                                     bool overwrite);
