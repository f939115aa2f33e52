#pragma once

// Drives the real main window the way a teacher does: finds controls by their object
// names or by category, clicks entries, option buttons, buttons and menu items, types
// into the lists' edit fields and the text boxes. Japanese text arrives as an
// input-method commit, as it does from an IME. The data files are written into a
// working folder before the driver is made, because the window reads them while it is
// constructed.

#include "CategoryPage.h"
#include "Codec.h"
#include "Form1.h"
#include "SimpleCombo.h"
#include "TestSupport.h"
#include "Typing.h"
#include "TextBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

#include <memory>

// The bytes of a data file: the title line and one line per record, every field quoted,
// CR LF.
inline QByteArray dataFile(const QString &title, const QVector<QStringList> &records,
                           Encoding encoding = Encoding::Cp932)
{
    QString text = u'"' + title + QStringLiteral("\"\r\n");
    for (const QStringList &record : records) {
        QStringList quoted;
        for (const QString &field : record)
            quoted.append(u'"' + field + u'"');
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return encodeText(text, encoding).bytes;
}

// Puts the three data files, Kotoban1.txt to Kotoban3.txt, into the folder.
inline void writeDataFiles(const WorkingFolder &folder, const QByteArray &file1, const QByteArray &file2,
                           const QByteArray &file3)
{
    folder.write(QStringLiteral("Kotoban1.txt"), file1);
    folder.write(QStringLiteral("Kotoban2.txt"), file2);
    folder.write(QStringLiteral("Kotoban3.txt"), file3);
}

// The three data files with the starter library's titles, code page 932.
inline void writeLibrary(const WorkingFolder &folder, const QVector<QStringList> &category1,
                         const QVector<QStringList> &category2, const QVector<QStringList> &category3)
{
    writeDataFiles(folder, dataFile(QStringLiteral("学習について"), category1),
                   dataFile(QStringLiteral("道徳、特活、総合、行事"), category2),
                   dataFile(QStringLiteral("日常生活について"), category3));
}

// Everything a teacher can see of one category, plus its table: what "nothing changed"
// compares.
struct CategoryState {
    int max = 0;
    QVector<Example> rows;
    QStringList comboTexts, comboItems1, comboItems2, comboItems3;
    QStringList lines;
    int currentRow = -1;
    QString text, label;
    int current = 0;

    bool operator==(const CategoryState &o) const
    {
        return max == o.max && rows == o.rows && comboTexts == o.comboTexts && comboItems1 == o.comboItems1
            && comboItems2 == o.comboItems2 && comboItems3 == o.comboItems3 && lines == o.lines
            && currentRow == o.currentRow && text == o.text && label == o.label && current == o.current;
    }
};

inline char *toString(const CategoryState &s)
{
    QString description = QStringLiteral("max %1, combos [%2], lines [%3] row %4, text \"%5\", label \"%6\"")
                              .arg(s.max)
                              .arg(s.comboTexts.join(u'|'), s.lines.join(u'|'))
                              .arg(s.currentRow)
                              .arg(s.text, s.label);
    return qstrdup(description.toUtf8().constData());
}

class FormDriver {
public:
    // Makes the window from the data files in folder and shows it, active.
    explicit FormDriver(const QString &folder)
        : dialogs(new ScriptedDialogs), window(folder, std::unique_ptr<Dialogs>(dialogs))
    {
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        if (!active)
            qWarning("the main window did not become active");
    }

    ScriptedDialogs *const dialogs; // owned by the window
    Form1 window;
    bool active = false;

    // Controls by object name; null when there is none.
    template <class T = QWidget> T *get(const char *name) const
    {
        return window.findChild<T *>(QString::fromLatin1(name));
    }
    SimpleCombo *combo(const char *name) const { return get<SimpleCombo>(name); }
    QListWidget *list(const char *name) const { return get<QListWidget>(name); }
    TextBox *box(const char *name) const { return get<TextBox>(name); }
    QString labelText(const char *name) const { return get<QLabel>(name)->text(); }
    QAction *action(const char *name) const { return get<QAction>(name); }

    // Category 1 to 3 and its controls.
    CategoryPage &page(int category) { return window.page(category - 1); }
    const Category &model(int category) { return page(category).category(); }
    const CategoryLook &look(int category) const { return categoryLooks()[category - 1]; }
    template <class T> T *get(const QString &name) const { return window.findChild<T *>(name); }
    SimpleCombo *combo(int category, int level) { return get<SimpleCombo>(look(category).comboNames[level - 1]); }
    QListWidget *exampleList(int category) { return get<QListWidget>(look(category).listName); }
    TextBox *exampleBox(int category) { return get<TextBox>(look(category).textName); }
    QString label(int category) { return get<QLabel>(look(category).labelName)->text(); }

    void click(const char *buttonName) const
    {
        auto *button = get<QAbstractButton>(buttonName);
        if (!button)
            qFatal("no button named %s", buttonName);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void add() const { click("CmdAdd1"); }
    void correct() const { click("CmdEdit"); }
    void remove() const { click("CmdDelete"); }
    void next() const { click("CmdNext"); }
    void back() const { click("CmdBack"); }

    // Category 1 to 3, by a click on its option button's round indicator, which always
    // lies inside the button's hit area.
    void chooseCategory(int category) const
    {
        auto *option = get<QRadioButton>(QStringLiteral("Option1_%1").arg(category - 1).toLatin1().constData());
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        const QRect indicator = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
        QTest::mouseClick(option, Qt::LeftButton, {}, indicator.center());
    }

    // A mouse click on an entry of a shown list, scrolled into view first.
    bool clickRow(QListWidget *view, int row) const
    {
        QListWidgetItem *item = view ? view->item(row) : nullptr;
        if (!item || !view->isVisible())
            return false;
        view->scrollToItem(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
        return true;
    }
    bool clickRow(const char *listName, int row) const { return clickRow(list(listName), row); }

    // A mouse click on the first entry of a classification list that reads text.
    bool pick(SimpleCombo *c, const QString &text) const
    {
        const int row = c ? c->items().indexOf(text) : -1;
        return row >= 0 && clickRow(c->listWidget(), row);
    }
    bool pick(const char *comboName, const QString &text) const { return pick(combo(comboName), text); }

    // Picks a class of category 1 to 3 and level 1 to 3; the test fails when it cannot.
    void pickClass(int category, int level, const QString &name)
    {
        SimpleCombo *c = combo(category, level);
        if (!pick(c, name))
            QTest::qFail(qPrintable(QStringLiteral("cannot pick %1 in %2").arg(name, c->objectName())), __FILE__,
                         __LINE__);
    }

    // Clicks into the edit field of a classification list, selects its text and types
    // over it (an empty text deletes it).
    void typeInto(SimpleCombo *c, const QString &text) const
    {
        QLineEdit *edit = c->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
    }
    void typeInto(const char *comboName, const QString &text) const { typeInto(combo(comboName), text); }
    void typeClass(int category, int level, const QString &name) { typeInto(combo(category, level), name); }

    // Types over the whole text of an example box.
    void typeSentence(int category, const QString &sentence)
    {
        TextBox *box = exampleBox(category);
        box->setFocus();
        box->selectAll();
        if (sentence.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        typeText(box, sentence);
    }

    // Picks the classes of a record and clicks its line in the example list.
    void showRecord(int category, int record)
    {
        const Category &m = model(category);
        const Example example = m.record(record);
        pickClass(category, 1, example.firstClass());
        pickClass(category, 2, example.secondClass());
        pickClass(category, 3, example.thirdClass());
        const QList<int> first = m.narrowFirst(example.firstClass()).records;
        const QList<int> second = m.narrowSecond(first, example.firstClass(), example.secondClass()).records;
        const int line = m.narrowThird(second, example.thirdClass()).indexOf(record);
        if (!clickRow(exampleList(category), line))
            QTest::qFail(qPrintable(QStringLiteral("record %1 is not listed").arg(record)), __FILE__, __LINE__);
    }

    // Opens a menu from the menu bar with the mouse and clicks one of its items.
    bool chooseMenuItem(const char *menuName, const char *actionName)
    {
        QMenu *menu = get<QMenu>(menuName);
        QAction *item = action(actionName);
        if (!menu || !item)
            return false;
        QMenuBar *bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
            return false;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        return QTest::qWaitFor([menu] { return !menu->isVisible(); });
    }

    QStringList lines(int category)
    {
        QStringList result;
        for (int i = 0; i < exampleList(category)->count(); ++i)
            result.append(exampleList(category)->item(i)->text());
        return result;
    }

    QStringList sentences(int category)
    {
        QStringList result;
        for (int r = 1; r <= model(category).count(); ++r)
            result.append(model(category).record(r).sentence());
        return result;
    }

    CategoryState state(int category)
    {
        const Category &m = model(category);
        CategoryState s;
        s.max = m.count();
        for (int r = 1; r <= m.count(); ++r)
            s.rows.append(m.record(r));
        for (int level = 1; level <= 3; ++level)
            s.comboTexts.append(combo(category, level)->text());
        s.comboItems1 = combo(category, 1)->items();
        s.comboItems2 = combo(category, 2)->items();
        s.comboItems3 = combo(category, 3)->items();
        s.lines = lines(category);
        s.currentRow = exampleList(category)->currentRow();
        s.text = exampleBox(category)->text();
        s.label = label(category);
        s.current = m.position();
        return s;
    }
};

// The example list entry of a sentence: its first ten characters and "･･･" (written out
// here rather than asked of the window's own function; no test sentence leaves the BMP).
inline QString entry(const QString &sentence) { return sentence.left(10) + QStringLiteral("･･･"); }

// Stops the calling test function when a step of the driver failed.
#define DRIVE(step) QVERIFY2((step), #step)
