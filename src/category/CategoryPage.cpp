#include "CategoryPage.h"

#include "Background.h"
#include "SimpleCombo.h"
#include "TextBox.h"
#include "Twips.h"

#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QSignalBlocker>

namespace {

QString name(const char *text) { return QString::fromUtf8(text); }

// Collects distinct classes in order of first occurrence.
class DistinctClasses {
public:
    void add(const QString &value)
    {
        if (!m_seen.contains(value)) {
            m_seen.insert(value);
            m_values.append(value.isNull() ? QStringLiteral("") : value);
        }
    }
    const QStringList &values() const { return m_values; }

private:
    QSet<QString> m_seen;
    QStringList m_values;
};

} // namespace

const std::array<CategoryTraits, 3> &categoryTraits()
{
    static const std::array<CategoryTraits, 3> traits{{
        {0, name("Kotoban1.txt"), name("学習について"),
         {name("Combo1"), name("Combo2"), name("Combo3")}, name("List1"), name("Text2"), name("Label3"),
         QColor(255, 224, 192), QRect(5640, 720, 1335, 255), true, false},
        {1, name("Kotoban2.txt"), name("道徳、特活、総合、行事"),
         {name("Combo4"), name("Combo5"), name("Combo6")}, name("List2"), name("Text3"), name("Label4"),
         QColor(192, 255, 255), QRect(5640, 720, 1335, 255), true, true},
        {2, name("Kotoban3.txt"), name("日常生活について"),
         {name("Combo7"), name("Combo8"), name("Combo9")}, name("List3"), name("Text4"), name("Label7"),
         QColor(255, 255, 192), QRect(5640, 720, 1095, 225), false, true},
    }};
    return traits;
}

QString numberText(int number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

QString listEntry(const QString &sentence)
{
    // Ten characters, not ten UTF-16 units: a surrogate pair is never split.
    qsizetype end = 0;
    for (int count = 0; count < 10 && end < sentence.size(); ++count)
        end += (sentence[end].isHighSurrogate() && end + 1 < sentence.size()) ? 2 : 1;
    return sentence.left(end) + QStringLiteral("･･･");
}

CategoryPage::CategoryPage(const CategoryTraits &categoryTraits, QWidget *frame, QObject *parent)
    : QObject(parent),
      traits(categoryTraits),
      list(new QListWidget(frame)),
      text(new TextBox(frame)),
      label(new QLabel(frame))
{
    static const int comboLeft[3] = {240, 1800, 3360};
    for (int level = 0; level < 3; ++level) {
        combo[level] = new SimpleCombo(frame);
        combo[level]->setObjectName(traits.comboNames[level]);
        combo[level]->setGeometry(twipsRect(comboLeft[level], 720, 1455, 1260));
        connect(combo[level], &SimpleCombo::textChanged, this, [this, level] { runRefresh(level); });
        connect(combo[level], &SimpleCombo::picked, this, [this, level] { runRefresh(level); });
    }
    list->setObjectName(traits.listName);
    list->setGeometry(twipsRect(4920, 1008, 2175, 960));
    list->setUniformItemSizes(true);
    connect(list, &QListWidget::currentRowChanged, this, &CategoryPage::showSelectedExample);
    connect(list, &QListWidget::itemClicked, this, &CategoryPage::showSelectedExample);

    text->setObjectName(traits.textName);
    text->setGeometry(twipsRect(1440, 2160, 4095, 975));
    QPalette palette = text->palette();
    palette.setColor(QPalette::Base, traits.textBackground);
    text->setPalette(palette);

    label->setObjectName(traits.labelName);
    label->setGeometry(twipsRect(traits.labelTwips));
    setBackground(label, QColor(224, 224, 224));
}

void CategoryPage::setVisible(bool visible)
{
    for (SimpleCombo *c : combo)
        c->setVisible(visible);
    list->setVisible(visible);
    text->setVisible(visible);
    label->setVisible(visible);
}

void CategoryPage::fillClassList()
{
    for (SimpleCombo *c : combo)
        c->clear();
    {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    text->setText(QString());
    DistinctClasses classes;
    // The first row seeds the list even in a category without examples.
    classes.add(data.row(1).firstClass());
    for (int r = 1; r <= data.max; ++r)
        classes.add(data.row(r).firstClass());
    combo[0]->addItems(classes.values());
    label->setText(numberText(data.max));
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
    combo[1]->clear();
    combo[2]->clear();
    {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    text->setText(QString());

    const QString wanted = combo[0]->text();
    sel1.clear();
    DistinctClasses classes;
    for (int r = 1; r <= data.max; ++r) {
        const Example &example = data.row(r);
        if (example.firstClass() == wanted) {
            sel1.append(r);
            classes.add(example.secondClass());
        }
    }
    combo[1]->addItems(classes.values());
    label->setText(numberText(sel1.size()));
}

void CategoryPage::refreshSecondLevel()
{
    combo[2]->clear();
    {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    text->setText(QString());

    const QString first = combo[0]->text();
    const QString wanted = combo[1]->text();
    sel2.clear();
    DistinctClasses classes;
    for (int r : qAsConst(sel1)) {
        const Example &example = data.row(r);
        // Categories 2 and 3 look for the first match under the first-level text as well;
        // every later example is matched on its second-level class alone.
        const bool matches = example.secondClass() == wanted
            && (!sel2.isEmpty() || !traits.secondLevelChecksFirst || example.firstClass() == first);
        if (matches) {
            sel2.append(r);
            classes.add(example.thirdClass());
        }
    }
    if (sel2.isEmpty()) {
        // A typed text that names no class: nothing to narrow further.
        label->setText(numberText(0));
        return;
    }
    combo[2]->addItems(classes.values());
    // The third list stands on its first entry; its refresh then fills the example list.
    combo[2]->setTextQuietly(data.row(sel2.first()).thirdClass());
    combo[2]->setCurrentIndexQuietly(0);
    refreshThirdLevel();
    label->setText(QStringLiteral("1/") + numberText(sel2.size()));
}

void CategoryPage::refreshThirdLevel()
{
    const QString wanted = combo[2]->text();
    sel3.clear();
    QStringList entries;
    for (int r : qAsConst(sel2)) {
        const Example &example = data.row(r);
        if (example.thirdClass() == wanted) {
            sel3.append(r);
            entries.append(listEntry(example.sentence()));
        }
    }
    {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(entries);
    }
    if (data.max == 0)
        return;
    if (sel3.isEmpty()) {
        // A typed text that matches no example: show nothing, and keep the position so
        // that nothing is taken as shown.
        text->setText(QString());
        label->setText(numberText(0));
        return;
    }
    now = 1;
    current = sel3.first();
    selectLine(0); // shows the example
}

void CategoryPage::showSelectedExample()
{
    const int row = list->currentRow();
    if (list->count() == 0 || row < 0 || row >= sel3.size())
        return;
    now = row + 1;
    current = sel3[row];
    text->setText(data.row(current).sentence());
    label->setText(numberText(now) + u'/' + numberText(sel3.size()));
}

bool CategoryPage::hasShownExample() const
{
    const int row = list->currentRow();
    return list->count() > 0 && row >= 0 && row < sel3.size();
}

void CategoryPage::narrowToClasses(const Example &classes)
{
    // A copy: the refreshes below may run over the row the classes came from.
    const Example wanted = classes;
    for (int level = 0; level < 3; ++level) {
        combo[level]->setTextQuietly(wanted.field[level]);
        runRefresh(level);
    }
}

void CategoryPage::narrowTo(int record)
{
    narrowToClasses(data.row(record));
    current = record;
    const int position = sel3.indexOf(record);
    if (position >= 0)
        selectLine(position);
}

void CategoryPage::selectLine(int row)
{
    if (list->currentRow() == row)
        showSelectedExample();
    else
        list->setCurrentRow(row);
}

int CategoryPage::browse(int direction)
{
    int x;
    if (direction > 0)
        x = current >= data.max ? 1 : current + 1;
    else
        x = current <= 1 ? data.max : current - 1;
    narrowTo(x);
    // The record's line shows it already; this covers a category without examples.
    text->setText(data.row(x).sentence());
    label->setText(numberText(x) + u'/' + numberText(data.max));
    return x;
}
