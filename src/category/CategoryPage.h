#pragma once

#include "Category.h"

#include <QColor>
#include <QObject>
#include <QRect>

#include <array>

class QLabel;
class QListWidget;
class QWidget;
class SimpleCombo;
class TextBox;

// How one category looks: its controls' names, colours and the place of its count label.
struct CategoryLook {
    int index;                         // of the option button Option1(index)
    std::array<QString, 3> comboNames; // first-, second-, third-level list
    QString listName;                  // example list
    QString textName;                  // example box
    QString labelName;                 // count label
    QColor textBackground;
    QRect labelTwips;
};

const std::array<CategoryLook, 3> &categoryLooks();

// "1/" and 7 read as "1/", a blank, 7: a number is shown after the place of its sign.
QString numberText(int number);

// An example list entry: the first ten characters of the sentence and "･･･".
QString listEntry(const QString &sentence);

// The controls of one category in the main window: three classification lists, the
// example list, the example box and the count label, showing a narrowing of the
// category's examples. Each classification list rebuilds the next one; the third fills
// the example list and shows its first example. Every refresh is synchronous and
// recomputes everything it shows, so running one twice is harmless.
class CategoryPage : public QObject {
    Q_OBJECT
public:
    CategoryPage(const CategoryLook &look, Category &category, QWidget *frame, QObject *parent = nullptr);

    Category &category() { return m_category; }
    const CategoryLook &look() const { return m_look; }
    TextBox *exampleBox() const { return m_text; }
    // The controls in the order the Tab key visits them.
    QList<QWidget *> tabChain() const;

    void setVisible(bool visible);

    // Empties every control of the category and fills the first-level list.
    void fillClassList();
    void refreshFirstLevel();
    void refreshSecondLevel();
    void refreshThirdLevel();
    // Shows the example selected in the example list.
    void showSelectedExample();

    // The three lists' texts and the example box, as an example to add.
    Example typedExample() const;
    void showSentence(const QString &sentence);

    // Sets the three lists' texts to the classes given, running every refresh even
    // where a list already shows the text.
    void narrowToClasses(const Example &classes);
    // Narrows the lists to a record's classes and selects its line.
    void narrowTo(int record);
    // One step through the whole category in library order; returns the record shown.
    int browse(int direction);

    // The records listed in the example list, in its order.
    const QList<int> &listedRecords() const { return m_thirdLevel; }
    // The record of the example the teacher sees (a line of the example list is
    // selected), or 0.
    int shownRecord() const;

Q_SIGNALS:
    // A classification list cut what the teacher typed or pasted at its length limit.
    void classTextCut(int maxLength);

private:
    void runRefresh(int level);
    void clearExampleList();
    // Selects a line of the example list and shows its example, even if it was selected.
    void selectLine(int row);

    const CategoryLook &m_look;
    Category &m_category;
    std::array<SimpleCombo *, 3> m_combo{};
    QListWidget *const m_list;
    TextBox *const m_text;
    QLabel *const m_label;
    QList<int> m_firstLevel, m_secondLevel, m_thirdLevel; // record numbers narrowed at each level
};
