#pragma once

#include "ClassBook.h"
#include "ClassChecks.h"
#include "ExportFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

// The review sheet: what a checker (学年主任, 教頭) reads of a hand-in, as a PDF drawn by Qt's own
// writer (no printing support needed, so it works on every platform the program runs on).
//
// A4 portrait. The first page opens with the title (class name, 第N回提出, date and time, the
// fields with their limits, and what the signs mean). Then one block per pupil in 出席番号 order:
// a rule, 出席番号 and 氏名 (ふりがな beside), and for each field its name, its length against the
// limit, 【前回から変更あり】 and a bar in the left margin where it changed since the last
// hand-in, and the text in full
// with the teacher's line breaks. 点検's findings stand in the right margin, numbered, beside
// the line where each starts, with the words they are about underlined in the text. A pupil's
// block is kept on one page when it fits. Every page has the class, hand-in and page number
// ("3 / 6") at its foot. The fonts are embedded (IPA Gothic, the TrueType font Debian installs).

struct ReviewSheetInput {
    ClassBook book;
    QList<Finding> findings;
    int handInNumber = 1;
    QDateTime at;
    // Fields changed since the last hand-in; only marked when there was one.
    bool hasEarlierHandIn = false;
    QSet<CellRef> changed;
};

struct ReviewSheetPdf {
    QByteArray bytes;
    int pages = 0;
};

[[nodiscard]] ReviewSheetPdf reviewSheetPdf(const ReviewSheetInput &input);

// Writes the sheet through the checked safe save; an existing file is replaced only with
// overwrite (the caller asks first).
[[nodiscard]] ExportResult writeReviewSheet(const QString &path, const QByteArray &bytes, bool overwrite);
