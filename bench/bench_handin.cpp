// A hand-in at the sizes a teacher meets and beyond: the review sheet (the whole PDF, made in
// memory) at 35, 100 and 200 pupils with four fields of 250 characters and 点検's findings in
// its margin, and the diff of two such classes, as 変更点 and the second sheet make it: three
// comments corrected, every comment corrected in three places, every comment rewritten.

#include "ClassChecks.h"
#include "ClassDiff.h"
#include "ClassSample.h"
#include "ReviewSheet.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

// A checker's corrections: a word taken out, one put in and one replaced.
QString corrected(QString text)
{
    text.remove(30, 4);
    text.insert(100, QStringLiteral("とても"));
    text.replace(180, 3, QStringLiteral("一生懸命"));
    return text;
}

// range(1): 1 with 点検's findings in the margin (the sentences repeat between pupils, so
// nearly every one is listed), 0 without.
void ReviewSheet(benchmark::State &state)
{
    ReviewSheetInput input;
    input.book = makeClass(int(state.range(0)));
    if (state.range(1) != 0)
        input.findings = checkClass(input.book, WordingMatcher({}));
    input.at = QDateTime(QDate(2024, 12, 7), QTime(15, 30));
    int pages = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const ReviewSheetPdf pdf = reviewSheetPdf(input);
        pages = pdf.pages;
        bytes = pdf.bytes.size();
    }
    state.counters["pages"] = pages;
    state.counters["findings"] = double(input.findings.size());
    state.counters["kB"] = double(bytes) / 1024;
}

// range(1): 0 three comments corrected, 1 every comment corrected, 2 every comment rewritten.
void DiffClasses(benchmark::State &state)
{
    const ClassBook before = makeClass(int(state.range(0)));
    ClassBook after = state.range(1) == 2 ? makeClass(int(state.range(0)), 7) : before;
    const QList<int> three{7, 67, 127};
    for (int p = 0; state.range(1) != 2 && p < after.pupils.size(); ++p) {
        for (int f = 0; f < after.fields.size(); ++f) {
            if (state.range(1) == 1 || (f == 0 && three.contains(p)))
                after.pupils[p].texts[f] = corrected(after.pupils[p].texts[f]);
        }
    }
    qsizetype changes = 0;
    for (auto _ : state) {
        const ClassDiff diff = diffClasses(before, after);
        changes = diff.changes.size();
        benchmark::DoNotOptimize(diff.changes.constData());
    }
    state.counters["changed_fields"] = double(changes);
}

} // namespace

BENCHMARK(ReviewSheet)
    ->ArgNames({"pupils", "findings"})
    ->Args({35, 1})
    ->Args({100, 1})
    ->Args({200, 0})
    ->Args({200, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(DiffClasses)
    ->ArgNames({"pupils", "corrections"})
    ->Args({200, 0})
    ->Args({200, 1})
    ->Args({200, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the sheet
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
