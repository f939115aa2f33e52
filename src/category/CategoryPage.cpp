#include "CategoryPage.h"

#include "Characters.h"
#include "Colours.h"
#include "SimpleCombo.h"
#include "TextBox.h"
#include "Twips.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

const std::array<CategoryLook, 3> &categoryLooks()
{
    static const std::array<CategoryLook, 3> looks{{
        {0, {QStringLiteral("Combo1"), QStringLiteral("Combo2"), QStringLiteral("Combo3")}, QStringLiteral("List1"),
         QStringLiteral("Text2"), QStringLiteral("Label3"), colours::peach, QRect(5640, 720, 1335, 255)},
        {1, {QStringLiteral("Combo4"), QStringLiteral("Combo5"), QStringLiteral("Combo6")}, QStringLiteral("List2"),
         QStringLiteral("Text3"), QStringLiteral("Label4"), colours::lightCyan, QRect(5640, 720, 1335, 255)},
        {2, {QStringLiteral("Combo7"), QStringLiteral("Combo8"), QStringLiteral("Combo9")}, QStringLiteral("List3"),
         QStringLiteral("Text4"), QStringLiteral("Label7"), colours::lightYellow, QRect(5640, 720, 1095, 225)},
    }};
    return looks;
}

QString numberText(int number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

QString listEntry(const QString &sentence) { return leftCharacters(sentence, 10) + QStringLiteral("･･･"); }

CategoryPage::CategoryPage(const CategoryLook &look, Category &category, QWidget *frame, QObject *parent)
    : QObject(parent),
      m_look(look),
      m_category(category),
      m_list(new QListWidget(frame)),
      m_text(new TextBox(frame)),
      m_label(new QLabel(frame))
{
    static const int comboLeft[3] = {240, 1800, 3360};
    for (int level = 0; level < 3; ++level) {
        m_combo[level] = new SimpleCombo(frame);
        m_combo[level]->setObjectName(look.comboNames[level]);
        m_combo[level]->setGeometry(twipsRect(comboLeft[level], 720, 1455, 1260));
        connect(m_combo[level], &SimpleCombo::textChanged, this, [this, level] { runRefresh(level); });
        connect(m_combo[level], &SimpleCombo::picked, this, [this, level] { runRefresh(level); });
        connect(m_combo[level], &SimpleCombo::textCut, this, &CategoryPage::classTextCut);
    }
    m_list->setObjectName(look.listName);
    m_list->setGeometry(twipsRect(4920, 1008, 2175, 960));
    m_list->setUniformItemSizes(true);
    connect(m_list, &QListWidget::currentRowChanged, this, &CategoryPage::showSelectedExample);
    connect(m_list, &QListWidget::itemClicked, this, &CategoryPage::showSelectedExample);

    m_text->setObjectName(look.textName);
    m_text->setGeometry(twipsRect(1440, 2160, 4095, 975));
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, look.textBackground);
    m_text->setPalette(palette);

    m_label->setObjectName(look.labelName);
    m_label->setGeometry(twipsRect(look.labelTwips));
    setBackground(m_label, colours::grey);
}

QList<QWidget *> CategoryPage::tabChain() const { return {m_combo[0], m_combo[1], m_combo[2], m_list}; }

void CategoryPage::setVisible(bool visible)
{
    for (SimpleCombo *combo : m_combo)
        combo->setVisible(visible);
    m_list->setVisible(visible);
    m_text->setVisible(visible);
    m_label->setVisible(visible);
}

void CategoryPage::clearExampleList()
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
}

void CategoryPage::fillClassList()
{
    for (SimpleCombo *combo : m_combo)
        combo->clear();
    clearExampleList();
    m_text->setText(QString());
    m_combo[0]->addItems(m_category.firstLevelClasses());
    m_label->setText(numberText(m_category.count()));
}

void CategoryPage::runRefresh(int level)
{
    switch (level) {
    case 0: refreshFirstLevel(); break;
    case 1: refreshSecondLevel(); break;
    default: refreshThirdLevel(); break;
    }
}

void CategoryPage::refreshFirstLevel()
{
    m_combo[1]->clear();
    m_combo[2]->clear();
    clearExampleList();
    m_text->setText(QString());

    const Narrowed narrowed = m_category.narrowFirst(m_combo[0]->text());
    m_firstLevel = narrowed.records;
    m_combo[1]->addItems(narrowed.nextClasses);
    m_label->setText(numberText(m_firstLevel.size()));
}

void CategoryPage::refreshSecondLevel()
{
    m_combo[2]->clear();
    clearExampleList();
    m_text->setText(QString());

    const Narrowed narrowed = m_category.narrowSecond(m_firstLevel, m_combo[0]->text(), m_combo[1]->text());
    m_secondLevel = narrowed.records;
    if (m_secondLevel.isEmpty()) {
        // A typed text that names no class: nothing to narrow further.
        m_label->setText(numberText(0));
        return;
    }
    m_combo[2]->addItems(narrowed.nextClasses);
    // The third list stands on its first entry; its refresh then fills the example list.
    m_combo[2]->setTextQuietly(m_category.record(m_secondLevel.first()).thirdClass());
    m_combo[2]->setCurrentIndexQuietly(0);
    refreshThirdLevel();
    m_label->setText(QStringLiteral("1/") + numberText(m_secondLevel.size()));
}

void CategoryPage::refreshThirdLevel()
{
    m_thirdLevel = m_category.narrowThird(m_secondLevel, m_combo[2]->text());
    QStringList entries;
    for (int r : qAsConst(m_thirdLevel))
        entries.append(listEntry(m_category.record(r).sentence()));
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        m_list->addItems(entries);
    }
    if (m_category.count() == 0)
        return;
    if (m_thirdLevel.isEmpty()) {
        // A typed text that matches no example: show nothing.
        m_text->setText(QString());
        m_label->setText(numberText(0));
        return;
    }
    m_category.setPosition(m_thirdLevel.first());
    selectLine(0); // shows the example
}

void CategoryPage::showSelectedExample()
{
    const int record = shownRecord();
    if (record == 0)
        return;
    m_category.setPosition(record);
    m_text->setText(m_category.record(record).sentence());
    m_label->setText(numberText(m_list->currentRow() + 1) + u'/' + numberText(m_thirdLevel.size()));
}

int CategoryPage::shownRecord() const
{
    const int row = m_list->currentRow();
    return m_list->count() > 0 && row >= 0 && row < m_thirdLevel.size() ? m_thirdLevel[row] : 0;
}

Example CategoryPage::typedExample() const
{
    Example example;
    for (int level = 0; level < 3; ++level)
        example.field[level] = m_combo[level]->text();
    example.field[3] = m_text->text();
    return example;
}

void CategoryPage::showSentence(const QString &sentence) { m_text->setText(sentence); }

void CategoryPage::narrowToClasses(const Example &classes)
{
    // A copy: the refreshes below may run over the record the classes came from.
    const Example wanted = classes;
    for (int level = 0; level < 3; ++level) {
        m_combo[level]->setTextQuietly(wanted.field[level]);
        runRefresh(level);
    }
}

void CategoryPage::narrowTo(int record)
{
    narrowToClasses(m_category.record(record));
    m_category.setPosition(record);
    const int position = m_thirdLevel.indexOf(record);
    if (position >= 0)
        selectLine(position);
}

void CategoryPage::selectLine(int row)
{
    if (m_list->currentRow() == row)
        showSelectedExample();
    else
        m_list->setCurrentRow(row);
}

int CategoryPage::browse(int direction)
{
    const int x = m_category.step(m_category.position(), direction);
    narrowTo(x);
    // The record's line shows it already; this covers a category without examples.
    m_text->setText(m_category.record(x).sentence());
    m_label->setText(numberText(x) + u'/' + numberText(m_category.count()));
    return x;
}
