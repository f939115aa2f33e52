#include "ClassDialogs.h"

#include "CheckSettingsDialog.h"
#include "PupilDialog.h"
#include "RosterPreviewDialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

bool WidgetClassDialogs::ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault)
{
    return m_boxes.ask(title, text, icon, yesIsDefault);
}

void WidgetClassDialogs::inform(const QString &title, const QString &text, Icon icon)
{
    m_boxes.inform(title, text, icon);
}

int WidgetClassDialogs::choose(const QString &title, const QString &text, const QStringList &buttons,
                               int defaultIndex, int cancelIndex)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, m_parent);
    QList<QAbstractButton *> added;
    for (int i = 0; i < buttons.size(); ++i) {
        QPushButton *button = box.addButton(buttons[i], i == cancelIndex ? QMessageBox::RejectRole
                                                                         : QMessageBox::AcceptRole);
        if (i == defaultIndex)
            box.setDefaultButton(button);
        if (i == cancelIndex)
            box.setEscapeButton(button);
        added.append(button);
    }
    box.exec();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen < 0 ? cancelIndex : chosen;
}

QString WidgetClassDialogs::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, folder, filter);
}

QString WidgetClassDialogs::saveFileName(const QString &title, const QString &suggestedPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, suggestedPath, filter);
}

QString WidgetClassDialogs::exportFileName(const QString &title, const QString &suggestedPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, suggestedPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

std::optional<QString> WidgetClassDialogs::askText(const QString &title, const QString &label, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<int> WidgetClassDialogs::askNumber(const QString &title, const QString &label, int value, int minimum,
                                                 int maximum)
{
    bool ok = false;
    const int number = QInputDialog::getInt(m_parent, title, label, value, minimum, maximum, 10, &ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<PupilDetails> WidgetClassDialogs::editPupil(const QString &title, const PupilDetails &details)
{
    PupilDialog dialog(title, details, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.details();
}

std::optional<RosterPlan> WidgetClassDialogs::previewRoster(const RosterTable &table, const ClassBook &book)
{
    RosterPreviewDialog dialog(table, book, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.plan();
}

std::optional<CheckSettings> WidgetClassDialogs::editCheckSettings(const CheckSettings &settings)
{
    CheckSettingsDialog dialog(settings, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}
