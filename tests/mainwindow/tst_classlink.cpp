#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "ClassEditing.h"
#include "ClassFile.h"
#include "CategoryPage.h"
#include "ClassLink.h"
#include "ClassWindow.h"
#include "Form1.h"
#include "ScriptedClassDialogs.h"
#include "TestSupport.h"
#include "TextBox.h"

// The main window and the class window together: the menu, the composition passed both
// ways, and closing.

class TestClassLink : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WorkingFolder> m_folder;
    std::unique_ptr<Form1> m_form;
    ScriptedDialogs *m_dialogs = nullptr;
    ScriptedClassDialogs *m_classDialogs = nullptr;

    QString classPath() const { return m_folder->filePath(QStringLiteral("3年2組.json")); }
    TextBox *text1() const { return m_form->findChild<TextBox *>(QStringLiteral("Text1")); }
    ClassWindow *classWindow() const { return m_form->classLink().window(); }
    ClassBook onDisk() const { return readClassFile(m_folder->read(QStringLiteral("3年2組.json"))).book; }

    void openFromMenu()
    {
        m_form->findChild<QAction *>(QStringLiteral("mnuClassOpen"))->trigger();
        QVERIFY(classWindow());
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<WorkingFolder>();
        m_folder->seedStarterLibrary();
        ClassBook book = newClassBook(QStringLiteral("3年2組"));
        (void)addPupil(book, {1, QStringLiteral("青木 空"), QString(), QStringLiteral("男")});
        (void)addPupil(book, {2, QStringLiteral("井上 海"), QString(), QStringLiteral("女")});
        m_folder->write(QStringLiteral("3年2組.json"), classFileBytes(book));
        rememberLastClass(m_folder->path(), classPath());
        auto dialogs = std::make_unique<ScriptedDialogs>();
        m_dialogs = dialogs.get();
        m_form = std::make_unique<Form1>(m_folder->path(), std::move(dialogs));
        m_form->classLink().setDialogsFactory([this] {
            auto answers = std::make_unique<ScriptedClassDialogs>();
            m_classDialogs = answers.get();
            return answers;
        });
        m_form->show();
    }
    void cleanup()
    {
        m_form.reset();
        m_folder.reset();
    }

    void menuOpensTheLastClassOnce()
    {
        openFromMenu();
        ClassWindow *first = classWindow();
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("学級の所見 － 3年2組"));
        QVERIFY(m_form->isVisible()); // modeless: the main window stays usable
        openFromMenu();
        QCOMPARE(classWindow(), first);
    }

    void compositionGoesBothWays()
    {
        openFromMenu();
        text1()->setText(QStringLiteral("〇〇は、係の仕事を\n最後までやりとげました。"));
        classWindow()->insertComposition();
        QCOMPARE(textOf(classWindow()->classBook(), 0, 0), QStringLiteral("青木さんは、係の仕事を\n最後までやりとげました。"));
        QCOMPARE(classWindow()->selectedPupil(), 1);
        classWindow()->selectCell(0, 0);
        text1()->setText(QString());
        classWindow()->sendToComposition();
        QCOMPARE(text1()->text(), QStringLiteral("青木さんは、係の仕事を\n最後までやりとげました。"));
        QVERIFY(m_classDialogs->calls.isEmpty());
    }

    // An example shown in the main window says in the class window who already has it; a
    // note goes after the composition's text. The main window shows nothing new.
    void examplesAndNotesCrossBetweenTheWindows()
    {
        openFromMenu();
        (void)classWindow()->store().apply(
            [](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("井上さんは、係の仕事を最後までやりとげました。")); });
        classWindow()->classEdited();
        auto *usage = classWindow()->findChild<QLabel *>(QStringLiteral("ExampleUsage"));
        m_form->page(0).exampleBox()->setText(QStringLiteral("〇〇は、係の仕事を最後までやりとげました。"));
        QCOMPARE(usage->text(), QStringLiteral("この例文は 1 人が使っています：2番 井上さん"));
        m_form->page(1).exampleBox()->setText(QStringLiteral("図書室でたくさんの本を読みました。")); // a category not shown
        QCOMPARE(usage->text(), QStringLiteral("この例文は 1 人が使っています：2番 井上さん"));

        classWindow()->selectCell(0, 0);
        classWindow()->findChild<QAction *>(QStringLiteral("actAddNote"))->trigger();
        classWindow()->findChild<QPlainTextEdit *>(QStringLiteral("NoteText"))->setPlainText(QStringLiteral("朝の会で司会をした"));
        text1()->setText(QStringLiteral("書きかけの文。"));
        classWindow()->findChild<QAction *>(QStringLiteral("actNoteToComposition"))->trigger();
        QCOMPARE(text1()->text(), QStringLiteral("書きかけの文。\n朝の会で司会をした"));
    }

    void closingTheMainWindowSavesTheClass()
    {
        openFromMenu();
        QPointer<ClassWindow> window = classWindow();
        (void)window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("閉じる直前の文")); });
        window->classEdited();
        QVERIFY(window->store().hasUnsavedChanges());
        QVERIFY(m_form->close());
        QCOMPARE(textOf(onDisk(), 1, 0), QStringLiteral("閉じる直前の文"));
        QTRY_VERIFY(!window);
    }

    void aClassThatCannotBeSavedKeepsBothOpen()
    {
        openFromMenu();
        ClassWindow *window = classWindow();
        (void)window->store().apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("まだ保存されていない文")); });
        QVERIFY(QFile::remove(classPath()));
        QVERIFY(QDir().mkpath(classPath())); // a folder where the file was: the write fails
        window->classEdited();
        m_classDialogs->answers = {false}; // do not give the text up
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QVERIFY(window->isVisible());
        QVERIFY(m_dialogs->calls.isEmpty()); // the data files were not asked about yet
        QVERIFY(QDir(classPath()).removeRecursively());
        QVERIFY(m_form->close());
        QCOMPARE(textOf(onDisk(), 0, 0), QStringLiteral("まだ保存されていない文"));
    }

    // Logging out while the class file was changed by another window: nobody answers, the
    // other version stays, this window's class goes beside it, and nothing waits.
    void closingUnattendedKeepsBothAndAsksNothing()
    {
        openFromMenu();
        ClassWindow *window = classWindow();
        ClassBook other = onDisk();
        (void)setText(other, 0, 0, QStringLiteral("別の画面の文"));
        m_folder->write(QStringLiteral("3年2組.json"), classFileBytes(other));
        (void)window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("ログアウト直前の文")); });
        window->classEdited();
        m_form->closeUnattended();
        QVERIFY(!m_form->isVisible());
        QVERIFY(m_classDialogs->calls.isEmpty());
        QVERIFY(m_dialogs->calls.isEmpty());
        QCOMPARE(textOf(onDisk(), 0, 0), QStringLiteral("別の画面の文"));
        QStringList beside = QDir(m_folder->path()).entryList({QStringLiteral("3年2組*.json")});
        beside.removeOne(QStringLiteral("3年2組.json"));
        QCOMPARE(beside.size(), 1);
        QCOMPARE(textOf(readClassFile(m_folder->read(beside.first())).book, 1, 0), QStringLiteral("ログアウト直前の文"));
    }
};

QTEST_MAIN(TestClassLink)
#include "tst_classlink.moc"
