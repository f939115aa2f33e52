// libFuzzer target over the roster reader and its matching: arbitrary bytes, as a
// damaged CSV or an odd spreadsheet copy might hold, are read and merged into a class of
// four pupils. No pupil comes in with bytes that could not be read or with rows run
// together; every text of the class is still there afterwards, under a pupil of its own
// name unless the teacher said otherwise; and the same roster imported again adds nobody.

#include "ClassEditing.h"
#include "Roster.h"
#include "RosterMatch.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_roster: %s\n", what);
    std::abort();
}

ClassBook sampleClass()
{
    ClassBook book = newClassBook(QStringLiteral("組"));
    const QStringList names = {QStringLiteral("青木 空"), QStringLiteral("井上　海"), QStringLiteral("佐藤 翔"),
                               QStringLiteral("佐藤 翔")};
    for (int i = 0; i < names.size(); ++i) {
        (void)addPupil(book, {i + 1, names[i], QString(), QString()});
        book.pupils[i].texts[0] = QStringLiteral("文%1").arg(i + 1);
    }
    return book;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const RosterTable table = readRosterBytes(bytes);
    if (table.lines.size() != table.rows.size())
        fail("a row without its line");
    const RosterPupils read = rosterPupils(table);
    if (read.pupils.size() > table.rows.size() || read.lines.size() != read.pupils.size())
        fail("more pupils than rows");
    for (const Pupil &pupil : read.pupils) {
        const QString all = pupil.name + pupil.kana + pupil.sex;
        if (pupil.name.isEmpty() || all.contains(QChar(0xFFFD)) || all.contains(u'\n'))
            fail("a pupil from an unreadable or run-together row");
    }

    ClassBook book = sampleClass();
    const RosterPlan plan = planRoster(book, read.pupils, read.lines);
    if (!choiceProblem(plan).isEmpty())
        fail("the proposals give one pupil to two rows");
    const RosterMerge merge = applyRosterPlan(book, plan);
    if (!merge.ok)
        fail("the plan was refused");
    const ClassBook before = sampleClass();
    for (int p = 0; p < before.pupils.size(); ++p) {
        const auto holder = std::find_if(book.pupils.cbegin(), book.pupils.cend(),
                                         [&](const Pupil &pupil) { return pupil.texts == before.pupils[p].texts; });
        if (holder == book.pupils.cend())
            fail("a text was lost");
        // The proposals never rename: only the teacher's answer does.
        if (looseName(holder->name) != looseName(before.pupils[p].name))
            fail("a text went to a pupil of another name");
    }
    if (book.pupils.size() != before.pupils.size() + merge.added)
        fail("a pupil was dropped");

    const RosterMerge again = mergeRoster(book, read.pupils);
    if (again.added != 0 || !again.renamed.isEmpty())
        fail("the same roster again added or renamed pupils");
    return 0;
}
