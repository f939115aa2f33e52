#pragma once

#include "CheckSettings.h"
#include "ClassEditing.h"
#include "Dialogs.h"
#include "Roster.h"
#include "RosterMatch.h"

#include <QStringList>

#include <optional>

class QWidget;

// Every question the class window asks, so that tests can answer them: the program's
// yes/no and message boxes, plus a question with buttons of its own, file names, a
// text or a number, a pupil's details and the roster preview.
class ClassDialogs : public Dialogs {
public:
    // Buttons in the given order; returns the index chosen, or cancelIndex when the box
    // is closed without a choice.
    virtual int choose(const QString &title, const QString &text, const QStringList &buttons, int defaultIndex,
                       int cancelIndex) = 0;
    // A file to open or to save to; empty when the teacher cancels.
    virtual QString openFileName(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) = 0;
    // A file to export to. The caller asks itself before replacing a file, so the real
    // file dialog does not ask again.
    virtual QString exportFileName(const QString &title, const QString &suggestedPath, const QString &filter)
    {
        return saveFileName(title, suggestedPath, filter);
    }
    virtual std::optional<QString> askText(const QString &title, const QString &label, const QString &initial) = 0;
    virtual std::optional<int> askNumber(const QString &title, const QString &label, int value, int minimum,
                                         int maximum) = 0;
    virtual std::optional<PupilDetails> editPupil(const QString &title, const PupilDetails &details) = 0;
    // Shows the roster with its column roles and what it would change in the class; the plan
    // as the teacher corrected and answered it, or nothing when the import is cancelled.
    virtual std::optional<RosterPlan> previewRoster(const RosterTable &table, const ClassBook &book) = 0;
    // 点検の設定; nothing when the teacher cancels.
    virtual std::optional<CheckSettings> editCheckSettings(const CheckSettings &settings) = 0;
};

// The real boxes and dialogs, parented to a window.
class WidgetClassDialogs : public ClassDialogs {
public:
    explicit WidgetClassDialogs(QWidget *parent) : m_parent(parent), m_boxes(parent) {}

    bool ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault) override;
    void inform(const QString &title, const QString &text, Icon icon) override;
    int choose(const QString &title, const QString &text, const QStringList &buttons, int defaultIndex,
               int cancelIndex) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override;
    QString exportFileName(const QString &title, const QString &suggestedPath, const QString &filter) override;
    std::optional<QString> askText(const QString &title, const QString &label, const QString &initial) override;
    std::optional<int> askNumber(const QString &title, const QString &label, int value, int minimum,
                                 int maximum) override;
    std::optional<PupilDetails> editPupil(const QString &title, const PupilDetails &details) override;
    std::optional<RosterPlan> previewRoster(const RosterTable &table, const ClassBook &book) override;
    std::optional<CheckSettings> editCheckSettings(const CheckSettings &settings) override;

private:
    QWidget *m_parent;
    MessageBoxDialogs m_boxes;
};

// Nobody there to answer (the session is ending): every question gets its safe answer (No,
// Cancel, the cancel button) at once and nothing is shown, so that no new box holds up the
// end or runs an event loop under a window that is closing.
class UnattendedClassDialogs : public ClassDialogs {
public:
    bool ask(const QString &, const QString &, Icon, bool) override { return false; }
    void inform(const QString &, const QString &, Icon) override {}
    int choose(const QString &, const QString &, const QStringList &, int, int cancelIndex) override
    {
        return cancelIndex;
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<int> askNumber(const QString &, const QString &, int, int, int) override { return {}; }
    std::optional<PupilDetails> editPupil(const QString &, const PupilDetails &) override { return {}; }
    std::optional<RosterPlan> previewRoster(const RosterTable &, const ClassBook &) override { return {}; }
    std::optional<CheckSettings> editCheckSettings(const CheckSettings &) override { return {}; }
};
