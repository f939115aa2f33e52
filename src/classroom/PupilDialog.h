#pragma once

#include "ClassEditing.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

// A pupil's 出席番号, 氏名, ふりがな, 性別 and 呼び名, for adding or correcting by hand.
class PupilDialog : public QDialog {
    Q_OBJECT
public:
    PupilDialog(const QString &title, const PupilDetails &details, QWidget *parent = nullptr);
    PupilDetails details() const;

private:
    QSpinBox *const m_number;
    QLineEdit *const m_name;
    QLineEdit *const m_kana;
    QComboBox *const m_sex;
    QLineEdit *const m_calledAs;
};
