#pragma once

#include "Category.h"

#include <QDir>
#include <QStringList>

#include <functional>

// Loading and saving the three data files so that nothing the teacher had is lost. The
// teacher's answers come through a callback; nothing here shows a dialog.

// Asked before replacing a file that another program changed since it was read; true
// to overwrite it.
using AskOverwrite = std::function<bool(const QString &fileName)>;

// Reads the category's data file from folder. Returns what the teacher is told about
// it: nothing for a well-formed file, otherwise one paragraph per problem.
[[nodiscard]] QStringList loadCategory(Category &category, const QDir &folder);

// Writes the category's data file: a file that could not be read is left alone, a file
// changed by another program since loading is only replaced when the teacher agrees,
// the start-up content is kept as a .bak before the first change, and the old file stays
// whole if writing fails. Returns the message for a failure, or an empty string.
[[nodiscard]] QString saveCategory(Category &category, const QDir &folder, const AskOverwrite &askOverwrite);
