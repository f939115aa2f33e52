#pragma once

// Answers the question whether to overwrite a data file changed by another program, from a
// script (yes when it runs out), and records which files it was asked for.

#include "LibraryFiles.h"

#include <QList>
#include <QStringList>

struct OverwriteAnswers {
    QList<bool> answers;
    QStringList asked;
    AskOverwrite callback()
    {
        return [this](const QString &fileName) {
            asked.append(fileName);
            return answers.isEmpty() || answers.takeFirst();
        };
    }
};
