#pragma once

#include "ClassChecks.h"

class ClassNames;

// The checks of one text that the school's writing rules ask for, beside checkClass: each
// adds its findings to out, in text order.

// 文体 (by the class's setting, or by the text's own majority), the same ending three times
// or more in a row (once, on the third), and sentences over the class's length.
void addSentenceFindings(const CellRef &cell, const QString &text, const CheckSettings &settings,
                         QList<Finding> &out);

// Kanji outside the 常用漢字表 (adjacent ones together), and with a grade, kanji taught
// after it; never inside a name of a pupil of the class.
void addKanjiFindings(const CellRef &cell, const QString &text, int grade, const ClassNames &names,
                      QList<Finding> &out);
