#pragma once

#include "DataFile.h"
#include "Library.h"

#include <QColor>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QVector>

#include <array>

class QLabel;
class QListWidget;
class QWidget;
class SimpleCombo;
class TextBox;

// What tells the three categories apart: their controls' names, their data file and a
// few rules. Everything else is the same code.
struct CategoryTraits {
    int index;                         // of the option button Option1(index)
    QString fileName;                  // Kotoban1.txt ...
    QString layoutCaption;             // the option button's caption before loading
    std::array<QString, 3> comboNames; // first-, second-, third-level list
    QString listName;                  // example list
    QString textName;                  // example box
    QString labelName;                 // count label
    QColor textBackground;
    QRect labelTwips;
    bool fieldsCanBeUnset;        // categories 1 and 2 keep empty fields of the file unset
    bool secondLevelChecksFirst;  // categories 2 and 3 also test the first-level class
};

const std::array<CategoryTraits, 3> &categoryTraits();

// "1/" and 7 read as "1/", a blank, 7: a number is shown after the place of its sign.
QString numberText(int number);

// An example list entry: the first ten characters of the sentence and "･･･".
QString listEntry(const QString &sentence);

// One category of the main window: its controls, its examples and the cascade that
// narrows them down. The three classification lists each rebuild the next one; the
// third fills the example list and shows its first example. Every refresh is
// synchronous and recomputes everything it writes, so running one twice is harmless.
class CategoryPage : public QObject {
    Q_OBJECT
public:
    CategoryPage(const CategoryTraits &traits, QWidget *frame, QObject *parent = nullptr);

    const CategoryTraits &traits;

    ExampleTable data;
    FileOrigin origin;
    QVector<int> sel1, sel2, sel3; // record numbers narrowed by the first, second, third level
    int now = 0;                   // position in sel3 of the example shown, from 1; 0 before any
    int current = 1;               // record number of the example last shown

    std::array<SimpleCombo *, 3> combo;
    QListWidget *const list;
    TextBox *const text;
    QLabel *const label;

    void setVisible(bool visible);

    // Empties every control of the category and fills the first-level list.
    void fillClassList();
    void refreshFirstLevel();
    void refreshSecondLevel();
    void refreshThirdLevel();
    // Shows the example selected in the example list.
    void showSelectedExample();

    // Sets the three lists' texts to the classes given, running every refresh even
    // where a list already shows the text.
    void narrowToClasses(const Example &classes);
    // Narrows the lists to a record's classes and selects its line.
    void narrowTo(int record);

    // One step through the whole table in library order, wrapping at both ends.
    // Returns the record it moved to.
    int browse(int direction);

    // True while a line of the example list is selected: the example the teacher sees.
    bool hasShownExample() const;
    int shownRecord() const { return now >= 1 && now <= sel3.size() ? sel3[now - 1] : 0; }

private:
    void runRefresh(int level);
    // Selects a line of the example list and shows its example, even if it was selected.
    void selectLine(int row);
};
