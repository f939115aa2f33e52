// libFuzzer target over the data file reader: arbitrary bytes, as a teacher's hand-edited
// or damaged file might hold, are decoded and parsed in both modes (categories 1 and 2
// keep empty places unset, category 3 reads them as empty text). Whatever was read
// without a double quote in any field must be written back so that it reads the same.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText decoded = decodeDataFile(bytes);

    for (const bool emptyMeansUnset : {true, false}) {
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
