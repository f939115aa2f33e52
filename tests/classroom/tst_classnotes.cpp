#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "ClassEditing.h"
#include "ClassTableModel.h"
#include "ClassWindowFixture.h"
#include "CompositionAccess.h"
#include "QuickNotesDialog.h"
#include "Typing.h"

// The メモ pane, the quick entry, the search and the example line in the class window: the
// wiring the class book's own tests cannot show.
namespace {

class ListeningComposition : public CompositionAccess {
public:
    QString text;
    ExampleListener listener;
    QString compositionText() const override { return text; }
    void setCompositionText(const QString &t) override { text = t; }
    void setExampleListener(ExampleListener l) override { listener = std::move(l); }
};

const QStringList Names = {QStringLiteral("青木 空"), QStringLiteral("井上 海"), QStringLiteral("上田 陸"),
                           QStringLiteral("江藤 花"), QStringLiteral("小川 森"), QStringLiteral("加藤 光"),
                           QStringLiteral("木村 星"), QStringLiteral("工藤 雪"), QStringLiteral("佐藤 雲")};

} // namespace

class TestClassNotes : public QObject, private ClassWindowFixture<ListeningComposition> {
    Q_OBJECT
private:
    QString classPath() const { return path(QStringLiteral("3年2組.json")); }
    const ClassBook &book() const { return m_window->classBook(); }
    QTableView *table() const { return child<QTableView>("ClassTable"); }
    QString countShown(int pupil) const
    {
        return table()->model()->index(pupil, ClassTableModel::NotesCountColumn).data().toString();
    }

    void openWindow()
    {
        makeWindow();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

private Q_SLOTS:
    void init()
    {
        openWindow();
        ClassBook nine = newClassBook(QStringLiteral("3年2組"));
        for (int i = 0; i < Names.size(); ++i)
            (void)addPupil(nine, {i + 1, Names[i], QString(), QString()});
        QVERIFY(m_window->store().create(classPath(), nine).ok);
        m_window->classEdited();
        m_window->selectCell(0, 0);
    }
    void cleanup() { closeWindow(); }

    void ctrlMAddsANoteAndTypingStaysInIt()
    {
        m_window->selectCell(2, 0);
        table()->setFocus();
        QTest::keyClick(table(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(book().pupils[2].notes.size(), 1);
        QCOMPARE(book().pupils[2].notes[0].date, QDate::currentDate());
        auto *text = child<QPlainTextEdit>("NoteText");
        QCOMPARE(QApplication::focusWidget(), text);
        typeText(text, QStringLiteral("リレーで最後まで走った"));
        QCOMPARE(book().pupils[2].notes[0].text, QStringLiteral("リレーで最後まで走った"));
        QCOMPARE(table()->currentIndex(), table()->model()->index(2, ClassTableModel::columnOfField(0)));
        QCOMPARE(countShown(2), QStringLiteral("1"));
        QCOMPARE(countShown(1), QStringLiteral("□ 0"));
        // An earlier day moves the note below a newer one; the list follows it.
        trigger("actAddNote");
        child<QDateEdit>("NoteDate")->setDate(QDate(2020, 4, 1));
        QCOMPARE(book().pupils[2].notes[1].date, QDate(2020, 4, 1));
        QCOMPARE(child<QListWidget>("NotesList")->currentRow(), 1);
        QVERIFY(m_window->store().hasUnsavedChanges());
    }

    void deletingAsksWhenTheNoteHasText()
    {
        trigger("actAddNote");
        typeText(child<QPlainTextEdit>("NoteText"), QStringLiteral("音読が上手"));
        m_dialogs->answers = {false};
        trigger("actRemoveNote");
        QCOMPARE(book().pupils[0].notes.size(), 1);
        m_dialogs->answers = {true};
        trigger("actRemoveNote");
        QCOMPARE(book().pupils[0].notes.size(), 0);
        trigger("actAddNote");
        trigger("actRemoveNote"); // nothing written: nothing to lose, no question
        QCOMPARE(book().pupils[0].notes.size(), 0);
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")).size(), 2);
    }

    // A teacher after a lesson: ten notes for eight pupils, by number or name, two of them
    // for two pupils at once; closed, opened again, found beside each pupil and by searching.
    void quickEntryAfterALesson()
    {
        trigger("actQuickNotes");
        auto *dialog = m_window->findChild<QuickNotesDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        auto *filter = dialog->findChild<QLineEdit *>(QStringLiteral("QuickNoteFilter"));
        auto *text = dialog->findChild<QPlainTextEdit *>(QStringLiteral("QuickNoteText"));
        auto *pupils = dialog->findChild<QListWidget *>(QStringLiteral("QuickNotePupils"));
        const QList<std::pair<QString, QString>> moments = {
            {"1", "発表で手をあげた"}, {"２", "給食当番を最後まで"}, {"上田", "虫の観察を絵にした"}, {"4番", "友だちに声をかけた"}, {"小川", "リレーでアンカー"},
            {"6", "計算ドリルを全部"}, {"7", "図書室で本を三冊"}, {"工藤", "掃除を手伝った"}, {"1", "音読が上手になった"}};
        for (const auto &[who, what] : moments) {
            filter->setFocus();
            typeText(filter, who);
            QTest::keyClick(filter, Qt::Key_Return);
            typeText(text, what);
            QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
        }
        // Two pupils ticked get the same note.
        for (int row : {1, 7})
            pupils->item(row)->setCheckState(Qt::Checked);
        typeText(text, QStringLiteral("二人で係の仕事"));
        QVERIFY(dialog->addNote());
        QVERIFY(text->toPlainText().isEmpty());

        QList<int> counts;
        for (const Pupil &pupil : book().pupils)
            counts.append(int(pupil.notes.size()));
        QCOMPARE(counts, (QList<int>{2, 2, 1, 1, 1, 1, 1, 2, 0}));
        QCOMPARE(book().pupils[0].notes[1].text, QStringLiteral("発表で手をあげた"));
        QCOMPARE(countShown(8), QStringLiteral("□ 0"));

        m_window->close();
        m_window.reset();
        openWindow();
        QVERIFY(m_window->store().open(classPath()).ok);
        m_window->classEdited();
        m_window->selectCell(5, 0);
        QCOMPARE(child<QListWidget>("NotesList")->count(), 1);
        QVERIFY(child<QListWidget>("NotesList")->item(0)->text().contains(QStringLiteral("計算ドリルを全部")));

        trigger("actSearchClass");
        typeText(child<QLineEdit>("ClassSearchBox"), QStringLiteral("アンカー"));
        auto *hits = child<QListWidget>("SearchHits");
        QCOMPARE(hits->count(), 1);
        hits->setCurrentRow(0);
        QCOMPARE(m_window->selectedPupil(), 4);
        QCOMPARE(child<QPlainTextEdit>("NoteText")->textCursor().selectedText(), QStringLiteral("アンカー"));
    }

    void aPupilWithoutNotesIsAFindingThatCanBeSwitchedOff()
    {
        auto findings = [this] {
            QStringList lines;
            auto *list = child<QListWidget>("CheckList");
            for (int row = 0; row < list->count(); ++row) {
                if (list->item(row)->text().contains(QStringLiteral("メモがありません")))
                    lines.append(list->item(row)->text().section(u'　', 0, 0));
            }
            return lines;
        };
        for (int pupil = 1; pupil < Names.size(); ++pupil) {
            m_window->selectCell(pupil, 0);
            trigger("actAddNote");
        }
        trigger("actCheck");
        QCOMPARE(findings(), QStringList{QStringLiteral("1番 青木 空")});
        child<QCheckBox>("CheckNoNotes")->setChecked(false);
        QCOMPARE(findings(), QStringList{});
    }

    // The example the main window shows: who has it, said again when a pupil gets it.
    void theExampleLineFollowsTheClass()
    {
        const QString example = QStringLiteral("〇〇は、係の仕事を最後までやりとげました。");
        QVERIFY(m_composition.listener);
        m_composition.listener(example);
        auto *line = child<QLabel>("ExampleUsage");
        QCOMPARE(line->text(), QStringLiteral("この例文は、この学級ではまだだれも使っていません。"));
        m_composition.text = example;
        m_window->selectCell(1, 0);
        m_window->insertComposition();
        QCOMPARE(line->text(), QStringLiteral("この例文は 1 人が使っています：2番 井上さん"));
        m_window.reset();
        QVERIFY(!m_composition.listener); // a closed window hears nothing more
    }

    void excelAsksForTheNotesSheetOnlyWhenThereAreNotes()
    {
        const QString plain = m_dir.filePath(QStringLiteral("plain.xlsx"));
        m_dialogs->fileNames = {plain};
        trigger("actExportXlsx");
        QVERIFY(m_dialogs->said(QStringLiteral("choose")).isEmpty());
        trigger("actAddNote");
        typeText(child<QPlainTextEdit>("NoteText"), QStringLiteral("朝の会で司会"));
        const QString withNotes = m_dir.filePath(QStringLiteral("notes.xlsx"));
        m_dialogs->fileNames = {withNotes};
        m_dialogs->choices = {1};
        trigger("actExportXlsx");
        QCOMPARE(m_dialogs->calls.last().buttons.value(1), QStringLiteral("メモのシートも付ける"));
        QVERIFY(readAll(withNotes).contains("xl/worksheets/sheet2.xml"));
        QFile::remove(plain);
        QFile::remove(withNotes);
    }
};

QTEST_MAIN(TestClassNotes)
#include "tst_classnotes.moc"
