#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Journal.h"
#include "TestFiles.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Op = JournalEntry::Operation;

std::array<QString, 4> fields(const char *a, const char *b, const char *c, const char *d)
{
    auto field = [](const char *text) { return text ? QString::fromUtf8(text) + QStringLiteral("") : QString(); };
    return {field(a), field(b), field(c), field(d)};
}

JournalEntry entry(int category, Op operation, int record, const std::array<QString, 4> &after,
                   const std::array<QString, 4> &before = {})
{
    JournalEntry e;
    e.category = category;
    e.operation = operation;
    e.record = record;
    e.fields = after;
    e.previous = before;
    return e;
}

QVector<Example> examples(const QList<std::array<QString, 4>> &list)
{
    QVector<Example> records;
    for (const auto &f : list) {
        Example example;
        example.field = f;
        records.append(example);
    }
    return records;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entriesComeBackAsWritten();
    void damagedLinesAreSkipped();
    void replayAppliesOnlyWhatFits_data();
    void replayAppliesOnlyWhatFits();
    void killedRunLeavesItsJournal();
    void eachRunHasItsOwn();
    void journalNames_data();
    void journalNames();
};

void TestJournal::entriesComeBackAsWritten()
{
    QTemporaryDir folder;
    const QList<JournalEntry> written{
        entry(0, Op::Add, 3, fields("５教科", nullptr, "", "改行の\nある例文、\"引用\"も。")),
        entry(2, Op::Correct, 1, fields("生活", "朝", "ほめたい", "直した文。"), fields("生活", "朝", "ほめたい", "元の文。")),
        entry(1, Op::Delete, 2, fields("行事", "係", nullptr, "消した文。")),
    };
    {
        Journal journal(folder.path());
        for (const JournalEntry &e : written)
            QVERIFY(journal.append(e).ok);
        // Held while the run lives: not a journal left behind.
        QVERIFY(leftoverJournals(folder.path()).isEmpty());
        QCOMPARE(readJournal(journal.path()).entries, written);

        // A save removes it; the next change starts it again.
        QVERIFY(journal.remove().ok);
        QVERIFY(!QFile::exists(journal.path()));
        QVERIFY(journal.append(written[0]).ok);
        QCOMPARE(readJournal(journal.path()).entries, written.mid(0, 1));
        QVERIFY(journal.remove().ok);
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    // The unset field stays unset, empty text stays empty text.
    Journal journal(folder.path());
    QVERIFY(journal.append(written[0]).ok);
    const JournalEntry back = readJournal(journal.path()).entries.value(0);
    QVERIFY(back.fields[1].isNull());
    QVERIFY(!back.fields[2].isNull() && back.fields[2].isEmpty());
}

void TestJournal::damagedLinesAreSkipped()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Kotoban-20261207-101500-42.journal"));
    writeAll(path, R"({"category":0,"operation":"add","record":1,"fields":["a","b","c","d"]})" "\n"
                   R"({"category":7,"operation":"add","record":1,"fields":["a","b","c","d"]})" "\n"
                   R"({"category":0,"operation":"correct","record":1,"fields":["a","b","c","e"]})" "\n"
                   R"({"category":0,"operation":"delete","record":1,"fields":["a","b","c","d"]})" "\n"
                   R"({"category":0,"operation":"add","record":2,"fields":["a","b","c")"); // cut off by the crash

    const JournalContent content = readJournal(path);
    QCOMPARE(content.entries.size(), 2);
    QCOMPARE(content.entries[1].operation, Op::Delete);
    QCOMPARE(content.damagedLines, (QList<int>{2, 3, 5}));
    QCOMPARE(leftoverJournals(folder.path()), QStringList{path});
}

void TestJournal::replayAppliesOnlyWhatFits_data()
{
    QTest::addColumn<QList<JournalEntry>>("entries");
    QTest::addColumn<QVector<Example>>("expected");
    QTest::addColumn<int>("applied");
    QTest::addColumn<int>("skipped");

    const auto a = fields("A", "1", "x", "文A");
    const auto b = fields("B", "2", "y", "文B");
    const auto c = fields("C", "3", "z", "文C");
    const auto b2 = fields("B", "2", "y", "直した文B");

    QTest::newRow("add at the end, correct, delete")
        << QList<JournalEntry>{entry(0, Op::Add, 3, c), entry(0, Op::Correct, 2, b2, b), entry(0, Op::Delete, 1, a)}
        << examples({b2, c}) << 3 << 0;
    QTest::newRow("other categories left alone")
        << QList<JournalEntry>{entry(1, Op::Delete, 1, a), entry(2, Op::Add, 1, c)} << examples({a, b}) << 0 << 0;
    QTest::newRow("correction of another example") << QList<JournalEntry>{entry(0, Op::Correct, 1, b2, b)}
                                                   << examples({a, b}) << 0 << 1;
    QTest::newRow("delete of another example") << QList<JournalEntry>{entry(0, Op::Delete, 2, a)} << examples({a, b})
                                               << 0 << 1;
    QTest::newRow("beyond the records")
        << QList<JournalEntry>{entry(0, Op::Add, 4, c), entry(0, Op::Delete, 3, c), entry(0, Op::Correct, 9, b2, b)}
        << examples({a, b}) << 0 << 3;
    QTest::newRow("added then corrected and deleted")
        << QList<JournalEntry>{entry(0, Op::Add, 1, c), entry(0, Op::Correct, 1, b2, c), entry(0, Op::Delete, 2, a)}
        << examples({b2, b}) << 3 << 0;
}

void TestJournal::replayAppliesOnlyWhatFits()
{
    QFETCH(QList<JournalEntry>, entries);
    QFETCH(QVector<Example>, expected);
    QFETCH(int, applied);
    QFETCH(int, skipped);

    QVector<Example> records = examples({fields("A", "1", "x", "文A"), fields("B", "2", "y", "文B")});
    const ReplayResult result = replayJournal(entries, 0, records);
    QCOMPARE(records, expected);
    QCOMPARE(result.applied, applied);
    QCOMPARE(result.skipped, skipped);
}

void TestJournal::killedRunLeavesItsJournal()
{
    QTemporaryDir folder;
    const JournalEntry added = entry(0, Op::Add, 1, fields("５教科", "全体", "ほめたい", "殺される前の例文。"));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        Journal journal(folder.path());
        if (!journal.append(added).ok)
            ::_exit(1);
        ::raise(SIGKILL);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const QStringList left = leftoverJournals(folder.path());
    QCOMPARE(left.size(), 1);
    QCOMPARE(readJournal(left[0]).entries, QList<JournalEntry>{added});
}

void TestJournal::eachRunHasItsOwn()
{
    // Two windows on one folder, started in the same second: two journals, neither
    // taken for a leftover while its run lives.
    QTemporaryDir folder;
    Journal first(folder.path());
    Journal second(folder.path());
    const JournalEntry added = entry(0, Op::Add, 1, fields("a", "b", "c", "d"));
    QVERIFY(first.append(added).ok && second.append(added).ok);
    QVERIFY(first.path() != second.path());
    QVERIFY(leftoverJournals(folder.path()).isEmpty());
    QVERIFY(first.remove().ok);
    QCOMPARE(readJournal(second.path()).entries, QList<JournalEntry>{added});
}

QTEST_GUILESS_MAIN(TestJournal)
void TestJournal::journalNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("journal");
    QTest::newRow("a run's") << "Kotoban-20261208-074501-4242.journal" << true;
    QTest::newRow("second of the same second") << "Kotoban-20261208-074501-4242-2.journal" << true;
    QTest::newRow("short date") << "Kotoban-2026128-074501-4242.journal" << false;
    QTest::newRow("long time") << "Kotoban-20261208-0745010-4242.journal" << false;
    QTest::newRow("no process") << "Kotoban-20261208-074501-.journal" << false;
    QTest::newRow("one part too many") << "Kotoban-20261208-074501-4242-2-3.journal" << false;
    QTest::newRow("full-width digit") << "Kotoban-2026120８-074501-4242.journal" << false;
    QTest::newRow("a copy") << "Kotoban-20261208-074501-4242.journal.bak" << false;
    QTest::newRow("another name") << "kotoban-20261208-074501-4242.journal" << false;
}

void TestJournal::journalNames()
{
    QFETCH(QString, name);
    QFETCH(bool, journal);
    QCOMPARE(isJournalName(name), journal);
}

#include "tst_journal.moc"
