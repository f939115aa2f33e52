#include <QTest>

#include "ClassChecks.h"
#include "ClassSamples.h"
#include "Notes.h"

// Notes written "2025-01-20|学習|text" (the kind empty for none).
namespace {

PupilNote noteFrom(const QString &notation)
{
    const QStringList parts = notation.split(u'|');
    return {QDate::fromString(parts.value(0), Qt::ISODate), parts.value(1), parts.value(2)};
}

QStringList notesNotation(const QList<PupilNote> &notes)
{
    QStringList lines;
    for (const PupilNote &note : notes)
        lines.append(QStringLiteral("%1|%2|%3").arg(note.date.toString(Qt::ISODate), note.tag, note.text));
    return lines;
}

// One pupil holding the notes, in the order given.
ClassBook withNotes(const QStringList &notes)
{
    ClassBook book = oneFieldClass({QString()});
    for (const QString &note : notes)
        book.pupils[0].notes.append(noteFrom(note));
    return book;
}

// "add <note>", "text <n> <text>", "date <n> <day>", "tag <n> <kind>", "remove <n>"; pupil 0.
ClassEdit run(ClassBook &book, const QString &operation)
{
    const QString verb = operation.section(u' ', 0, 0);
    const int note = operation.section(u' ', 1, 1).toInt();
    const QString rest = operation.section(u' ', 2);
    if (verb == QLatin1String("add"))
        return addNote(book, 0, noteFrom(operation.section(u' ', 1)));
    if (verb == QLatin1String("text"))
        return setNoteText(book, 0, note, rest);
    if (verb == QLatin1String("date"))
        return setNoteDate(book, 0, note, QDate::fromString(rest, Qt::ISODate));
    if (verb == QLatin1String("tag"))
        return setNoteTag(book, 0, note, rest);
    return removeNote(book, 0, note);
}

} // namespace

class TestNotes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editing_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("index"); // where the note now stands, -1 when refused
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("after");
        const QStringList two{"2025-01-25||後", "2025-01-10||前"};
        QTest::newRow("a day between goes between") << two << "add 2025-01-20|学習|間" << 1 << ""
                                                    << QStringList{"2025-01-25||後", "2025-01-20|学習|間", "2025-01-10||前"};
        QTest::newRow("the same day: the one added last on top")
            << two << "add 2025-01-10||同じ日" << 1 << "" << QStringList{"2025-01-25||後", "2025-01-10||同じ日", "2025-01-10||前"};
        QTest::newRow("an earlier day goes last") << two << "add 2024-12-01||去年" << 2 << ""
                                                  << QStringList{"2025-01-25||後", "2025-01-10||前", "2024-12-01||去年"};
        QTest::newRow("line breaks stored as LF") << two << "text 1 一行\r\n二行\r三行" << 1 << ""
                                                  << QStringList{"2025-01-25||後", "2025-01-10||一行\n二行\n三行"};
        QTest::newRow("a later day moves it up") << two << "date 1 2025-02-01" << 0 << ""
                                                 << QStringList{"2025-02-01||前", "2025-01-25||後"};
        QTest::newRow("moved onto another's day: on top of it") << two << "date 0 2025-01-10" << 0 << ""
                                                                << QStringList{"2025-01-10||後", "2025-01-10||前"};
        QTest::newRow("a kind from the list, then none") << two << "tag 0 行事" << 0 << ""
                                                         << QStringList{"2025-01-25|行事|後", "2025-01-10||前"};
        QTest::newRow("removing the last selects the one above") << two << "remove 1" << 0 << ""
                                                                 << QStringList{"2025-01-25||後"};
        QTest::newRow("removing the only note leaves none") << QStringList{"2025-01-25||後"} << "remove 0" << -1 << ""
                                                            << QStringList{};
        QTest::newRow("a kind not in the list is refused") << two << "add 2025-01-20|遠足|x" << -1 << "という種類はありません" << two;
        QTest::newRow("nor set on a note") << two << "tag 1 遠足" << -1 << "という種類はありません" << two;
        QTest::newRow("a note needs a day") << two << "add 2025-02-30||x" << -1 << "日付" << two;
        QTest::newRow("nor can its day be taken away") << two << "date 0 x" << -1 << "日付" << two;
        QTest::newRow("no such note") << two << "text 2 x" << -1 << "メモを選んで" << two;
    }
    void editing()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, operation);
        QFETCH(int, index);
        QFETCH(QString, refusal);
        QFETCH(QStringList, after);
        ClassBook book = withNotes(before);
        const ClassEdit edit = run(book, operation);
        QCOMPARE(edit.ok, refusal.isEmpty());
        if (!edit.ok)
            QVERIFY2(edit.reason.contains(refusal), qPrintable(edit.reason));
        else
            QCOMPARE(edit.index, index);
        QCOMPARE(notesNotation(book.pupils[0].notes), after);
    }

    void addingKinds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("added");
        QTest::newRow("a new kind goes last") << " 読書  週間 " << "" << "読書 週間";
        QTest::newRow("one already there") << "学習" << "もうあります" << "";
        QTest::newRow("blank") << "　" << "名前を入れて" << "";
        QTest::newRow("ten characters at most") << "あいうえおかきくけこさ" << "10 字まで" << "";
    }
    void addingKinds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(QString, added);
        ClassBook book = withNotes({});
        const ClassEdit edit = addNoteTag(book, typed);
        QCOMPARE(edit.ok, refusal.isEmpty());
        QVERIFY2(edit.reason.contains(refusal), qPrintable(edit.reason));
        QCOMPARE(book.noteTags, added.isEmpty() ? defaultNoteTags() : defaultNoteTags() << added);
    }

    // Removing a pupil whose only words are notes asks first too; the check lists who has none.
    void pupilsWithoutNotes()
    {
        ClassBook book = oneFieldClass({QString(), QString(), QStringLiteral("書いた。")});
        book.pupils[1].notes.append(noteFrom(QStringLiteral("2025-01-20||見た")));
        QCOMPARE(pupilHasText(book, 0), false);
        QCOMPARE(pupilHasText(book, 1), true);
        CheckOptions options;
        options.notes = true;
        QStringList found;
        for (const Finding &finding : checkClass(book, WordingMatcher({}), options)) {
            if (finding.kind == FindingKind::NoNotes)
                found.append(QStringLiteral("%1 %2 %3").arg(finding.cell.pupil).arg(columnName(book, finding.cell.field),
                                                            findingMessage(finding, book)));
        }
        QCOMPARE(found, (QStringList{"0 メモ メモがありません。", "2 メモ メモがありません。"}));
        options.notes = false;
        for (const Finding &finding : checkClass(book, WordingMatcher({}), options))
            QVERIFY(finding.kind != FindingKind::NoNotes);
    }
};

QTEST_APPLESS_MAIN(TestNotes)
#include "tst_notes.moc"
