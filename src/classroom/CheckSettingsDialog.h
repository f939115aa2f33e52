#pragma once

#include "CheckSettings.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QSpinBox;

// 点検の設定: the class's 文体, the longest sentence, the grade whose kanji are learned, and
// which kinds of finding 点検 lists.
class CheckSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CheckSettingsDialog(const CheckSettings &settings, QWidget *parent = nullptr);

    [[nodiscard]] CheckSettings settings() const;

private:
    QComboBox *const m_style;
    QSpinBox *const m_sentenceLimit;
    QComboBox *const m_grade;
    QList<std::pair<CheckKind, QCheckBox *>> m_kinds;
};
