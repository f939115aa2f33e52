#pragma once

// The class window's questions answered from a script, and what it asked or said recorded.

#include "ClassDialogs.h"

#include <QEventLoop>
#include <QTimer>
#include <QVector>

#include <functional>

class ScriptedClassDialogs : public ClassDialogs {
public:
    struct Call {
        QString kind; // "ask", "inform", "choose", ...
        QString text;
        QStringList buttons;
    };

    QVector<bool> answers;      // for ask(); when empty, defaultAnswer
    bool defaultAnswer = true;
    QVector<int> choices;       // for choose(); when empty, the default button
    QStringList texts;          // for askText(); when empty, cancelled
    QVector<int> numbers;       // for askNumber(); when empty, cancelled
    QStringList fileNames;      // for openFileName() and saveFileName(); when empty, cancelled
    QVector<PupilDetails> pupils; // for editPupil(); when empty, cancelled
    bool acceptRoster = true;
    QVector<CheckSettings> checkSettings; // for editCheckSettings(); when empty, cancelled
    QVector<QPair<int, int>> rosterAnswers; // the roster preview's rows and the class pupil chosen for each
    QVector<Call> calls;
    // Runs once while the next question is open (a signal arriving meanwhile), followed by
    // one turn of an event loop, as a real box's loop would take.
    std::function<void()> whileOpen;

    bool ask(const QString &, const QString &text, Icon, bool) override
    {
        calls.append({QStringLiteral("ask"), text, {}});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    void inform(const QString &, const QString &text, Icon) override
    {
        calls.append({QStringLiteral("inform"), text, {}});
    }
    int choose(const QString &, const QString &text, const QStringList &buttons, int defaultIndex, int) override
    {
        calls.append({QStringLiteral("choose"), text, buttons});
        if (whileOpen) {
            std::exchange(whileOpen, nullptr)();
            QEventLoop loop;
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return choices.isEmpty() ? defaultIndex : choices.takeFirst();
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return nextFile(); }
    QString saveFileName(const QString &, const QString &, const QString &) override { return nextFile(); }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        if (texts.isEmpty())
            return std::nullopt;
        return texts.takeFirst();
    }
    std::optional<int> askNumber(const QString &, const QString &, int, int, int) override
    {
        if (numbers.isEmpty())
            return std::nullopt;
        return numbers.takeFirst();
    }
    std::optional<PupilDetails> editPupil(const QString &, const PupilDetails &) override
    {
        if (pupils.isEmpty())
            return std::nullopt;
        return pupils.takeFirst();
    }
    std::optional<RosterPlan> previewRoster(const RosterTable &table, const ClassBook &book) override
    {
        RosterPlan plan = planRosterTable(book, table);
        calls.append({QStringLiteral("preview"), rosterPlanSummary(plan), {}});
        if (!acceptRoster)
            return std::nullopt;
        for (const auto &[row, pupil] : std::as_const(rosterAnswers))
            plan.rows[row].pupil = pupil;
        return plan;
    }

    QStringList said(const QString &kind) const
    {
        QStringList result;
        for (const Call &call : calls) {
            if (call.kind == kind)
                result.append(call.text);
        }
        return result;
    }

    std::optional<CheckSettings> editCheckSettings(const CheckSettings &) override
    {
        if (checkSettings.isEmpty())
            return std::nullopt;
        return checkSettings.takeFirst();
    }

private:
    QString nextFile() { return fileNames.isEmpty() ? QString() : fileNames.takeFirst(); }
};
