#pragma once

// Shared by the widget tests: a dialog stand-in that records what the window asked or
// said and answers from a script, and a working folder holding data files.

#include "Dialogs.h"
#include "TestFolder.h"

#include <QStringList>
#include <QVector>

class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        bool question;
        QString title;
        QString text;
        Icon icon;
        bool yesIsDefault;
    };

    // Answers to the next questions, in order; when they run out, questions get defaultAnswer.
    QVector<bool> answers;
    bool defaultAnswer = true;
    QVector<Call> calls;

    bool ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault) override
    {
        calls.append({true, title, text, icon, yesIsDefault});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    void inform(const QString &title, const QString &text, Icon icon) override
    {
        calls.append({false, title, text, icon, false});
    }
    QStringList texts() const
    {
        QStringList result;
        for (const Call &call : calls)
            result.append(call.text);
        return result;
    }
};
