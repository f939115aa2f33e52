#pragma once

// Drives the real main window the way a teacher does: clicks on list entries and
// buttons found by object name, typing into the lists' edit fields and the example
// boxes. Japanese text arrives as an input-method commit, as it does from an IME.

#include "CategoryPage.h"
#include "Codec.h"
#include "Form1.h"
#include "SimpleCombo.h"
#include "TestSupport.h"
#include "TextBox.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

// The bytes of a data file: the title line and one line per record, every field quoted,
// CR LF, code page 932.
inline QByteArray dataFile(const QString &title, const QVector<QStringList> &records)
{
    QString text = u'"' + title + QStringLiteral("\"\r\n");
    for (const QStringList &record : records) {
        QStringList quoted;
        for (const QString &field : record)
            quoted.append(u'"' + field + u'"');
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return encodeText(text, Encoding::Cp932).bytes;
}

// Everything a teacher can see of one category, plus its table: what "nothing changed"
// compares.
struct CategoryState {
    int max = 0;
    QVector<Example> rows; // 0 to max + 1
    QStringList comboTexts, comboItems1, comboItems2, comboItems3;
    QStringList lines;
    int currentRow = -1;
    QString text, label;
    int now = 0, current = 0;

    bool operator==(const CategoryState &o) const
    {
        return max == o.max && rows == o.rows && comboTexts == o.comboTexts && comboItems1 == o.comboItems1
            && comboItems2 == o.comboItems2 && comboItems3 == o.comboItems3 && lines == o.lines
            && currentRow == o.currentRow && text == o.text && label == o.label && now == o.now
            && current == o.current;
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
    // The data files must already be in the working folder.
    FormDriver() : dialogs(new ScriptedDialogs), window(std::unique_ptr<Dialogs>(dialogs))
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the main window was not exposed");
    }

    ScriptedDialogs *const dialogs; // owned by the window
    Form1 window;

    template <typename T> T *child(const QString &name)
    {
        T *found = window.findChild<T *>(name);
        if (!found)
            qFatal("no control named %s", qPrintable(name));
        return found;
    }

    // Category 1 to 3 and its controls.
    CategoryPage &page(int category) { return window.page(category - 1); }
    SimpleCombo *combo(int category, int level) { return page(category).combo[level - 1]; }
    QListWidget *exampleList(int category) { return page(category).list; }
    TextBox *exampleBox(int category) { return page(category).text; }
    QString label(int category) { return page(category).label->text(); }

    void click(const QString &buttonName) { QTest::mouseClick(child<QAbstractButton>(buttonName), Qt::LeftButton); }
    void add() { click(QStringLiteral("CmdAdd1")); }
    void correct() { click(QStringLiteral("CmdEdit")); }
    void remove() { click(QStringLiteral("CmdDelete")); }
    void next() { click(QStringLiteral("CmdNext")); }
    void back() { click(QStringLiteral("CmdBack")); }

    void chooseCategory(int category)
    {
        auto *option = child<QRadioButton>(QStringLiteral("Option1_%1").arg(category - 1));
        // On the round button itself, left of the caption.
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }

    // Clicks an entry of a list, scrolling it into view first.
    static void clickEntry(QListWidget *list, int row)
    {
        QListWidgetItem *item = list->item(row);
        if (!item) {
            QTest::qFail(qPrintable(QStringLiteral("%1 has no entry %2").arg(list->objectName()).arg(row)), __FILE__,
                         __LINE__);
            return;
        }
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    // Picks a class by clicking its entry in a classification list.
    void pickClass(int category, int level, const QString &name)
    {
        SimpleCombo *c = combo(category, level);
        const int row = c->items().indexOf(name);
        if (row < 0) {
            QTest::qFail(qPrintable(QStringLiteral("no class %1 in %2").arg(name, c->objectName())), __FILE__,
                         __LINE__);
            return;
        }
        clickEntry(c->listWidget(), row);
    }

    // Types over whatever the edit field of a classification list holds.
    void typeClass(int category, int level, const QString &name)
    {
        QLineEdit *edit = combo(category, level)->findChild<QLineEdit *>(QStringLiteral("edit"));
        edit->setFocus();
        edit->selectAll();
        if (name.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        type(edit, name);
    }

    // Types over the whole text of an example box.
    void typeSentence(int category, const QString &sentence)
    {
        TextBox *box = exampleBox(category);
        box->setFocus();
        box->selectAll();
        if (sentence.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        type(box, sentence);
    }

    // Picks the classes of a record and clicks its line in the example list.
    void showRecord(int category, int record)
    {
        const Example example = page(category).data.row(record);
        pickClass(category, 1, example.firstClass());
        pickClass(category, 2, example.secondClass());
        pickClass(category, 3, example.thirdClass());
        const int line = page(category).sel3.indexOf(record);
        if (line < 0) {
            QTest::qFail(qPrintable(QStringLiteral("record %1 is not listed").arg(record)), __FILE__, __LINE__);
            return;
        }
        clickEntry(exampleList(category), line);
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
        for (int r = 1; r <= page(category).data.max; ++r)
            result.append(page(category).data.row(r).sentence());
        return result;
    }

    CategoryState state(int category)
    {
        CategoryPage &p = page(category);
        CategoryState s;
        s.max = p.data.max;
        for (int r = 0; r <= p.data.max + 1 && r <= EDLimit; ++r)
            s.rows.append(p.data.row(r));
        for (int level = 1; level <= 3; ++level)
            s.comboTexts.append(combo(category, level)->text());
        s.comboItems1 = combo(category, 1)->items();
        s.comboItems2 = combo(category, 2)->items();
        s.comboItems3 = combo(category, 3)->items();
        s.lines = lines(category);
        s.currentRow = exampleList(category)->currentRow();
        s.text = exampleBox(category)->text();
        s.label = label(category);
        s.now = p.now;
        s.current = p.current;
        return s;
    }

    // Sends text as typing: ASCII as key clicks, anything else as an input-method commit.
    static void type(QWidget *widget, const QString &text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
                QTest::keyClick(widget, c.toLatin1());
                continue;
            }
            const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QInputMethodEvent event;
            event.setCommitString(text.mid(i, length));
            QApplication::sendEvent(widget, &event);
            i += length - 1;
        }
    }
};

// The example list entry of a sentence, as the window shows it.
inline QString entry(const QString &sentence) { return listEntry(sentence); }
