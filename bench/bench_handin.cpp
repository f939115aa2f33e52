// A hand-in at the sizes a teacher meets and beyond: the review sheet (the whole PDF, made in
// memory) at 35, 100 and 200 pupils with four fields of 250 characters and 点検's findings in
// its margin, and the diff of two such classes, as 変更点 and the second sheet make it: three
// comments corrected, every comment corrected in three places, every comment rewritten.

#include "ClassChecks.h"
#include "ClassDiff.h"
#include "ReviewSheet.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QRandomGenerator>

namespace {

constexpr int FieldLength = 250;

const char *const Sentences[] = {
    "朝の会では進んで司会を務め、学級の一日を気持ちよく始めてくれました。",
    "算数の文章題では図に表して考え、自分の言葉で順序よく説明しました。",
    "図書係として本の並べ方を工夫し、学級の読書量を増やしました。",
    "運動会の練習では下級生に声をかけ、最後まで励まし続けました。",
    "理科の観察では気づいたことを細かく記録し、友達と比べて考えました。",
    "音楽の合奏では周りの音をよく聴き、全体の響きを大切にしていました。",
    "掃除の時間には、人の見ていない所まで丁寧に取り組みました。",
    "〇〇さんの明るい返事は、学級の雰囲気を和やかにしています。",
    "国語の話し合いでは、友達の考えのよさを認めて自分の意見を深めました。",
    "社会科の調べ学習では、資料を比べて分かったことを新聞にまとめました。",
    "休み時間には一人でいる友達を誘い、一緒に遊ぶ姿が見られました。",
    "漢字の学習にこつこつと取り組み、丁寧な字を書けるようになりました。",
};
constexpr int SentenceCount = int(sizeof Sentences / sizeof *Sentences);

QString commentFor(QRandomGenerator &random)
{
    QString text;
    while (text.size() < FieldLength) {
        text += QString::fromUtf8(Sentences[random.bounded(SentenceCount)]);
        if (random.bounded(5) == 0)
            text += u'\n';
    }
    return text.left(FieldLength);
}

ClassBook makeClass(int pupils, quint32 seed = 2026)
{
    QRandomGenerator random(seed);
    ClassBook book;
    book.name = QStringLiteral("6年1組 2学期");
    book.fields = {{QStringLiteral("総合所見"), 250}, {QStringLiteral("道徳"), 250},
                   {QStringLiteral("総合的な学習の時間"), 250}, {QStringLiteral("外国語活動"), 250}};
    for (int i = 1; i <= pupils; ++i) {
        Pupil pupil;
        pupil.number = i;
        pupil.name = QStringLiteral("山田 児童%1").arg(i);
        pupil.kana = QStringLiteral("やまだ じどう");
        for (int f = 0; f < 4; ++f)
            pupil.texts.append(commentFor(random));
        book.pupils.append(pupil);
    }
    return book;
}

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
