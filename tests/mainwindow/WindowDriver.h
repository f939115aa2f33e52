#pragma once

// Drives the real main window the way a teacher does: finds controls by their object
// names, clicks entries, option buttons, buttons and menu items, types into fields.
// The data files are written into a WorkingFolder before the window is made, because
// the window reads them while it is constructed.

#include "Codec.h"
#include "Form1.h"
#include "SimpleCombo.h"
#include "TestSupport.h"
#include "TextBox.h"

#include <QAction>
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

// One data file: a title line and one line of four quoted fields per example, CR LF.
inline QByteArray libraryFile(const QString &title, const QVector<QStringList> &examples,
                              Encoding encoding = Encoding::Cp932)
{
    QString text = u'"' + title + QStringLiteral("\"\r\n");
    for (const QStringList &example : examples) {
        QStringList quoted;
        for (const QString &field : example)
            quoted.append(u'"' + field + u'"');
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return encodeText(text, encoding).bytes;
}

// Types text one character at a time, as key presses that carry the character (a
// surrogate pair travels in one event, as a keyboard or an input method sends it).
// QTest::keyClicks takes Latin-1 only.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

class WindowDriver {
public:
    // Makes the window from the files in the current folder and shows it, active.
    WindowDriver()
    {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<Form1>(std::move(scripted));
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
    }

    std::unique_ptr<Form1> window;
    ScriptedDialogs *dialogs = nullptr;
    bool active = false;

    template <class T = QWidget>
    T *get(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    SimpleCombo *combo(const char *name) const { return get<SimpleCombo>(name); }
    QListWidget *list(const char *name) const { return get<QListWidget>(name); }
    TextBox *box(const char *name) const { return get<TextBox>(name); }
    QString labelText(const char *name) const { return get<QLabel>(name)->text(); }
    QAction *action(const char *name) const { return get<QAction>(name); }

    // A mouse click on an entry of a plain list, found by its row.
    bool clickRow(QListWidget *view, int row) const
    {
        QListWidgetItem *item = view->item(row);
        if (!item || !view->isVisible())
            return false;
        view->scrollToItem(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
        return true;
    }
    bool clickRow(const char *listName, int row) const { return clickRow(list(listName), row); }

    // A mouse click on the first entry of a classification list that reads text.
    bool pick(const char *comboName, const QString &text) const
    {
        SimpleCombo *c = combo(comboName);
        if (!c)
            return false;
        const int row = c->items().indexOf(text);
        return row >= 0 && clickRow(c->listWidget(), row);
    }

    // Selects the edit field's text and types over it, one key at a time.
    void typeInto(const char *comboName, const QString &text) const
    {
        QLineEdit *edit = combo(comboName)->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        typeText(edit, text);
    }

    // A click on an option button's round indicator, which always lies inside its hit area.
    void chooseCategory(int index) const
    {
        auto *option = get<QRadioButton>(QStringLiteral("Option1_%1").arg(index).toLatin1().constData());
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        const QRect indicator = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
        QTest::mouseClick(option, Qt::LeftButton, {}, indicator.center());
    }

    void click(const char *buttonName) const { QTest::mouseClick(get<QPushButton>(buttonName), Qt::LeftButton); }

    // Opens a menu from the menu bar with the mouse and clicks one of its items.
    bool chooseMenuItem(const char *menuName, const char *actionName) const
    {
        QMenu *menu = get<QMenu>(menuName);
        QAction *item = action(actionName);
        if (!menu || !item)
            return false;
        QMenuBar *bar = window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
            return false;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        return QTest::qWaitFor([menu] { return !menu->isVisible(); });
    }
};

// Stops the calling test function when a step of the driver failed.
#define DRIVE(step) QVERIFY2((step), #step)
