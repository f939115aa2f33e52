// libFuzzer target over the data file reader: arbitrary bytes, as a teacher's hand-edited
// or damaged file might hold, are decoded and parsed in both modes (categories 1 and 2
// keep empty places unset, category 3 reads them as empty text). Whatever was read
// without a double quote in any field must be written back so that it reads the same.
// And whatever was read comes back byte for byte when nothing changed; after one field
// is changed or one record deleted, it reads back as changed and otherwise the same.

#include "DataFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool hasQuote(const DataFileContent &content)
{
    if (content.title.contains(u'"'))
        return true;
    for (const Example &example : content.records)
        for (const QString &field : example.field)
            if (field.contains(u'"'))
                return true;
    return false;
}

// Equal texts, and an unset field only where the other is unset too.
bool sameRecords(const QVector<Example> &a, const QVector<Example> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype r = 0; r < a.size(); ++r)
        for (int f = 0; f < 4; ++f)
            if (a[r].field[f] != b[r].field[f] || a[r].field[f].isNull() != b[r].field[f].isNull())
                return false;
    return true;
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_reader: %s\n", what);
    std::abort();
}

// Writing what was read, unchanged, and after a change to the middle record.
void checkPreservation(const QByteArray &bytes, bool emptyMeansUnset)
{
    const LoadedFile loaded = loadDataFile(bytes, emptyMeansUnset);
    const DataFileContent &content = loaded.content;
    if (content.title.isNull())
        return; // no field at all: a save writes a title line
    if (encodeDataFile(content.title, content.storedTitle, content.records, loaded.encoding) != bytes)
        fail("unchanged file not written back byte for byte");
    const bool utf16 = loaded.encoding == Encoding::Utf16Le || loaded.encoding == Encoding::Utf16Be;
    if (content.records.isEmpty() || (utf16 && bytes.size() % 2))
        return; // an odd last byte of UTF-16 is dropped when anything follows it


    const qsizetype middle = content.records.size() / 2;
    QVector<Example> changed = content.records;
    changed[middle].field[middle % 4] = QStringLiteral("直した文。");
    const LoadedFile again = loadDataFile(encodeDataFile(content.title, content.storedTitle, changed, loaded.encoding),
                                          emptyMeansUnset);
    if (again.encoding == loaded.encoding
        && (again.content.title != content.title || !sameRecords(again.content.records, changed)))
        fail("a changed field changed other fields");

    QVector<Example> fewer = content.records;
    fewer.removeAt(middle);
    const LoadedFile after = loadDataFile(encodeDataFile(content.title, content.storedTitle, fewer, loaded.encoding),
                                          emptyMeansUnset);
    // Deleting the only record that was not UTF-8 lets the file read as UTF-8 next time.
    if (after.encoding == loaded.encoding && !sameRecords(after.content.records, fewer))
        fail("deleting a record changed other records");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText decoded = decodeDataFile(bytes);

    for (const bool emptyMeansUnset : {true, false}) {
        checkPreservation(bytes, emptyMeansUnset);
        const DataFileContent content = parseDataFile(decoded.text, emptyMeansUnset);
        if (content.records.size() > decoded.text.size())
            fail("more records than characters");
        if (content.title.isNull() != decoded.text.isEmpty())
            fail("title missing from a non-empty text");
        if (hasQuote(content))
            continue; // the format cannot carry a double quote inside a text
        const DataFileContent again = parseDataFile(formatDataFile(content.title, content.records), emptyMeansUnset);
        if (again.title != content.title)
            fail("title changed by writing and reading again");
        if (!sameRecords(again.records, content.records))
            fail("records changed by writing and reading again");
    }
    return 0;
}
