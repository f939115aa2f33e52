// The class window at the sizes a teacher meets: 50, 100 and 200 pupils, four fields of
// 250 characters each, beside a full example library (3 × 300 examples). Opening a class
// file and showing its table, a keystroke in the editor (count, bar and the table's mark), a
// save, a roster import, a keystroke in the example search and putting an example in, on a
// shown (offscreen) ClassWindow or on the class model alone. With 30 notes of 100 characters
// per pupil: opening, adding a note, a search, and the line saying who has an example.
//
// Each figure is the wall time of the action; repaint_us is what the event loop then
// spends before the window shows the result, and cpu_us the action's own CPU time.

#include "BenchSupport.h"

#include "ClassEditing.h"
#include "ClassFile.h"
#include "ClassStore.h"
#include "ClassSearch.h"
#include "ClassWindow.h"
#include "CompositionAccess.h"
#include "ExampleListModel.h"
#include "ExamplePane.h"
#include "KeyboardPath.h"
#include "Roster.h"
#include "RosterMatch.h"
#include "SafeSave.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

namespace {

const QString Sentence = QStringLiteral("〇〇は、毎朝元気にあいさつし、係の仕事にも責任をもって取り組みました。");

QString comment(int length, int variant)
{
    QString text = QString::number(variant) + QStringLiteral("。");
    while (text.size() < length)
        text += Sentence;
    return text.left(length);
}

// What a teacher notes in a term, about 100 characters each; a rare word in one in 40.
const QStringList NoteSentences = {
    QStringLiteral("算数の時間に、分数のたし算のやり方を友だちに説明していた。図を使ってていねいに話していた。"),
    QStringLiteral("朝の会で司会をした。声が大きく、みんなの顔を見ながら進めることができた。次は帰りの会も。"),
    QStringLiteral("図書室で星の図鑑を借りて、休み時間にも読んでいた。夜空を観察したいと話していた。"),
    QStringLiteral("掃除の時間、ほうきの使い方を一年生に教えていた。最後まで残って片付けを手伝った。"),
};

QString noteText(int pupil, int note)
{
    QString text = QStringLiteral("%1-%2 ").arg(pupil).arg(note);
    if ((pupil + note) % 40 == 0)
        text += QStringLiteral("ドッジボールで最後まで逃げ切った。");
    while (text.size() < 100)
        text += NoteSentences[(pupil + note + text.size()) % NoteSentences.size()];
    return text.left(100);
}

ClassBook makeClass(int pupils, int notesEach = 0)
{
    ClassBook book = newClassBook(QStringLiteral("ベンチ 組"));
    book.fields = {{QStringLiteral("総合所見"), 250}, {QStringLiteral("道徳"), 250},
                   {QStringLiteral("総合的な学習の時間"), 250}, {QStringLiteral("外国語活動"), 250}};
    for (int i = 1; i <= pupils; ++i) {
        Pupil pupil;
        pupil.number = i;
        pupil.name = QStringLiteral("山田 児童%1").arg(i);
        pupil.kana = QStringLiteral("やまだ じどう");
        pupil.sex = i % 2 ? QStringLiteral("男") : QStringLiteral("女");
        for (int f = 0; f < 4; ++f)
            pupil.texts.append(comment(250, i * 4 + f));
        for (int n = 0; n < notesEach; ++n)
            pupil.notes.append({QDate(2025, 9, 1).addDays(3 * (notesEach - n)), QStringLiteral("学習"), noteText(i, n)});
        book.pupils.append(pupil);
    }
    return book;
}

QString rosterText(int pupils)
{
    QString text = QStringLiteral("出席番号\t氏名\tふりがな\t性別\r\n");
    for (int i = 1; i <= pupils; ++i)
        text += QStringLiteral("%1\t山田 児童%1\tやまだ じどう\t%2\r\n").arg(i).arg(i % 2 ? QStringLiteral("男") : QStringLiteral("女"));
    return text;
}

// No composition, and a library of 300 examples in each category, in the starter library's classes.
class FullLibrary : public CompositionAccess {
public:
    FullLibrary()
    {
        for (int c = 0; c < 3; ++c)
            categories[c].load(categoryTitle(c), makeRecords(Shape::Starter, EDLimit, c));
    }
    QString compositionText() const override { return {}; }
    void setCompositionText(const QString &) override {}
    void setExampleListener(ExampleListener l) override { listener = std::move(l); }
    const Category *exampleCategory(int index) const override { return &categories[index]; }

    std::array<Category, 3> categories{Category(categoryRules()[0]), Category(categoryRules()[1]),
                                       Category(categoryRules()[2])};
    ExampleListener listener;
};

// Answers nothing is expected to ask; a message means the action went wrong.
class QuietDialogs : public ClassDialogs {
public:
    int messages = 0;
    bool ask(const QString &, const QString &, Icon, bool) override { return ++messages, true; }
    void inform(const QString &, const QString &, Icon) override { ++messages; }
    int choose(const QString &, const QString &, const QStringList &, int d, int) override { return ++messages, d; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<int> askNumber(const QString &, const QString &, int, int, int) override { return {}; }
    std::optional<PupilDetails> editPupil(const QString &, const PupilDetails &) override { return {}; }
    std::optional<CheckSettings> editCheckSettings(const CheckSettings &) override { return {}; }
    std::optional<RosterPlan> previewRoster(const RosterTable &table, const ClassBook &book) override
    {
        return planRosterTable(book, table);
    }
};

// A shown class window whose working folder remembers a class file of the given size.
struct Window {
    explicit Window(int pupils, int notesEach = 0)
    {
        path = dir.filePath(QStringLiteral("class.json"));
        (void)writeFileSafely(path, classFileBytes(makeClass(pupils, notesEach)));
        rememberLastClass(dir.path(), path);
        auto answers = std::make_unique<QuietDialogs>();
        dialogs = answers.get();
        window = std::make_unique<ClassWindow>(dir.path(), &composition, std::move(answers));
        window->store().setDelay(3600 * 1000); // the timed parts never see the timer's write
        window->show();
        settle();
    }
    QTemporaryDir dir;
    QString path;
    FullLibrary composition;
    QuietDialogs *dialogs = nullptr;
    std::unique_ptr<ClassWindow> window;
};

void measure(benchmark::State &state, const std::function<void(int)> &prepare, const std::function<void()> &act)
{
    measureAction(state, prepare, act);
}

// Reading the class file, building the model and filling the table.
void openAndShow(benchmark::State &state, int pupils)
{
    Window w(pupils);
    measure(state, [](int) {}, [&] { w.window->openLastClass(); });
    if (w.window->classBook().pupils.size() != pupils || w.dialogs->messages)
        state.SkipWithError("the class did not open");
}

// One typed character (or its deletion) in the editor of pupil 100's first field.
void keystroke(benchmark::State &state, int pupils)
{
    Window w(pupils);
    w.window->openLastClass();
    w.window->selectCell(pupils / 2, 0);
    auto *editor = w.window->findChild<QPlainTextEdit *>(QStringLiteral("ClassText"));
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    measure(state, [](int) {}, [&, typed = false]() mutable {
        QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_A, Qt::NoModifier,
                        typed ? QString() : QStringLiteral("あ"));
        QCoreApplication::sendEvent(editor, &press);
        typed = !typed;
    });
}

// Writing the whole class: JSON, the check against the file on disk, the safe write with fsync.
void save(benchmark::State &state, int pupils)
{
    QTemporaryDir dir;
    ClassStore store;
    (void)store.create(dir.filePath(QStringLiteral("class.json")), makeClass(pupils));
    bool ok = true;
    measure(
        state, [&](int iteration) {
            (void)store.apply([&](ClassBook &book) { return setText(book, 0, 0, comment(250, iteration)); });
        },
        [&] { ok = store.saveNow().ok && ok; });
    if (!ok)
        state.SkipWithError("saving failed");
}

// The roster's rows read, their roles found and the pupils merged into a class that
// already holds them all (every row an update, every text kept), then the table shown.
void importRoster(benchmark::State &state, int pupils)
{
    Window w(pupils);
    w.window->openLastClass();
    const QString text = rosterText(pupils);
    measure(state, [](int) {}, [&] {
        const RosterTable table = readRoster(text);
        const RosterPupils read = rosterPupils(table);
        (void)w.window->store().apply([&](ClassBook &book) { return mergeRoster(book, read.pupils); });
        w.window->classEdited();
    });
    if (w.window->classBook().pupils.size() != pupils)
        state.SkipWithError("the roster did not merge");
}

// Opening the class window on the class used last, with the example pane listing the whole
// library: the window made, shown and the class read and shown.
void openWindow(benchmark::State &state, int pupils)
{
    Window w(pupils);
    std::unique_ptr<ClassWindow> window;
    measure(
        state, [&](int) { window.reset(); },
        [&] {
            window = std::make_unique<ClassWindow>(w.dir.path(), &w.composition, std::make_unique<QuietDialogs>());
            window->show();
            window->openLastClass();
        });
    if (!window || window->classBook().pupils.size() != pupils
        || window->examplePane()->model()->rowCount() != 3 * EDLimit)
        state.SkipWithError("the window did not open with every example");
}

// One keystroke in the example search: a character typed or taken back, the list filtered
// and laid out again (the repaint is timed apart). From the whole library to the examples
// holding 意, to those holding 意欲, and back.
void searchKeystroke(benchmark::State &state)
{
    Window w(30);
    w.window->openLastClass();
    QLineEdit *search = w.window->examplePane()->searchBox();
    search->setFocus();
    const QStringList steps{QStringLiteral("意"), QStringLiteral("意欲"), QStringLiteral("意"), QString()};
    measure(state, [](int) {}, [&, step = 0]() mutable { search->setText(steps[step++ % steps.size()]); });
    search->setText(steps[1]);
    const int narrowed = w.window->examplePane()->model()->rowCount();
    search->clear();
    if (narrowed == 0 || w.window->examplePane()->model()->rowCount() != 3 * EDLimit)
        state.SkipWithError("the search did not narrow the library and come back");
}

// Putting an example into a pupil's field at the cursor, 〇〇 filled: the editor, the count,
// the table's cell and its marks.
void insertAnExample(benchmark::State &state, int pupils)
{
    Window w(pupils);
    w.window->openLastClass();
    const QString sentence = w.composition.categories[0].record(1).sentence();
    measure(
        state, [&](int iteration) { w.window->selectCell(iteration % pupils, iteration / pupils % 4); },
        [&] { insertExample(w.window.get(), sentence, false); });
    if (w.dialogs->messages)
        state.SkipWithError("the example was not put in");
}

// The same into an empty class: every pupil added.
void importIntoEmpty(benchmark::State &state, int pupils)
{
    const QString text = rosterText(pupils);
    for (auto _ : state) {
        ClassBook book = newClassBook(QStringLiteral("組"));
        const RosterPupils read = rosterPupils(readRoster(text));
        const RosterMerge merge = mergeRoster(book, read.pupils);
        benchmark::DoNotOptimize(merge.added);
    }
}

constexpr int NotesEach = 30;

// A class whose pupils have 30 notes each: the file read, the table and the first pupil's notes shown.
void openWithNotes(benchmark::State &state, int pupils)
{
    Window w(pupils, NotesEach);
    measure(state, [](int) {}, [&] { w.window->openLastClass(); });
    if (w.window->classBook().pupils.value(pupils - 1).notes.size() != NotesEach || w.dialogs->messages)
        state.SkipWithError("the class did not open with its notes");
}

// The same file read into the class model alone.
void readWithNotes(benchmark::State &state, int pupils)
{
    const QByteArray bytes = classFileBytes(makeClass(pupils, NotesEach));
    for (auto _ : state)
        benchmark::DoNotOptimize(readClassFile(bytes).ok);
}

// メモを追加 for a pupil in the middle of the class: the class, the count in the table, the pane
// with its 31 notes. The note is taken away again untimed.
void addNote(benchmark::State &state, int pupils)
{
    Window w(pupils, NotesEach);
    w.window->openLastClass();
    w.window->selectCell(pupils / 2, 0);
    QAction *add = w.window->findChild<QAction *>(QStringLiteral("actAddNote"));
    QAction *remove = w.window->findChild<QAction *>(QStringLiteral("actRemoveNote"));
    measure(state, [&](int iteration) { if (iteration > 0) remove->trigger(); }, [&] { add->trigger(); });
    if (w.window->classBook().pupils[pupils / 2].notes.size() != NotesEach + 1 || w.dialogs->messages)
        state.SkipWithError("the note was not added");
}

// A word typed into the search box: every name, field and note looked through, the hits listed.
// The words are rare (one note in 40), so nothing stops the search early.
void searchClassWindow(benchmark::State &state, int pupils)
{
    Window w(pupils, NotesEach);
    w.window->openLastClass();
    w.window->findChild<QAction *>(QStringLiteral("actSearchClass"))->trigger();
    auto *box = w.window->findChild<QLineEdit *>(QStringLiteral("ClassSearchBox"));
    measure(state, [](int) {}, [&, longer = false]() mutable {
        box->setText(longer ? QStringLiteral("ドッジボールで") : QStringLiteral("ドッジボール"));
        longer = !longer;
    });
    if (searchClass(w.window->classBook(), QStringLiteral("ドッジボール")).hits.isEmpty())
        state.SkipWithError("nothing to find");
}

// The status bar's line for an example with 〇〇: looked up once per pupil under the pupil's name.
void exampleLine(benchmark::State &state, int pupils)
{
    Window w(pupils, NotesEach);
    w.window->openLastClass();
    const QStringList examples = {Sentence, QStringLiteral("〇〇は、図工の時間に友だちと協力して大きな作品を仕上げました。")};
    measure(state, [](int) {}, [&, i = 0]() mutable { w.composition.listener(examples[i++ % 2]); });
}

} // namespace

int main(int argc, char **argv)
{
    prepareOffscreenWindows();
    QApplication app(argc, argv);
    for (int pupils : {50, 100, 200}) {
        const std::string size = "/" + std::to_string(pupils);
        benchmark::RegisterBenchmark(("class open + show" + size).c_str(), openAndShow, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("class keystroke" + size).c_str(), keystroke, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("class save" + size).c_str(), save, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("roster import + show" + size).c_str(), importRoster, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("roster import, model only, empty class" + size).c_str(), importIntoEmpty, pupils);
        benchmark::RegisterBenchmark(("class window open with the example pane" + size).c_str(), openWindow, pupils)
            ->UseManualTime();
        benchmark::RegisterBenchmark(("example put in" + size).c_str(), insertAnExample, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("notes: class open + show" + size).c_str(), openWithNotes, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("notes: class file read, model only" + size).c_str(), readWithNotes, pupils);
        benchmark::RegisterBenchmark(("notes: add a note" + size).c_str(), addNote, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("notes: search, hits listed" + size).c_str(), searchClassWindow, pupils)->UseManualTime();
        benchmark::RegisterBenchmark(("notes: example usage line" + size).c_str(), exampleLine, pupils)->UseManualTime();
    }
    benchmark::RegisterBenchmark("example search keystroke/900 examples", searchKeystroke)->UseManualTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
