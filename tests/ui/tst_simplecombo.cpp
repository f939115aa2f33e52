// The simple-style combo box on its own: what a pick, typing and the setters signal.

#include "SimpleCombo.h"
#include "Typing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

class TestSimpleCombo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void mouseAndKeyboardPick();
    void typingSignalsEveryChange();
    void settersFromCode();
    void clearAndAddItemsAreQuiet();
    void arrowKeysInTheEditFieldPick();
    void textCutAtTheLimitIsSignalled();

private:
    void clickRow(int row) const
    {
        QListWidget *list = combo->listWidget();
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    SimpleCombo *combo = nullptr;
    std::unique_ptr<QSignalSpy> picked;
    std::unique_ptr<QSignalSpy> changed;
};

namespace {

QString s(const char *utf8) { return QString::fromUtf8(utf8); }

// Types text one character at a time (QTest::keyClicks takes Latin-1 only).
} // namespace

void TestSimpleCombo::init()
{
    combo = new SimpleCombo;
    combo->resize(150, 160);
    combo->addItems({s("全体"), s("国語"), QString(), s("算数")});
    combo->show();
    QVERIFY(QTest::qWaitForWindowExposed(combo));
    QCOMPARE(combo->findChild<QLineEdit *>(QStringLiteral("edit")), combo->lineEdit());
    QCOMPARE(combo->findChild<QListWidget *>(QStringLiteral("list")), combo->listWidget());
    picked = std::make_unique<QSignalSpy>(combo, &SimpleCombo::picked);
    changed = std::make_unique<QSignalSpy>(combo, &SimpleCombo::textChanged);
}

void TestSimpleCombo::cleanup()
{
    picked.reset();
    changed.reset();
    delete combo;
}

void TestSimpleCombo::mouseAndKeyboardPick()
{
    // One click, one pick; the entry's text in the edit field, nothing else signalled.
    clickRow(1);
    QCOMPARE(combo->text(), s("国語"));
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(picked->size(), 1);
    QCOMPARE(picked->at(0).at(0).toInt(), 1);
    QCOMPARE(changed->size(), 0);

    // The entry that is already current, clicked again, is picked again.
    clickRow(1);
    QCOMPARE(picked->size(), 2);

    // Also after its text was typed over: the entry's text comes back.
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    typeText(combo->lineEdit(), s("語"));
    QCOMPARE(combo->text(), s("国語語"));
    clickRow(1);
    QCOMPARE(combo->text(), s("国語"));
    QCOMPARE(picked->size(), 3);

    // The empty entry is an entry like the others.
    clickRow(2);
    QCOMPARE(combo->text(), QString());
    QCOMPARE(picked->size(), 4);
    QCOMPARE(picked->last().at(0).toInt(), 2);

    // The keyboard picks in the list.
    QTest::keyClick(combo->listWidget(), Qt::Key_Down);
    QCOMPARE(combo->text(), s("算数"));
    QCOMPARE(picked->size(), 5);
    QCOMPARE(picked->last().at(0).toInt(), 3);
    QTest::keyClick(combo->listWidget(), Qt::Key_Home);
    QCOMPARE(combo->text(), s("全体"));
    QCOMPARE(picked->size(), 6);
    QCOMPARE(changed->size(), 1); // only the typed key
}

void TestSimpleCombo::typingSignalsEveryChange()
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    typeText(combo->lineEdit(), s("国語"));
    QCOMPARE(changed->size(), 2);
    QCOMPARE(changed->at(0).at(0).toString(), s("国"));
    QCOMPARE(changed->at(1).at(0).toString(), s("国語"));
    QCOMPARE(picked->size(), 0);
    QCOMPARE(combo->currentIndex(), -1); // typing a class's name selects no entry
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(changed->size(), 3);
    QCOMPARE(combo->text(), s("国"));
    QCOMPARE(combo->count(), 4);
}

void TestSimpleCombo::settersFromCode()
{
    // A text set from code signals before the setter returns.
    QString seen;
    connect(combo, &SimpleCombo::textChanged, this, [&seen](const QString &text) { seen = text; });
    combo->setText(s("算数"));
    QCOMPARE(seen, s("算数"));
    QCOMPARE(changed->size(), 1);
    combo->setText(s("算数"));
    QCOMPARE(changed->size(), 1);
    combo->setTextQuietly(s("理科"));
    QCOMPARE(combo->text(), s("理科"));
    QCOMPARE(changed->size(), 1);

    // Selecting from code is a pick.
    int pickedIndex = -1;
    connect(combo, &SimpleCombo::picked, this, [&pickedIndex](int index) { pickedIndex = index; });
    combo->setCurrentIndex(3);
    QCOMPARE(pickedIndex, 3);
    QCOMPARE(combo->text(), s("算数"));
    QCOMPARE(combo->currentIndex(), 3);
    QCOMPARE(changed->size(), 1);
    combo->setCurrentIndex(4);
    combo->setCurrentIndex(-1);
    QCOMPARE(picked->size(), 1);
    QCOMPARE(combo->currentIndex(), 3);

    combo->setCurrentIndexQuietly(0);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(picked->size(), 1);
    QCOMPARE(combo->itemText(0), s("全体"));
    QCOMPARE(combo->itemText(9), QString());
}

void TestSimpleCombo::clearAndAddItemsAreQuiet()
{
    clickRow(0);
    QCOMPARE(picked->size(), 1);
    combo->clear();
    QCOMPARE(combo->count(), 0);
    QCOMPARE(combo->text(), QString());
    QCOMPARE(combo->currentIndex(), -1);
    combo->addItems({s("ほめたい"), s("ほめたい"), s("がんばろう")});
    // Entries are kept as given, in order: the caller decides what is distinct.
    QCOMPARE(combo->items(), (QStringList{s("ほめたい"), s("ほめたい"), s("がんばろう")}));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->text(), QString());
    QCOMPARE(picked->size(), 1);
    QCOMPARE(changed->size(), 0);
    clickRow(2);
    QCOMPARE(combo->text(), s("がんばろう"));
    QCOMPARE(picked->size(), 2);
}

// From the edit field the arrow keys walk the entries, each one picked on its way; the
// list itself is never reached with Tab, which would pick its first entry unasked.
void TestSimpleCombo::arrowKeysInTheEditFieldPick()
{
    QCOMPARE(combo->listWidget()->focusPolicy(), Qt::ClickFocus);
    combo->lineEdit()->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Down);
    QCOMPARE(combo->text(), s("全体"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Down);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 2);
    QCOMPARE(combo->text(), QString());
    QTest::keyClick(combo->lineEdit(), Qt::Key_Down);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Down); // stays on the last entry
    QCOMPARE(combo->text(), s("算数"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Up);
    QCOMPARE(combo->text(), QString());
    QCOMPARE(picked->size(), 6);
    QCOMPARE(picked->last().at(0).toInt(), 2);
    QCOMPARE(changed->size(), 0);
}

void TestSimpleCombo::textCutAtTheLimitIsSignalled()
{
    QSignalSpy cut(combo, &SimpleCombo::textCut);
    QLineEdit *edit = combo->lineEdit();
    typeText(edit, s("国語"));
    QCOMPARE(cut.count(), 0);
    edit->selectAll();
    QGuiApplication::clipboard()->setText(QString(40000, u'あ'));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text().size(), edit->maxLength());
    QCOMPARE(cut.count(), 1);
    QCOMPARE(cut.first().first().toInt(), edit->maxLength());
}

QTEST_MAIN(TestSimpleCombo)
#include "tst_simplecombo.moc"
