#pragma once

#include "ClassBook.h"

#include <QString>

// "列をコピー": one field of every pupil, in 出席番号 order, as text that Excel pastes into one
// column, a cell per pupil. It is the text Excel itself puts on the clipboard when it copies a
// column: a row per cell, each ended by CR LF (the last one too), a cell holding a line break
// enclosed in quotes with its quotes doubled, the line break inside as LF (how Excel stores it
// in a cell). Excel's paste reads such a quoted text back as one cell. A text holding a tab or
// a quote is quoted too, though Excel's copy leaves it bare: unquoted, the paste would split it
// at the tab, or take a leading quote for the start of a quoted cell. An empty field is an
// empty row, so that every pupil keeps their row. A text that Excel would take for a formula
// (one starting with = + - @) is written as the formula ="…" whose value is the text.
[[nodiscard]] QString columnCopyText(const ClassBook &book, int field);

// One cell as Excel writes it on the clipboard.
[[nodiscard]] QString clipboardCell(const QString &text);
