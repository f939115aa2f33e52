#include "PupilDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

PupilDialog::PupilDialog(const QString &title, const PupilDetails &details, QWidget *parent)
    : QDialog(parent), m_number(new QSpinBox(this)), m_name(new QLineEdit(this)), m_kana(new QLineEdit(this)),
      m_sex(new QComboBox(this)), m_calledAs(new QLineEdit(this))
{
    setObjectName(QStringLiteral("PupilDialog"));
    setWindowTitle(title);
    m_number->setObjectName(QStringLiteral("PupilNumber"));
    m_number->setRange(0, 9999);
    m_number->setSpecialValueText(QStringLiteral("なし"));
    m_number->setValue(details.number);
    m_name->setObjectName(QStringLiteral("PupilName"));
    m_name->setText(details.name);
    m_name->setPlaceholderText(QStringLiteral("姓と名の間は空白（例: 山田 花子）"));
    m_kana->setObjectName(QStringLiteral("PupilKana"));
    m_kana->setText(details.kana);
    m_sex->setObjectName(QStringLiteral("PupilSex"));
    m_sex->setEditable(true);
    m_sex->addItems({QString(), QStringLiteral("男"), QStringLiteral("女")});
    m_sex->setCurrentText(details.sex);
    m_calledAs->setObjectName(QStringLiteral("PupilCalledAs"));
    m_calledAs->setText(details.calledAs);
    m_calledAs->setPlaceholderText(QStringLiteral("〇〇に入る形（例: ゆうとさん）。空なら名前の呼び方で"));

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("出席番号"), m_number);
    form->addRow(QStringLiteral("氏名"), m_name);
    form->addRow(QStringLiteral("ふりがな"), m_kana);
    form->addRow(QStringLiteral("性別"), m_sex);
    form->addRow(QStringLiteral("呼び名"), m_calledAs);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PupilDetails PupilDialog::details() const
{
    return {m_number->value(), m_name->text(), m_kana->text(), m_sex->currentText(), m_calledAs->text()};
}
