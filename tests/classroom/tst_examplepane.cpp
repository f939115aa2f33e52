#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include "ClassEditing.h"
#include "ClassEditor.h"
#include "ClassFile.h"
#include "ClassTableModel.h"
#include "ClassWindowFixture.h"
#include "CompositionAccess.h"
#include "ExampleListModel.h"
#include "ExamplePane.h"
#include "ExampleSamples.h"
#include "FrozenColumnsTable.h"
#include "Typing.h"

// The class window's example pane and its keys, as a teacher uses them: search, into the
// list, in with the name filled, on to the next pupil; and the pane following the library.

namespace {

class FakeLibrary : public CompositionAccess {
public:
    std::array<Category, 3> categories = sampleCategories();
    QString compositionText() const override { return {}; }
    void setCompositionText(const QString &) override {}
    const Category *exampleCategory(int index) const override { return &categories[index]; }
    void changed(int category) { Q_EMIT examplesChanged(category); }
};

ClassBook twoFields()
{
    ClassBook book = newClassBook(QStringLiteral("4年1組"));
    (void)addField(book, QStringLiteral("行動"), 0);
    (void)addPupil(book, {1, QStringLiteral("青木 空"), QString(), QStringLiteral("男")});
    (void)addPupil(book, {2, QStringLiteral("井上 海"), QString(), QStringLiteral("女")});
    (void)addPupil(book, {3, QStringLiteral("上田 陸"), QString(), QStringLiteral("男")});
    return book;
}

} // namespace

class TestExamplePane : public QObject, private ClassWindowFixture<FakeLibrary> {
    Q_OBJECT
private:
    QString classPath() const { return path(QStringLiteral("4年1組.json")); }
    QString cell(int pupil, int field) const { return textOf(m_window->classBook(), pupil, field); }
    ExamplePane *pane() const { return m_window->examplePane(); }
    QWidget *focused() const { return QApplication::focusWidget(); }
    void keys(QKeySequence sequence) { QTest::keySequence(focused(), sequence); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), key, modifiers);
    }

private Q_SLOTS:
    void init()
    {
        m_composition.categories = sampleCategories();
        openClass(QStringLiteral("4年1組.json"), twoFields());
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_window->editor()->textEdit()->setFocus();
    }
    void cleanup() { closeWindow(); }

    void writesFieldsByKeyboard()
    {
        keys(QKeySequence(QStringLiteral("Ctrl+F")));
        QCOMPARE(focused(), pane()->searchBox());
        typeText(focused(), QStringLiteral("音読"));
        QCOMPARE(pane()->model()->rowCount(), 1);
        key(Qt::Key_Down);
        QCOMPARE(focused(), pane()->list());
        key(Qt::Key_Return);
        QCOMPARE(cell(0, 0), QStringLiteral("青木さんは音読に意欲的に取り組みました。"));

        // From the search box, Enter takes the first example listed, after the cursor.
        keys(QKeySequence(QStringLiteral("Ctrl+F")));
        typeText(focused(), QStringLiteral("歌"));
        key(Qt::Key_Return);
        QCOMPARE(cell(0, 0), QStringLiteral("青木さんは音読に意欲的に取り組みました。ＡＢＣの歌を覚えました。"));

        // The next pupil, the same field; the rule of the class names him.
        m_window->setNamingRule(NamingRule::FamilyBySex);
        keys(QKeySequence(QStringLiteral("Ctrl+Down")));
        keys(QKeySequence(QStringLiteral("Ctrl+Down")));
        QCOMPARE(m_window->selectedPupil(), 2);
        QCOMPARE(m_window->selectedField(), 0);
        QCOMPARE(m_window->editor()->findChild<QLabel *>(QStringLiteral("ClassEditorCaption"))->text(),
                 QStringLiteral("3番　上田 陸くん　「所見」"));
        keys(QKeySequence(QStringLiteral("Ctrl+F")));
        typeText(focused(), QStringLiteral("音読"));
        key(Qt::Key_Return);
        QCOMPARE(cell(2, 0), QStringLiteral("上田くんは音読に意欲的に取り組みました。"));

        // Another field; Esc back to the editor, where PageUp goes to the pupil before.
        keys(QKeySequence(QStringLiteral("Ctrl+Right")));
        QCOMPARE(m_window->selectedField(), 1);
        key(Qt::Key_Escape);
        QCOMPARE(focused(), m_window->editor()->textEdit());
        typeText(focused(), QStringLiteral("係活動。"));
        key(Qt::Key_PageUp);
        QCOMPARE(m_window->selectedPupil(), 1);
        QCOMPARE(m_window->selectedField(), 1);
        QCOMPARE(cell(2, 1), QStringLiteral("係活動。"));

        // Ctrl+Enter appends, wherever the cursor stands.
        typeText(focused(), QStringLiteral("最後に。"));
        m_window->editor()->textEdit()->moveCursor(QTextCursor::Start);
        keys(QKeySequence(QStringLiteral("Ctrl+F")));
        typeText(focused(), QStringLiteral("かめ"));
        key(Qt::Key_Down);
        key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(cell(1, 1), QStringLiteral("最後に。かめの世話を進んで行いました。"));

        QVERIFY(m_window->store().saveNow().ok);
        QCOMPARE(readClassFile(readAll(classPath())).book, m_window->classBook());
    }

    void followsTheLibrary()
    {
        typeText(pane()->searchBox(), QStringLiteral("友達"));
        QCOMPARE(pane()->model()->rowCount(), 2);
        QVERIFY(m_composition.categories[1].add(exampleRecords({QStringLiteral("行事|遠足|ほめたい|友達と協力しました。")})[0]).ok());
        m_composition.changed(1);
        QCOMPARE(pane()->model()->rowCount(), 3);
        QCOMPARE(pane()->model()->sentence(2), QStringLiteral("友達と協力しました。"));
        QVERIFY(m_composition.categories[1].correct(1, QStringLiteral("仲間にやさしく声をかけていました。")).ok());
        m_composition.changed(1);
        QCOMPARE(pane()->model()->rowCount(), 2);
        QVERIFY(m_composition.categories[1].remove(2).ok());
        m_composition.changed(1);
        QCOMPARE(pane()->model()->sentence(0), QStringLiteral("友達と協力しました。"));
    }

    void narrowsByCategoryAndClasses()
    {
        auto *category = pane()->findChild<QComboBox *>(QStringLiteral("ExampleCategory"));
        auto *first = pane()->findChild<QComboBox *>(QStringLiteral("ExampleClass1"));
        auto *second = pane()->findChild<QComboBox *>(QStringLiteral("ExampleClass2"));
        QVERIFY(!second->isEnabled());
        category->setCurrentIndex(1);
        QCOMPARE(first->count(), 4); // （すべて）, 国語, 算数, 理科
        first->setCurrentIndex(first->findText(QStringLiteral("国語")));
        QVERIFY(second->isEnabled());
        QCOMPARE(pane()->model()->rowCount(), 3);
        typeText(pane()->searchBox(), QStringLiteral("字"));
        QCOMPARE(pane()->model()->rowCount(), 1);
    }

    void everyToolBarCommandIsInAMenu()
    {
        auto *toolBar = m_window->findChild<QToolBar *>(QStringLiteral("ClassToolBar"));
        for (QAction *action : toolBar->actions()) {
            if (action->isSeparator() || qobject_cast<QWidgetAction *>(action))
                continue;
            const QList<QObject *> owners = action->associatedObjects();
            QVERIFY2(std::any_of(owners.cbegin(), owners.cend(), [](QObject *o) { return qobject_cast<QMenu *>(o); }),
                     qPrintable(action->text()));
        }
        // The toolbar's list of naming rules is a menu too, showing the class's rule.
        m_window->setNamingRule(NamingRule::GivenSan);
        const QList<QAction *> rules = m_window->findChild<QMenu *>(QStringLiteral("mnuNamingRule"))->actions();
        QCOMPARE(rules.size(), 3);
        for (QAction *rule : rules)
            QCOMPARE(rule->isChecked(), rule->data().toInt() == int(NamingRule::GivenSan));
        rules[0]->trigger();
        QCOMPARE(m_window->classBook().naming, NamingRule(rules[0]->data().toInt()));
        auto *more = toolBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
        QCOMPARE(more->accessibleName(), QStringLiteral("ほかのコマンド"));
        // At the default size on a 1280 × 800 screen (larger than the offscreen one) none is left to it.
        m_window->resize(1240, 690);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(!more->isVisible());
    }

    void nameAndNumberStayInViewSideways()
    {
        auto *table = m_window->findChild<FrozenColumnsTable *>(QStringLiteral("ClassTable"));
        table->setColumnWidth(ClassTableModel::columnOfField(0), 2000);
        QCoreApplication::processEvents(); // the scroll bar takes the new width
        m_window->selectCell(0, 1);
        QVERIFY(table->horizontalScrollBar()->value() > 0);
        QVERIFY(table->frozenView()->isVisible());
        QVERIFY(!table->frozenView()->isColumnHidden(1));
        QVERIFY(table->frozenView()->isColumnHidden(ClassTableModel::columnOfField(0)));
        const int frozenWidth = table->columnWidth(0) + table->columnWidth(1);
        QCOMPARE(table->frozenView()->width(), frozenWidth);
        QVERIFY(table->visualRect(table->currentIndex()).left() >= frozenWidth);
    }
};

QTEST_MAIN(TestExamplePane)
#include "tst_examplepane.moc"
