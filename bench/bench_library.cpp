// The data files on their own: the reader from bytes to a filled table, and the three
// steps of loading and saving (read, encode, write) that LoadLibrary and
// mnuFileSave_Click put together with the lists.

#include "BenchSupport.h"

#include "Category.h"

#include "Codec.h"
#include "DataFile.h"
#include "Journal.h"
#include "Library.h"
#include "SafeSave.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <string>

namespace {

const bool fieldsCanBeUnset[3] = {true, true, false};

QString fileName(int category) { return QStringLiteral("Kotoban%1.txt").arg(category + 1); }

// Decoding, parsing and filling a table from bytes already in memory; the records
// beyond the capacity are kept aside, as when a file holds more than 300.
void reader(benchmark::State &state, int count)
{
    const QByteArray bytes = dataFileBytes(0, makeRecords(Shape::Starter, count, 0));
    Category table(categoryRules()[0]);
    for (auto _ : state) {
        const DecodedText decoded = decodeDataFile(bytes);
        const DataFileContent content = parseDataFile(decoded.text, true);
        table.load(content.title, content.records);
        benchmark::DoNotOptimize(table.count());
    }
    if (table.count() + table.overflow().size() != count)
        state.SkipWithError("the reader lost records");
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The same as the program reads: every field also keeps the bytes it was read from.
void readerKeepingBytes(benchmark::State &state, int count)
{
    const QByteArray bytes = dataFileBytes(0, makeRecords(Shape::Starter, count, 0));
    Category table(categoryRules()[0]);
    for (auto _ : state) {
        const LoadedFile loaded = loadDataFile(bytes, true);
        table.load(loaded.content.title, loaded.content.records);
        benchmark::DoNotOptimize(table.count());
    }
    if (table.count() + table.overflow().size() != count || !table.record(1).stored)
        state.SkipWithError("the reader lost records or their bytes");
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// readDataFile for the three files of the working folder, each filled into its table.
void readFiles(benchmark::State &state, Shape shape, int count)
{
    LibraryFolder folder(shape, count);
    std::array<Category, 3> tables{Category(categoryRules()[0]), Category(categoryRules()[1]),
                                   Category(categoryRules()[2])};
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            const LoadedFile loaded = readDataFile(folder.filePath(fileName(i)), fieldsCanBeUnset[i]);
            tables[i].load(loaded.content.title, loaded.content.records);
        }
    }
    for (const Category &table : tables)
        if (table.count() != count)
            state.SkipWithError("a file did not read back whole");
}

// The bytes of the three files, from their tables.
void encodeFiles(benchmark::State &state, Shape shape, int count)
{
    std::array<QList<Example>, 3> tables;
    for (int i = 0; i < 3; ++i)
        tables[i] = makeRecords(shape, count, i);
    for (auto _ : state)
        for (int i = 0; i < 3; ++i)
            benchmark::DoNotOptimize(encodeLibraryFile(categoryTitle(i), tables[i], Encoding::Cp932));
}

// Replacing the three files safely (a new file written, flushed to disk, renamed over the old).
void writeFiles(benchmark::State &state, Shape shape, int count)
{
    // Beside the build, as the journal below (a memory file system would sync for nothing), in
    // a folder of its own: never the data files of whatever folder the benchmark is run in.
    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("write-XXXXXX")));
    std::array<QByteArray, 3> bytes;
    for (int i = 0; i < 3; ++i)
        bytes[i] = dataFileBytes(i, makeRecords(shape, count, i));
    bool ok = folder.isValid();
    for (int i = 0; i < 3; ++i) // the files a save replaces
        ok = writeFileSafely(folder.filePath(fileName(i)), bytes[i]).ok && ok;
    for (auto _ : state)
        for (int i = 0; i < 3; ++i)
            ok = writeFileSafely(folder.filePath(fileName(i)), bytes[i]).ok && ok;
    if (!ok)
        state.SkipWithError("a write failed");
}

// What an add costs on top of the add itself: one journal entry written and synced,
// in a folder on the same disk as the build (not a memory file system).
void journalAppend(benchmark::State &state)
{
    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("journal-XXXXXX")));
    Journal journal(folder.path());
    JournalEntry entry;
    entry.record = 301;
    entry.fields = {QStringLiteral("５教科"), QStringLiteral("全体"), QStringLiteral("ほめたい"),
                    QStringLiteral("授業中の発言が増え、友達の考えにも耳を傾けるようになりました。")};
    bool ok = true;
    for (auto _ : state)
        ok = journal.append(entry).ok && ok;
    if (!ok || !journal.remove().ok)
        state.SkipWithError("a journal append failed");
}

void registerAll()
{
    benchmark::RegisterBenchmark("JournalAppend/one-add/1", journalAppend)->UseRealTime();
    for (int count : {300, 3000, 30000})
        benchmark::RegisterBenchmark(("Reader/starter/" + std::to_string(count)).c_str(), reader, count)
            ->UseRealTime();
    for (int count : {300, 3000, 30000})
        benchmark::RegisterBenchmark(("ReaderKeepingBytes/starter/" + std::to_string(count)).c_str(),
                                     readerKeepingBytes, count)
            ->UseRealTime();
    const std::pair<const char *, SizedBenchmark> steps[] = {
        {"ReadThreeFiles", readFiles},
        {"EncodeThreeFiles", encodeFiles},
        {"WriteThreeFiles", writeFiles},
    };
    for (const auto &[name, step] : steps)
        registerForEverySize(name, step, false);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerAll();
    return runRegisteredBenchmarks(argc, argv);
}
