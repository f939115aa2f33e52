#include "BenchSupport.h"

#include "Codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The starter library of a category, read once from data/.
const DataFileContent &starter(int category)
{
    static std::array<DataFileContent, 3> contents;
    static std::array<bool, 3> read{};
    if (!read[category]) {
        const QString path = QStringLiteral(KOTOBAN_STARTER_DATA "/Kotoban%1.txt").arg(category + 1);
        const LoadedFile loaded = readDataFile(path, false);
        if (loaded.state != LoadedFile::State::Loaded || loaded.content.records.isEmpty()) {
            std::fprintf(stderr, "cannot read the starter library %s\n", qPrintable(path));
            std::exit(1);
        }
        contents[category] = loaded.content;
        read[category] = true;
    }
    return contents[category];
}

// Openings that make repeated sentences differ, as a teacher's variants of one example would.
const QStringList &openings()
{
    static const QStringList list{
        QString(),
        QStringLiteral("今学期も、"),
        QStringLiteral("前期に続いて、"),
        QStringLiteral("一年間を通して、"),
        QStringLiteral("特に後半は、"),
        QStringLiteral("どの場面でも、"),
        QStringLiteral("学期の初めから、"),
    };
    return list;
}

QString sentence(int category, int index)
{
    const QVector<Example> &records = starter(category).records;
    const int base = index % int(records.size());
    const int round = index / int(records.size());
    return openings()[round % openings().size()] + records[base].sentence();
}

} // namespace

QString shapeName(Shape shape)
{
    switch (shape) {
    case Shape::Distinct: return QStringLiteral("distinct");
    case Shape::OneClass: return QStringLiteral("one-class");
    case Shape::Starter: break;
    }
    return QStringLiteral("starter");
}

QString categoryTitle(int category) { return starter(category).title; }

QVector<Example> makeRecords(Shape shape, int count, int category)
{
    const QVector<Example> &source = starter(category).records;
    QVector<Example> records;
    records.reserve(count);
    for (int k = 0; k < count; ++k) {
        Example example;
        switch (shape) {
        case Shape::Distinct:
            example.field = {QStringLiteral("分類%1").arg(k + 1, 3, 10, QLatin1Char('0')), QStringLiteral("全体"),
                             QStringLiteral("ほめたい"), sentence(category, k)};
            break;
        case Shape::OneClass:
            example.field = {source[0].firstClass(), source[0].secondClass(), source[0].thirdClass(),
                             sentence(category, k)};
            break;
        case Shape::Starter: {
            // Record k stands where the starter library's record k * m / count stands, so every
            // classification keeps its share and its place in library order.
            const int m = int(source.size());
            const int from = int(qint64(k) * m / count);
            const int firstCopy = int((qint64(from) * count + m - 1) / m); // first k taken from `from`
            const int repeat = k - firstCopy;
            example.field = source[from].field;
            example.field[3] = sentence(category, from + m * repeat); // the source's sentence, varied
            break;
        }
        }
        records.append(example);
    }
    return records;
}

QByteArray dataFileBytes(int category, const QVector<Example> &records)
{
    return encodeText(formatDataFile(categoryTitle(category), records), Encoding::Cp932).bytes;
}

QString compositionText(int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i) {
        if (!text.isEmpty())
            text += u'\n';
        text += sentence(i % 3, i / 3);
    }
    text.truncate(length);
    return text;
}

LibraryFolder::LibraryFolder(Shape shape, int count)
{
    if (!m_dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        std::exit(1);
    }
    for (int category = 0; category < 3; ++category) {
        QFile file(m_dir.filePath(QStringLiteral("Kotoban%1.txt").arg(category + 1)));
        if (!file.open(QIODevice::WriteOnly) || file.write(dataFileBytes(category, makeRecords(shape, count, category))) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }
}

void registerForEverySize(const char *name, SizedBenchmark run, bool manualTime)
{
    for (Shape shape : allShapes)
        for (int count : {30, 100, EDLimit}) {
            const std::string id = std::string(name) + '/' + shapeName(shape).toStdString() + '/' + std::to_string(count);
            benchmark::internal::Benchmark *benchmark = benchmark::RegisterBenchmark(id.c_str(), run, shape, count);
            if (manualTime)
                benchmark->UseManualTime();
            else
                benchmark->UseRealTime();
        }
}

int runRegisteredBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

namespace {
QtMessageHandler defaultHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    defaultHandler(type, context, message);
}
} // namespace

void prepareOffscreenWindows()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietMessages);
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void measureAction(benchmark::State &state, const std::function<void(int)> &prepare,
                   const std::function<void()> &act)
{
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    const auto threadSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    };
    double repaint = 0;
    double cpu = 0;
    int iteration = 0;
    for (auto _ : state) {
        prepare(iteration++);
        settle();
        const double cpuStart = threadSeconds();
        const Clock::time_point start = Clock::now();
        act();
        const Clock::time_point acted = Clock::now();
        cpu += threadSeconds() - cpuStart;
        settle();
        repaint += seconds(Clock::now() - acted);
        state.SetIterationTime(seconds(acted - start));
    }
    state.counters["cpu_us"] = benchmark::Counter(cpu * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["repaint_us"] = benchmark::Counter(repaint * 1e6, benchmark::Counter::kAvgIterations);
}
