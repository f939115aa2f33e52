// Every user action of the main window, timed in process on a shown (offscreen) Form1
// whose working folder holds a generated library.
//
// Each figure is the wall time of the handler alone: what runs between the click and
// the return to the event loop. The counter repaint_us is what the event loop then
// spends before the window shows the result (layout and painting); both are reported.
// Whatever an action needs beforehand (a shown example, a table restored after a delete,
// a composition put back) is done between the timed parts.

#include "BenchSupport.h"

#include "CategoryPage.h"
#include "Dialogs.h"
#include "Form1.h"
#include "LibraryFiles.h"
#include "SimpleCombo.h"
#include "TextBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

namespace {

// The teacher who answers every question with Yes; a message means the action was refused.
class YesDialogs : public Dialogs {
public:
    int messages = 0;
    bool ask(const QString &, const QString &, Icon, bool) override { return true; }
    void inform(const QString &, const QString &, Icon) override { ++messages; }
};

// A shown main window on a library of count examples per category, all three in one shape.
class Window {
public:
    Window(Shape shape, int count) : folder(shape, count)
    {
        auto answers = std::make_unique<YesDialogs>();
        dialogs = answers.get();
        form = std::make_unique<Form1>(folder.path(), std::move(answers));
        form->show();
        settle();
    }

    CategoryPage &page() { return form->page(0); }
    Category &category() { return form->page(0).category(); }
    template <class T> T *control(const QString &name) { return form->findChild<T *>(name); }
    SimpleCombo *combo(int level) { return control<SimpleCombo>(categoryLooks()[0].comboNames[level]); }
    QListWidget *exampleList() { return control<QListWidget>(categoryLooks()[0].listName); }
    TextBox &composition() { return *form->findChild<TextBox *>(QStringLiteral("Text1")); }

    LibraryFolder folder;
    YesDialogs *dialogs = nullptr;
    std::unique_ptr<Form1> form;
};

// Runs prepare (untimed), act (timed), then the event loop (timed apart, as repaint_us).
void measure(benchmark::State &state, Window &window, const std::function<void(int)> &prepare,
             const std::function<void()> &act)
{
    measureAction(state, prepare, act);
    if (window.dialogs->messages > 0)
        state.SkipWithError("the window refused the action with a message");
}

const auto nothing = [](int) {};

void loadLibrary(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    measure(state, window, nothing, [&] { window.form->LoadLibrary(); });
}

// "上書き保存" with one example changed before every save in each of the first `changed`
// categories: all three files written (the worst case), or only one (the usual case after
// editing one category; a file whose bytes are unchanged is not written again).
void save(benchmark::State &state, Shape shape, int count, int changed)
{
    Window window(shape, count);
    std::array<QString, 3> sentences;
    for (int i = 0; i < 3; ++i)
        sentences[i] = window.form->page(i).category().record(1).sentence();
    bool ok = window.form->mnuFileSave_Click(); // the first save also keeps the .bak backups
    measure(
        state, window,
        [&](int iteration) {
            for (int i = 0; i < changed; ++i)
                ok = window.form->page(i).category().correct(1, sentences[i] + (iteration % 2 ? QStringLiteral("。") : QString())).ok() && ok;
        },
        [&] { ok = window.form->mnuFileSave_Click() && ok; });
    if (!ok)
        state.SkipWithError("saving failed");
}

void refillClassLists(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    measure(state, window, nothing, [&] { window.form->RefillClassLists(); });
}

// A refresh of one level, on a page that shows record 1: the lists narrowed to its
// classification, so the refresh first empties lists that are full.
void refresh(benchmark::State &state, Shape shape, int count, int level)
{
    Window window(shape, count);
    CategoryPage &page = window.page();
    const Example classes = page.category().record(1);
    measure(
        state, window,
        [&](int) {
            page.narrowTo(1);
            window.combo(level)->setTextQuietly(classes.field[level]);
        },
        [&] {
            switch (level) {
            case 0: page.refreshFirstLevel(); break;
            case 1: page.refreshSecondLevel(); break;
            default: page.refreshThirdLevel(); break;
            }
        });
}

// A click on a line of the example list: the first two lines in turn, as a teacher
// reading one example after the other.
void listClick(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    CategoryPage &page = window.page();
    page.narrowTo(1);
    int row = 0;
    measure(
        state, window, [&](int iteration) { row = window.exampleList()->count() > 1 ? iteration % 2 : 0; },
        [&] {
            if (window.exampleList()->currentRow() != row)
                window.exampleList()->setCurrentRow(row); // runs showSelectedExample
            else
                page.showSelectedExample(); // a click on the selected line
        });
}

void browse(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    measure(state, window, nothing, [&] { window.form->CmdNext_Click(); });
}

// "例文追加" into a category holding count - 1 examples; the example added is the
// shape's last one, put into the lists' edit fields and the example box beforehand.
void add(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    Category &category = window.category();
    const Example added = category.record(count);
    (void)category.remove(count);
    window.form->RefillClassLists();
    measure(
        state, window,
        [&](int) {
            if (category.count() == count)
                (void)category.remove(count);
            for (int level = 0; level < 3; ++level)
                window.combo(level)->setTextQuietly(added.field[level]);
            window.page().showSentence(added.sentence());
        },
        [&] { window.form->CmdAdd1_Click(); });
    if (category.count() != count)
        state.SkipWithError("the example was not added");
}

// "例文削除" of record 1, shown and selected; the table is put back after every delete.
void remove(benchmark::State &state, Shape shape, int count)
{
    Window window(shape, count);
    CategoryPage &page = window.page();
    measure(
        state, window,
        [&](int) {
            (void)loadCategory(page.category(), QDir(window.folder.path())); // the table as it was
            page.narrowTo(1);
        },
        [&] { window.form->CmdDelete_Click(); });
    if (page.category().count() != count - 1 || page.shownRecord() != 1)
        state.SkipWithError("the example was not deleted");
}

// "決　定" onto a composition of length characters, put back after every append.
void kettei(benchmark::State &state, int length)
{
    Window window(Shape::Starter, EDLimit);
    window.page().narrowTo(1);
    const QString text = compositionText(length);
    measure(
        state, window, [&](int) { window.composition().setText(text); },
        [&] { window.form->CmdKettei1_Click(); });
    if (window.composition().text().size() <= length)
        state.SkipWithError("nothing was appended");
}

void registerAll()
{
    const std::pair<const char *, SizedBenchmark> actions[] = {
        {"LoadLibrary", loadLibrary},
        {"mnuFileSave_Click", [](benchmark::State &s, Shape sh, int n) { save(s, sh, n, 3); }},
        {"mnuFileSave_Click_one", [](benchmark::State &s, Shape sh, int n) { save(s, sh, n, 1); }},
        {"RefillClassLists", refillClassLists},
        {"refreshFirstLevel", [](benchmark::State &s, Shape sh, int n) { refresh(s, sh, n, 0); }},
        {"refreshSecondLevel", [](benchmark::State &s, Shape sh, int n) { refresh(s, sh, n, 1); }},
        {"refreshThirdLevel", [](benchmark::State &s, Shape sh, int n) { refresh(s, sh, n, 2); }},
        {"ListClick", listClick},
        {"CmdNext_Click", browse},
        {"CmdAdd1_Click", add},
        {"CmdDelete_Click", remove},
    };
    for (const auto &[name, action] : actions)
        registerForEverySize(name, action, true);
    for (int length : {500, 2000, 8000}) {
        const std::string id = "CmdKettei1_Click/composition/" + std::to_string(length);
        benchmark::RegisterBenchmark(id.c_str(), kettei, length)->UseManualTime();
    }
}

} // namespace

int main(int argc, char **argv)
{
    prepareOffscreenWindows();
    QApplication app(argc, argv);
    registerAll();
    return runRegisteredBenchmarks(argc, argv);
}
