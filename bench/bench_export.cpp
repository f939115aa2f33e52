// 点検 and the exports at the sizes a teacher meets and beyond: 50 to 400 pupils with four
// fields of 250 characters, 25 to 400 wording rules. The whole-class check (with the kinds the
// school's writing rules add, or without), the marks of one field as the teacher types, and the
// .xlsx, CSV and column exports, each with how it grows.
//
// Exports write real files (into a temporary folder, moved into place and synced, as the
// window does); their figures are wall time.

#include "ClassChecks.h"
#include "ClassSample.h"
#include "ColumnCopy.h"
#include "CsvExport.h"
#include "StarterRules.h"
#include "XlsxExport.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

// count rules: the common ones (with the school's rules, the whole starter file first: kana
// words with what stands around them, negative expressions), then made-up two-character words
// (most of which never occur, as with a real list), every fourth without a replacement.
QList<WordingRule> makeRules(int count, bool starter)
{
    const QStringList common{QStringLiteral("友達"), QStringLiteral("子供"), QStringLiteral("出来"), QStringLiteral("沢山")};
    const QString kanji = QStringLiteral("学習活動発表意欲積極取組姿勢理解表現工夫協力責任態度興味関心");
    QList<WordingRule> rules = starter ? parseWordingRules(starterWordingRules()).rules : QList<WordingRule>();
    for (qsizetype i = 0; rules.size() < count && i < common.size() + kanji.size() * kanji.size(); ++i) {
        const qsizetype k = i - common.size(); // every pair of the characters, 900 in all
        const QString avoid = i < common.size() ? common[i] : QString(kanji[(k / kanji.size()) % kanji.size()]) + kanji[k % kanji.size()];
        if (std::any_of(rules.cbegin(), rules.cend(), [&](const WordingRule &r) { return r.avoid == avoid; }))
            continue;
        rules.append({avoid, i % 4 == 3 ? QString() : QStringLiteral("〈%1〉").arg(i), int(rules.size()) + 1});
    }
    return rules;
}

void setCounters(benchmark::State &state, int pupils)
{
    state.counters["pupils"] = pupils;
    state.counters["characters"] = pupils * 4 * FieldLength;
}

void CheckClass(benchmark::State &state)
{
    ClassBook book = makeClass(int(state.range(0)));
    // Every kind on (a grade too), or only the kinds 点検 had before the school's rules.
    const bool school = state.range(3) != 0;
    for (const CheckKind kind : {CheckKind::Style, CheckKind::RepeatedEnding, CheckKind::SentenceLength,
                                 CheckKind::Kanji, CheckKind::Variants, CheckKind::Names})
        book.checks.setOn(kind, school);
    book.checks.grade = school ? 4 : NoGrade;
    const WordingMatcher matcher(makeRules(int(state.range(1)), school));
    CheckOptions options;
    options.cp932 = state.range(2) != 0;
    qsizetype findings = 0;
    for (auto _ : state) {
        const QList<Finding> found = checkClass(book, matcher, options);
        findings = found.size();
        benchmark::DoNotOptimize(found.constData());
    }
    setCounters(state, int(state.range(0)));
    state.counters["findings"] = double(findings);
}

// A keystroke in one field: its sentences re-read into the class's index, the cells whose
// duplicate mark changed, and the field's own marks. Alternates between two texts that differ
// in one character in the middle of a sentence another pupil has too.
void FieldMarks(benchmark::State &state)
{
    ClassBook book = makeClass(int(state.range(0)));
    const CellRef cell{int(book.pupils.size() / 2), 1};
    const QString before = book.pupils[cell.pupil].texts[cell.field];
    QString after = before;
    after.insert(40, u'と');
    DuplicateSentences index(book);
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        const QString &text = typed ? after : before;
        const QList<CellRef> changed = index.update(cell, text);
        const CellMarks marks = cellMarks(text, book.fields[cell.field].limit, index.isMarked(cell));
        benchmark::DoNotOptimize(changed.constData());
        benchmark::DoNotOptimize(marks);
    }
    setCounters(state, int(state.range(0)));
}

// The ≒ marks of a class just opened or restructured: every field's sentences into the index.
void DuplicateIndex(benchmark::State &state)
{
    const ClassBook book = makeClass(int(state.range(0)));
    for (auto _ : state) {
        const DuplicateSentences index(book);
        benchmark::DoNotOptimize(&index);
    }
    setCounters(state, int(state.range(0)));
}

void ExportXlsx(benchmark::State &state)
{
    const ClassBook book = makeClass(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("所見.xlsx"));
    for (auto _ : state) {
        const ExportResult result = exportXlsx(path, book, true);
        if (!result.ok())
            state.SkipWithError(qPrintable(result.error));
    }
    setCounters(state, int(state.range(0)));
    state.counters["bytes"] = double(QFile(path).size());
}

void ExportCsv(benchmark::State &state)
{
    const ClassBook book = makeClass(int(state.range(0)));
    const auto encoding = state.range(1) ? CsvEncoding::Cp932 : CsvEncoding::Utf8Bom;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("所見.csv"));
    for (auto _ : state) {
        const ExportResult result = exportCsv(path, book, encoding, true);
        if (!result.ok())
            state.SkipWithError("CSV export failed");
    }
    setCounters(state, int(state.range(0)));
}

// The CSV bytes alone (encoding and, for code page 932, the refusal check), without the disk.
void CsvBytesOnly(benchmark::State &state)
{
    const ClassBook book = makeClass(int(state.range(0)));
    const auto encoding = state.range(1) ? CsvEncoding::Cp932 : CsvEncoding::Utf8Bom;
    for (auto _ : state) {
        const CsvBytes csv = csvBytes(book, encoding);
        benchmark::DoNotOptimize(csv.bytes.constData());
    }
    setCounters(state, int(state.range(0)));
}

void ColumnCopy(benchmark::State &state)
{
    const ClassBook book = makeClass(int(state.range(0)));
    for (auto _ : state) {
        const QString text = columnCopyText(book, 0);
        benchmark::DoNotOptimize(text.constData());
    }
    setCounters(state, int(state.range(0)));
}

} // namespace

// Pupils grow at 100 rules; rules grow at 200 pupils; then the same with code page 932; then
// every kind the school's rules add, with the starter rules among 400, as pupils grow.
BENCHMARK(CheckClass)
    ->ArgNames({"pupils", "rules", "cp932", "school"})
    ->Args({50, 100, 0, 0})->Args({100, 100, 0, 0})->Args({200, 100, 0, 0})->Args({400, 100, 0, 0})
    ->Args({200, 25, 0, 0})->Args({200, 400, 0, 0})
    ->Args({200, 100, 1, 0})
    ->Args({50, 400, 0, 1})->Args({200, 400, 0, 1})->Args({400, 400, 0, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FieldMarks)->ArgName("pupils")->Arg(50)->Arg(200)->Arg(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(DuplicateIndex)->ArgName("pupils")->Arg(50)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportXlsx)->ArgName("pupils")->Arg(50)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExportCsv)
    ->ArgNames({"pupils", "cp932"})
    ->Args({50, 0})->Args({200, 0})->Args({400, 0})->Args({200, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CsvBytesOnly)->ArgNames({"pupils", "cp932"})->Args({200, 0})->Args({200, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(ColumnCopy)->ArgName("pupils")->Arg(200)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
