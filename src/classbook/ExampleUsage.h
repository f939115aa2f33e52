#pragma once

#include "ClassBook.h"
#include "ClassChecks.h"

#include <QList>
#include <QString>

// Which pupils of the class already have an example from the main window in one of their
// fields, looked up in the class's sentence index (the one behind the table's ≒ marks), so
// the teacher sees before choosing it how often the class has it already. 〇〇 in the
// example stands for each pupil's name as the class calls them, as it was put into the field.

struct ExampleUsage {
    bool compared = false; // the example has a sentence long enough to compare
    QList<int> pupils;     // holding at least one of those sentences, ascending
};

[[nodiscard]] ExampleUsage exampleUsage(const ClassBook &book, const DuplicateSentences &index, const QString &example);

// "この例文は 4 人が使っています：3番 青木さん、…", that nobody has it yet, or nothing for an
// example too short to compare. At most `named` pupils are named, the rest counted.
[[nodiscard]] QString exampleUsageLine(const ClassBook &book, const ExampleUsage &usage, int named = 8);
