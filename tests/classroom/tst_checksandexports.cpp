#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "CheckSettingsDialog.h"
#include "ClassEditing.h"
#include "ClassEditor.h"
#include "ClassFile.h"
#include "ClassTableModel.h"
#include "ClassWindowFixture.h"
#include "ColumnCopy.h"
#include "CsvExport.h"

namespace {

const QString Shared = QStringLiteral("友だちと協力して最後までやり遂げました。");

ClassBook sampleClass()
{
    ClassBook book = threePupils();
    (void)setText(book, 0, 0, QStringLiteral("休み時間は友達と遊びます。") + Shared);
    (void)setText(book, 1, 0, QStringLiteral("友達に優しい。友達が多い。"));
    (void)setText(book, 2, 0, QStringLiteral("図工が好きです。"));
    return book;
}

} // namespace

class TestChecksAndExports : public QObject, private ClassWindowFixture<> {
    Q_OBJECT
private:
    QString text(int pupil) const { return textOf(m_window->classBook(), pupil, 0); }
    QListWidget *list() const { return child<QListWidget>("CheckList"); }
    int rowOf(const QString &start) const
    {
        for (int row = 0; row < list()->count(); ++row) {
            if (list()->item(row)->text().startsWith(start))
                return row;
        }
        return -1;
    }
    bool duplicateMark(int pupil) const
    {
        const QAbstractItemModel *model = m_window->tableModel();
        return model->data(model->index(pupil, ClassTableModel::columnOfField(0)), ClassTableModel::DuplicateRole).toBool();
    }

private Q_SLOTS:
    void init()
    {
        writeAll(path("表記ルール.txt"), QStringLiteral("友達\t友だち\n図工\t\n").toUtf8());
        openClass(QStringLiteral("3年2組.json"), sampleClass());
    }
    void cleanup() { closeWindow(); }

    void xlsxAsksBeforeReplacing()
    {
        const QString target = path("3年2組.xlsx");
        m_dialogs->fileNames = {path("3年2組")}; // the suffix is added
        trigger("actExportXlsx");
        QVERIFY(readAll(target).startsWith("PK"));
        QVERIFY(m_dialogs->said(QStringLiteral("ask")).isEmpty());
        QVERIFY(m_window->statusBar()->currentMessage().contains(QStringLiteral("3年2組.xlsx")));

        QVERIFY(QFile::resize(target, 10));
        m_dialogs->fileNames = {target};
        m_dialogs->answers = {false};
        trigger("actExportXlsx");
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")),
                 QStringList{QStringLiteral("「3年2組.xlsx」はもうあります。置き換えますか？")});
        QCOMPARE(readAll(target).size(), 10);

        m_dialogs->fileNames = {target};
        m_dialogs->answers = {true};
        trigger("actExportXlsx");
        QVERIFY(readAll(target).size() > 1000);
    }

    void shiftJisRefusesBeforeAnything()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("𠮷野家と👍")); });
        m_window->store().apply([](ClassBook &book) { book.pupils[2].name = QStringLiteral("上田 𠮷"); });
        m_window->classEdited();
        m_dialogs->choices = {1};
        m_dialogs->fileNames = {path("x.csv")};
        trigger("actExportCsv");
        const QStringList said = m_dialogs->said(QStringLiteral("inform"));
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains(QStringLiteral("・2番 井上 海　所見：𠮷👍（U+20BB7 U+1F44D）")), qPrintable(said[0]));
        QVERIFY2(said[0].contains(QStringLiteral("・3番 上田 𠮷　氏名：𠮷")), qPrintable(said[0]));
        QCOMPARE(m_dialogs->fileNames.size(), 1); // no file was even asked for
        QVERIFY(!QFile::exists(path("x.csv")));

        // UTF-8 takes every character.
        m_dialogs->choices = {0};
        trigger("actExportCsv");
        QCOMPARE(readAll(path("x.csv")), csvBytes(m_window->classBook(), CsvEncoding::Utf8Bom).bytes);
    }

    void copyColumnPutsTheFieldOnTheClipboard()
    {
        trigger("actCopyColumn");
        QCOMPARE(QGuiApplication::clipboard()->text(), columnCopyText(m_window->classBook(), 0));
    }

    void messagesShowBesideTheSaveState()
    {
        trigger("actCopyColumn");
        QVERIFY(m_window->statusBar()->currentMessage().contains(QStringLiteral("3 人分コピーしました")));
        // The save state keeps to the room its text needs: the message has the rest.
        QTRY_VERIFY(child<QLabel>("ClassSaveState")->width() < m_window->statusBar()->width() / 2);
        QVERIFY(child<QLabel>("ClassSaveState")->isVisible());
    }

    void kindFilterShowsOneKindWithItsCount()
    {
        trigger("actCheck");
        auto *kinds = child<QComboBox>("CheckKindFilter");
        const int all = list()->count();
        QCOMPARE(kinds->itemText(0), QStringLiteral("すべて（%1）").arg(all));
        QVERIFY(kinds->findText(QStringLiteral("メモなし（3）")) > 0); // no pupil has a note yet
        int listed = 0;
        for (int kind = 1; kind < kinds->count(); ++kind) {
            kinds->setCurrentIndex(kind);
            Q_EMIT kinds->activated(kind);
            const QString caption = kinds->itemText(kind);
            const int count = caption.mid(caption.indexOf(u'（') + 1).chopped(1).toInt();
            QCOMPARE(list()->count(), count);
            listed += count;
        }
        QCOMPARE(listed, all);
        // A new check keeps the kind chosen.
        child<QPushButton>("CheckAgain")->click();
        QCOMPARE(kinds->currentIndex(), kinds->count() - 1);
    }

    // Beside 点検 at the default size the example pane gives way as well, so the editor keeps its
    // caption on one line and room to write.
    void editorStaysWideBesideTheChecks()
    {
        m_window->resize(1240, 690);
        trigger("actCheck");
        auto *caption = child<QLabel>("ClassEditorCaption");
        QTRY_VERIFY(child<QDockWidget>("CheckPanel")->isVisible());
        QVERIFY2(caption->height() < 2 * caption->fontMetrics().lineSpacing(), qPrintable(caption->text()));
    }

    void panelKeepsItsWidth()
    {
        m_window->resize(1240, 690); // the offscreen screen is smaller than a laptop's
        trigger("actCheck");
        const int first = child<QDockWidget>("CheckPanel")->width();
        m_window->resizeDocks({child<QDockWidget>("CheckPanel")}, {first + 40}, Qt::Horizontal);
        QTRY_COMPARE(child<QDockWidget>("CheckPanel")->width(), first + 40);
        m_window.reset();
        m_window =
            std::make_unique<ClassWindow>(m_dir.path(), &m_composition, std::make_unique<ScriptedClassDialogs>());
        QVERIFY(m_window->store().open(path("3年2組.json")).ok);
        m_window->classEdited();
        m_window->resize(1240, 690);
        m_window->show();
        trigger("actCheck");
        QTRY_COMPARE(child<QDockWidget>("CheckPanel")->width(), first + 40);
    }

    void checkListWalksTheClass()
    {
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, text(1) + Shared); });
        m_window->classEdited();
        trigger("actCheck");
        QVERIFY(child<QWidget>("CheckPanel")->isVisible());
        QVERIFY(list()->hasFocus() || QApplication::focusWidget() == nullptr);
        const int first = rowOf(QStringLiteral("1番 青木 空　所見\n「友達」は「友だち」"));
        QVERIFY(first >= 0);
        list()->setCurrentRow(first);
        QCOMPARE(m_window->selectedPupil(), 0);
        QCOMPARE(m_window->editor()->textEdit()->textCursor().selectedText(), QStringLiteral("友達"));
        // The arrow keys walk on: the next entry is the shared sentence, selected whole.
        QTest::keyClick(list(), Qt::Key_Down);
        QVERIFY(list()->currentItem()->text().contains(QStringLiteral("同じ文が 2番 井上 海にも")));
        QCOMPARE(m_window->editor()->textEdit()->textCursor().selectedText(), Shared);
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(m_window->selectedPupil(), 1);
        // The avoided word has nothing to put in.
        list()->setCurrentRow(rowOf(QStringLiteral("3番 上田 陸　所見\n「図工」は使わない言葉")));
        QVERIFY(!child<QPushButton>("ReplaceOne")->isEnabled());
    }

    void replacingAndUndoing()
    {
        trigger("actCheck");
        const QString before0 = text(0), before1 = text(1);
        list()->setCurrentRow(rowOf(QStringLiteral("2番 井上 海　所見\n「友達」")));
        QTest::mouseClick(child<QPushButton>("ReplaceOne"), Qt::LeftButton);
        QCOMPARE(text(1), QStringLiteral("友だちに優しい。友達が多い。"));
        QCOMPARE(text(0), before0);
        // Every hit of the rule in the class.
        list()->setCurrentRow(rowOf(QStringLiteral("1番 青木 空　所見\n「友達」")));
        QTest::mouseClick(child<QPushButton>("ReplaceRule"), Qt::LeftButton);
        QVERIFY(!text(0).contains(QStringLiteral("友達")) && !text(1).contains(QStringLiteral("友達")));
        QCOMPARE(rowOf(QStringLiteral("1番 青木 空　所見\n「友達」")), -1);
        // Undone one step at a time; the class file follows.
        QTest::mouseClick(child<QPushButton>("UndoReplace"), Qt::LeftButton);
        QCOMPARE(text(1), QStringLiteral("友だちに優しい。友達が多い。"));
        QTest::mouseClick(child<QPushButton>("UndoReplace"), Qt::LeftButton);
        QCOMPARE(text(0), before0);
        QCOMPARE(text(1), before1);
        QVERIFY(!child<QPushButton>("UndoReplace")->isEnabled());
        QVERIFY(m_window->store().saveNow().ok);
    }

    void undoKeepsWhatWasTypedSince()
    {
        trigger("actCheck");
        list()->setCurrentRow(rowOf(QStringLiteral("2番 井上 海　所見\n「友達」")));
        QTest::mouseClick(child<QPushButton>("ReplaceRule"), Qt::LeftButton);
        m_window->selectCell(1, 0);
        QPlainTextEdit *editor = m_window->editor()->textEdit();
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(QStringLiteral("ね"));
        const QString typed = text(1);
        QVERIFY(typed.endsWith(u'ね'));
        QTest::mouseClick(child<QPushButton>("UndoReplace"), Qt::LeftButton);
        QCOMPARE(text(1), typed);
        QVERIFY(text(0).contains(QStringLiteral("友達")));
        QVERIFY(m_dialogs->said(QStringLiteral("inform")).last().startsWith(QStringLiteral("1 か所は")));
    }

    void anotherClassForgetsFindingsAndUndo()
    {
        trigger("actCheck");
        list()->setCurrentRow(rowOf(QStringLiteral("2番 井上 海　所見\n「友達」")));
        QTest::mouseClick(child<QPushButton>("ReplaceRule"), Qt::LeftButton);
        QVERIFY(child<QPushButton>("UndoReplace")->isEnabled());
        QVERIFY(m_window->store().create(path("別の組.json"), sampleClass()).ok);
        m_window->classEdited();
        QCOMPARE(list()->count(), 0);
        QVERIFY(!child<QPushButton>("UndoReplace")->isEnabled());
    }

    void staleEntriesAreNotReplacedBlindly()
    {
        trigger("actCheck");
        list()->setCurrentRow(rowOf(QStringLiteral("2番 井上 海　所見\n「友達」")));
        (void)m_window->store().apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("書きかえた。友達")); });
        m_window->classEdited();
        QVERIFY(child<QLabel>("CheckSummary")->text().contains(QStringLiteral("点検しなおす")));
        QTest::mouseClick(child<QPushButton>("ReplaceOne"), Qt::LeftButton);
        QCOMPARE(text(1), QStringLiteral("書きかえた。友達"));
        QVERIFY(m_dialogs->said(QStringLiteral("inform")).last().contains(QStringLiteral("変わっていた")));
    }

    // 点検の設定 go into the class file, and the next 点検 follows them.
    void settingsAreStoredAndUsed()
    {
        trigger("actCheck");
        QVERIFY(rowOf(QStringLiteral("2番 井上 海　所見\n常体の文末「〜しい。」")) >= 0);
        CheckSettings plain;
        plain.style = WritingStyle::Plain;
        plain.setOn(CheckKind::Duplicate, false);
        m_dialogs->checkSettings = {plain};
        trigger("actCheckSettings");
        QVERIFY(m_window->store().saveNow().ok);
        const ClassFileRead saved = readClassFile(readAll(path("3年2組.json")));
        QVERIFY(saved.ok);
        QCOMPARE(saved.book.checks, plain);
        QCOMPARE(rowOf(QStringLiteral("2番 井上 海　所見\n常体の文末")), -1);
        QVERIFY(rowOf(QStringLiteral("1番 青木 空　所見\n敬体の文末「〜ます。」があります（この学級は常体）")) >= 0);
        // Cancelled: nothing changes.
        trigger("actCheckSettings");
        QCOMPARE(m_window->classBook().checks, plain);
    }

    void settingsDialogShowsAndReturnsTheSettings()
    {
        CheckSettings settings;
        settings.grade = 3;
        settings.sentenceLimit = 45;
        settings.setOn(CheckKind::Names, false);
        CheckSettingsDialog dialog(settings);
        QCOMPARE(dialog.settings(), settings);
        dialog.findChild<QComboBox *>(QStringLiteral("CheckStyle"))->setCurrentIndex(1);
        dialog.findChild<QCheckBox *>(QStringLiteral("CheckKind%1").arg(int(CheckKind::Names)))->setChecked(true);
        settings.style = WritingStyle::Plain;
        settings.setOn(CheckKind::Names, true);
        QCOMPARE(dialog.settings(), settings);
    }

    // The teacher's rules file takes up the starter's new sections only when she says yes.
    void starterRulesOnlyWhenAsked()
    {
        const QByteArray hers = readAll(path("表記ルール.txt"));
        m_dialogs->answers = {false};
        trigger("actAddStarterRules");
        QVERIFY(m_dialogs->said(QStringLiteral("ask")).last().contains(QStringLiteral("・かなで書く言葉（")));
        QCOMPARE(readAll(path("表記ルール.txt")), hers);
        m_dialogs->answers = {true};
        trigger("actAddStarterRules");
        const QByteArray after = readAll(path("表記ルール.txt"));
        QVERIFY(after.startsWith(hers) && after.size() > hers.size());
        QCOMPARE(readAll(path("表記ルール.bak")), hers);
    }

    void duplicateMarksFollowTyping()
    {
        QVERIFY(!duplicateMark(0));
        m_window->selectCell(2, 0);
        QPlainTextEdit *editor = m_window->editor()->textEdit();
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(Shared.chopped(1));
        QVERIFY(!duplicateMark(0)); // not yet the same sentence
        editor->insertPlainText(QStringLiteral("。"));
        QVERIFY(duplicateMark(0));
        QVERIFY(duplicateMark(2));
        QVERIFY(m_window->tableModel()->data(m_window->tableModel()->index(0, ClassTableModel::columnOfField(0)))
                    .toString().startsWith(u'≒'));
        QTest::keyClick(editor, Qt::Key_Backspace);
        QVERIFY(!duplicateMark(0));
        QVERIFY(!duplicateMark(2));
    }
};

QTEST_MAIN(TestChecksAndExports)
#include "tst_checksandexports.moc"
