#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "ClassEditing.h"
#include "ClassEditor.h"
#include "ClassFile.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "ClassWindowFixture.h"
#include "CompositionAccess.h"
#include "LengthBar.h"
#include "ScriptedClassDialogs.h"

namespace {

class FakeComposition : public CompositionAccess {
public:
    QString text;
    QString compositionText() const override { return text; }
    void setCompositionText(const QString &t) override { text = t; }
};

ClassBook readBack(const QString &path) { return readClassFile(readAll(path)).book; }

} // namespace

class TestClassWindow : public QObject, private ClassWindowFixture<FakeComposition> {
    Q_OBJECT
private:
    QString classPath() const { return path(QStringLiteral("3年2組.json")); }
    const ClassBook &book() const { return m_window->classBook(); }
    QString cellText(int pupil, int field) const { return textOf(book(), pupil, field); }
    QAbstractItemModel *model() const { return m_window->findChild<QTableView *>(QStringLiteral("ClassTable"))->model(); }

private Q_SLOTS:
    void init()
    {
        m_composition.text.clear();
        openClass(QStringLiteral("3年2組.json"), threePupils());
    }
    void cleanup() { closeWindow(); }

    void titleNamesTheClass() { QCOMPARE(m_window->windowTitle(), QStringLiteral("学級の所見 － 3年2組")); }

    void insertingFillsTheNameAndMovesOn()
    {
        m_composition.text = QStringLiteral("〇〇は、毎朝元気にあいさつできました。");
        trigger("actInsertComposition");
        QCOMPARE(cellText(0, 0), QStringLiteral("青木さんは、毎朝元気にあいさつできました。"));
        QCOMPARE(m_window->selectedPupil(), 1);
        trigger("actInsertComposition");
        QCOMPARE(cellText(1, 0), QStringLiteral("井上さんは、毎朝元気にあいさつできました。"));
        QCOMPARE(m_window->selectedPupil(), 2);
        QVERIFY(m_dialogs->calls.isEmpty());
        // The rule of the class decides how the name is filled in.
        m_window->setNamingRule(NamingRule::FamilyBySex);
        trigger("actInsertComposition");
        QCOMPARE(cellText(2, 0), QStringLiteral("上田くんは、毎朝元気にあいさつできました。"));
        QCOMPARE(m_window->selectedPupil(), 2); // the last pupil stays selected
        QVERIFY(m_window->store().saveNow().ok);
        QCOMPARE(readBack(classPath()), book());
    }

    // Written from outside the editor (a replacement in 点検): the table, the file and the
    // editor of the selected cell follow, so typing on cannot bring the old text back.
    void writingACellShowsEverywhere()
    {
        m_window->selectCell(1, 0);
        QVERIFY(m_window->writeText(1, 0, QStringLiteral("書きかえた文。")));
        QCOMPARE(m_window->editor()->text(), QStringLiteral("書きかえた文。"));
        QCOMPARE(model()->index(1, ClassTableModel::columnOfField(0)).data(ClassTableModel::TextRole).toString(),
                 QStringLiteral("書きかえた文。"));
        QVERIFY(m_window->store().hasUnsavedChanges());
        QVERIFY(!m_window->writeText(7, 0, QStringLiteral("いない児童")));
    }

    void insertingOverText_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("selected");
        QTest::newRow("置き換える") << 0 << "井上さんはよく本を読みます。" << 2;
        QTest::newRow("後ろに付け加える") << 1 << "前の文。井上さんはよく本を読みます。" << 2;
        QTest::newRow("キャンセル") << 2 << "前の文。" << 1;
    }
    void insertingOverText()
    {
        QFETCH(int, choice);
        QFETCH(QString, after);
        QFETCH(int, selected);
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("前の文。")); });
        m_window->classEdited();
        m_window->selectCell(1, 0);
        m_composition.text = QStringLiteral("○○はよく本を読みます。");
        m_dialogs->choices = {choice};
        trigger("actInsertComposition");
        QCOMPARE(m_dialogs->calls.size(), 1);
        QCOMPARE(m_dialogs->calls[0].text, QStringLiteral("井上 海さんの「所見」には文章があります。"));
        QCOMPARE(m_dialogs->calls[0].buttons,
                 (QStringList{QStringLiteral("置き換える"), QStringLiteral("後ろに付け加える"), QStringLiteral("キャンセル")}));
        QCOMPARE(cellText(1, 0), after);
        QCOMPARE(m_window->selectedPupil(), selected);
    }

    void sendingAsksBeforeReplacingTheComposition()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("青木さんは元気です。")); });
        m_window->classEdited();
        m_window->selectCell(0, 0);
        m_composition.text = QStringLiteral("作りかけの文");
        m_dialogs->answers = {false};
        trigger("actSendToComposition");
        QCOMPARE(m_composition.text, QStringLiteral("作りかけの文"));
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")).size(), 1);
        m_dialogs->answers = {true};
        trigger("actSendToComposition");
        QCOMPARE(m_composition.text, QStringLiteral("青木さんは元気です。"));
        m_composition.text.clear(); // an empty composition is replaced without a question
        m_dialogs->calls.clear();
        trigger("actSendToComposition");
        QCOMPARE(m_composition.text, QStringLiteral("青木さんは元気です。"));
        QVERIFY(m_dialogs->calls.isEmpty());
    }

    void typingUpdatesCountMarksAndFile()
    {
        QVERIFY(m_window->store().apply([&](ClassBook &book) { return setFieldLimit(book, 0, 5); }).ok);
        m_window->classEdited();
        m_window->selectCell(0, 0);
        const QModelIndex cell = model()->index(0, ClassTableModel::columnOfField(0));
        QCOMPARE(model()->data(cell, ClassTableModel::StateRole).toInt(), int(ClassTableModel::CellState::Empty));
        QCOMPARE(model()->data(cell).toString(), QStringLiteral("□ 未記入"));

        auto *editor = m_window->findChild<QPlainTextEdit *>(QStringLiteral("ClassText"));
        auto *count = m_window->findChild<QLabel *>(QStringLiteral("ClassCount"));
        editor->setFocus();
        QTest::keyClicks(editor, QStringLiteral("abcde"));
        QCOMPARE(count->text(), QStringLiteral("5/5字"));
        QCOMPARE(model()->data(cell).toString(), QStringLiteral("5/5 abcde"));
        QCOMPARE(model()->data(cell, ClassTableModel::StateRole).toInt(), int(ClassTableModel::CellState::Written));
        QTest::keyClicks(editor, QStringLiteral("f"));
        QCOMPARE(count->text(), QStringLiteral("！6/5字（1字多い）"));
        QCOMPARE(model()->data(cell).toString(), QStringLiteral("！6/5 abcdef"));
        QCOMPARE(model()->data(cell, ClassTableModel::StateRole).toInt(), int(ClassTableModel::CellState::OverLimit));
        auto *bar = m_window->findChild<LengthBar *>(QStringLiteral("ClassBar"));
        QCOMPARE(bar->length(), 6);
        QCOMPARE(bar->limit(), 5);
        QCOMPARE(m_window->stateText(), QStringLiteral("保存待ち…"));
        auto *state = m_window->findChild<QLabel *>(QStringLiteral("ClassSaveState"));
        QCOMPARE(state->accessibleName(), QStringLiteral("保存の状態: 保存待ち…")); // what a screen reader says
        QTRY_VERIFY_WITH_TIMEOUT(m_window->stateText().startsWith(QStringLiteral("保存済み")), 2000);
        QCOMPARE(textOf(readBack(classPath()), 0, 0), QStringLiteral("abcdef"));
    }

    void theLastClassReopens()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 2, 0, QStringLiteral("陸の文")); });
        m_window->classEdited();
        m_window->close();
        m_window.reset();
        ClassWindow again(m_dir.path(), &m_composition, std::make_unique<ScriptedClassDialogs>());
        QCOMPARE(again.windowTitle(), QStringLiteral("学級の所見"));
        // The window above was never opened through a command: nothing is remembered yet.
        again.openLastClass();
        QVERIFY(!again.store().isOpen());
        rememberLastClass(m_dir.path(), classPath());
        again.openLastClass();
        QCOMPARE(again.windowTitle(), QStringLiteral("学級の所見 － 3年2組"));
        QCOMPARE(textOf(again.classBook(), 2, 0), QStringLiteral("陸の文"));

        // A remembered class that is gone is said so, and nothing is made in its place.
        auto dialogs = std::make_unique<ScriptedClassDialogs>();
        ScriptedClassDialogs *said = dialogs.get();
        rememberLastClass(m_dir.path(), m_dir.filePath(QStringLiteral("消えた組.json")));
        ClassWindow third(m_dir.path(), &m_composition, std::move(dialogs));
        third.openLastClass();
        QVERIFY(!third.store().isOpen());
        QCOMPARE(said->said(QStringLiteral("inform")).size(), 1);
        QVERIFY(said->said(QStringLiteral("inform"))[0].contains(QStringLiteral("消えた組.json")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("消えた組.json"))));
    }

    void closingWithAFailedSaveAsks()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("消えては困る文")); });
        // A folder where the day's backup goes: the save stops before writing.
        QVERIFY(QDir().mkpath(m_window->store().backupPath()));
        m_window->classEdited();
        m_dialogs->answers = {false};
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")).size(), 1);
        QVERIFY(m_dialogs->said(QStringLiteral("ask"))[0].contains(QStringLiteral("3年2組.json")));
        QVERIFY(m_window->stateText().startsWith(QStringLiteral("保存できていません")));
        QVERIFY(QDir(m_window->store().backupPath()).removeRecursively());
        QVERIFY(m_window->close());
        QCOMPARE(textOf(readBack(classPath()), 0, 0), QStringLiteral("消えては困る文"));
    }

    // A newcomer at 3 and a child whose name changed: the preview gets the plan, the
    // teacher says the renamed one is the same child, and the result names both changes.
    void rosterFromTheClipboard()
    {
        QApplication::clipboard()->setText(
            QStringLiteral("番号\t氏名\t性別\r\n1\t青木 空\t男\r\n2\t井上 うみ\t女\r\n3\t江藤 晴\t男\r\n4\t上田 陸\t男\r\n"));
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("海の文")); });
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 2, 0, QStringLiteral("陸の文")); });
        m_dialogs->rosterAnswers = {{1, 1}};
        trigger("actImportClipboard");
        QCOMPARE(m_dialogs->said(QStringLiteral("preview")).size(), 1);
        QVERIFY(m_dialogs->said(QStringLiteral("preview"))[0].startsWith(QStringLiteral("追加 2人　番号が変わる 1人")));
        QStringList names;
        for (const Pupil &pupil : book().pupils)
            names.append(QStringLiteral("%1 %2").arg(pupil.number).arg(pupil.name));
        QCOMPARE(names, (QStringList{"1 青木 空", "2 井上 うみ", "3 江藤 晴", "4 上田 陸"}));
        QCOMPARE(cellText(1, 0), QStringLiteral("海の文"));
        QCOMPARE(cellText(3, 0), QStringLiteral("陸の文"));
        const QString report = m_dialogs->said(QStringLiteral("inform")).value(0);
        QVERIFY2(report.contains(QStringLiteral("番号が変わった：上田 陸（3→4番）")), qPrintable(report));
        QVERIFY2(report.contains(QStringLiteral("名前が変わった：2番：井上 海 → 井上 うみ")), qPrintable(report));
    }

    void removingAsksOnlyWhenTextWouldGo()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("空の文")); });
        m_window->classEdited();
        m_window->selectCell(0, 0);
        m_dialogs->answers = {false, false};
        trigger("actRemovePupil");
        trigger("actRemoveField"); // the only field: asked first, then refused
        QCOMPARE(book().pupils.size(), 3);
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")).size(), 2);
        m_window->selectCell(1, 0);
        trigger("actRemovePupil"); // no text: no question
        QCOMPARE(book().pupils.size(), 2);
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")).size(), 2);
        m_dialogs->texts = {QStringLiteral("道徳")};
        m_dialogs->numbers = {100};
        trigger("actAddField");
        QCOMPARE(book().fields.size(), 2);
        QCOMPARE(m_window->selectedField(), 1);
        QCOMPARE(model()->headerData(ClassTableModel::columnOfField(1), Qt::Horizontal).toString(), QStringLiteral("道徳（100字）"));
    }

    void newClassFromTheMenu()
    {
        const QString path = m_dir.filePath(QStringLiteral("4年1組"));
        m_dialogs->texts = {QStringLiteral("4年1組 1学期")};
        m_dialogs->fileNames = {path};
        trigger("actNewClass");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("学級の所見 － 4年1組 1学期"));
        const ClassBook made = readBack(path + QStringLiteral(".json"));
        QCOMPARE(made.name, QStringLiteral("4年1組 1学期"));
        QCOMPARE(made.fields, (QList<ClassField>{{QStringLiteral("所見"), 200}}));
        QCOMPARE(lastClassPath(m_dir.path()), path + QStringLiteral(".json"));
        QFile::remove(path + QStringLiteral(".json"));
    }

    // A new class over a file that cannot be read: refused with its reason, the file kept,
    // and the class opened next time is still the one before.
    void newClassNotMadeIsNotRemembered()
    {
        QFile large(m_dir.filePath(QStringLiteral("大きな組.json")));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(40 * 1024 * 1024));
        large.close();
        rememberLastClass(m_dir.path(), classPath());
        m_dialogs->texts = {QStringLiteral("4年1組")};
        m_dialogs->fileNames = {large.fileName()};
        trigger("actNewClass");
        QVERIFY(m_dialogs->said(QStringLiteral("inform")).value(0).contains(QStringLiteral("大きすぎます")));
        QCOMPARE(lastClassPath(m_dir.path()), classPath());
        QCOMPARE(QFileInfo(large).size(), 40 * 1024 * 1024);
        QFile::remove(large.fileName());
    }

    void commandsCanBeAdded()
    {
        auto *check = new QAction(QStringLiteral("点検"), m_window.get());
        int runs = 0;
        connect(check, &QAction::triggered, this, [&runs] { ++runs; });
        m_window->addCommand(check, QStringLiteral("点検(&C)"));
        m_window->selectCell(2, 0);
        check->trigger();
        QCOMPARE(runs, 1);
        QCOMPARE(m_window->selectedPupil(), 2);
        QCOMPARE(m_window->selectedField(), 0);
    }
};

QTEST_MAIN(TestClassWindow)
#include "tst_classwindow.moc"
