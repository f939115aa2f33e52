#include "CheckSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

CheckSettingsDialog::CheckSettingsDialog(const CheckSettings &settings, QWidget *parent)
    : QDialog(parent), m_style(new QComboBox(this)), m_sentenceLimit(new QSpinBox(this)), m_grade(new QComboBox(this))
{
    setObjectName(QStringLiteral("CheckSettingsDialog"));
    setWindowTitle(QStringLiteral("点検の設定"));
    m_style->setObjectName(QStringLiteral("CheckStyle"));
    for (const WritingStyle style : {WritingStyle::Polite, WritingStyle::Plain, WritingStyle::Consistent})
        m_style->addItem(writingStyleCaption(style), int(style));
    m_style->setCurrentIndex(m_style->findData(int(settings.style)));
    m_sentenceLimit->setObjectName(QStringLiteral("CheckSentenceLimit"));
    m_sentenceLimit->setRange(0, MaxSentenceLimit);
    m_sentenceLimit->setSuffix(QStringLiteral(" 字まで"));
    m_sentenceLimit->setSpecialValueText(QStringLiteral("調べない"));
    m_sentenceLimit->setValue(settings.sentenceLimit);
    m_grade->setObjectName(QStringLiteral("CheckGrade"));
    for (int grade = NoGrade; grade <= JuniorHighGrade; ++grade)
        m_grade->addItem(gradeCaption(grade), grade);
    m_grade->setCurrentIndex(m_grade->findData(settings.grade));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("文体(&S)"), m_style);
    form->addRow(QStringLiteral("一文の長さ(&L)"), m_sentenceLimit);
    form->addRow(QStringLiteral("漢字の学年(&G)"), m_grade);
    auto *gradeNote = new QLabel(QStringLiteral("学年を選ぶと、その学年までに習わない漢字も知らせます。"), this);
    gradeNote->setWordWrap(true);
    form->addRow(QString(), gradeNote);

    auto *kinds = new QGroupBox(QStringLiteral("点検で知らせるもの"), this);
    auto *grid = new QGridLayout(kinds);
    const QList<CheckKind> all = checkKinds();
    const int rows = int(all.size() + 1) / 2;
    for (int i = 0; i < all.size(); ++i) {
        auto *box = new QCheckBox(checkKindCaption(all[i]), kinds);
        box->setObjectName(QStringLiteral("CheckKind%1").arg(int(all[i])));
        box->setChecked(settings.isOn(all[i]));
        grid->addWidget(box, i % rows, i / rows);
        m_kinds.append({all[i], box});
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(kinds);
    layout->addWidget(buttons);
}

CheckSettings CheckSettingsDialog::settings() const
{
    CheckSettings settings;
    settings.style = WritingStyle(m_style->currentData().toInt());
    settings.sentenceLimit = m_sentenceLimit->value();
    settings.grade = m_grade->currentData().toInt();
    for (const auto &[kind, box] : m_kinds)
        settings.setOn(kind, box->isChecked());
    return settings;
}
