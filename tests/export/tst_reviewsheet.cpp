#include <QTest>

#include "ClassSamples.h"
#include "ReviewSheet.h"
#include "TestFiles.h"
#include "WordingRules.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(ReviewSheetInput)

// The review sheet read back as a checker's PDF reader would: poppler's pdftotext for the
// words and their order, pdfinfo for the pages, pdffonts for the embedded fonts.

namespace {

const QStringList Phrases = {
    QStringLiteral("朝の会では進んで司会を務め、"), QStringLiteral("友達の話に最後まで耳を傾けました。"),
    QStringLiteral("算数の文章題では図に表して考え、"), QStringLiteral("自分の言葉で説明することができました。"),
    QStringLiteral("図書係として本の並べ方を工夫し、"), QStringLiteral("学級の読書量が増えるきっかけを作りました。"),
    QStringLiteral("運動会の練習では下級生に声をかけ、"), QStringLiteral("最後まで励まし続ける姿が見られました。"),
};

// A comment of exactly `length` characters, different for every pupil.
QString commentOf(int pupil, int length)
{
    QString text = QStringLiteral("その%1。").arg(pupil);
    for (int i = pupil; text.size() < length; ++i)
        text += Phrases[i % Phrases.size()];
    return text.left(length);
}

ClassBook classOfSize(int pupils, int length)
{
    ClassBook book = classOf({field(QStringLiteral("所見"), 200)}, {});
    for (int i = 1; i <= pupils; ++i)
        book.pupils.append(pupil(i, QStringLiteral("児童 %1号").arg(i), {commentOf(i, length)}));
    return book;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString withoutBlanks(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); }

} // namespace

class TestReviewSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "pdfinfo", "pdffonts"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("poppler-utils is not installed (scripts/install-deps installs it)");
        }
    }

    void readBack_data()
    {
        QTest::addColumn<ReviewSheetInput>("input");
        QTest::addColumn<QStringList>("inOrder"); // blanks and line ends left out
        QTest::addColumn<int>("mostPages");

        ReviewSheetInput thirtyFive;
        thirtyFive.book = classOfSize(35, 200);
        thirtyFive.at = QDateTime(QDate(2024, 12, 7), QTime(15, 30));
        QStringList everyone{QStringLiteral("所見見直し用3年2組2学期"), QStringLiteral("第1回提出2024年12月7日15:30")};
        for (const Pupil &p : std::as_const(thirtyFive.book.pupils))
            everyone << withoutBlanks(QStringLiteral("%1番 %2").arg(p.number).arg(p.name)) << p.texts[0];
        everyone << QStringLiteral("6/6");
        QTest::newRow("35 pupils, one field of 200 characters") << thirtyFive << everyone << 6;

        ReviewSheetInput second;
        second.book = classOf({field(QStringLiteral("所見"), 20), field(QStringLiteral("道徳"), 0)},
                              {pupil(1, QStringLiteral("青木 空"), {QStringLiteral("明るい。"), QStringLiteral("優しい。")}),
                               pupil(2, QStringLiteral("井上 海"), {QStringLiteral("一行目の文。\n二行目の文。"), QString()})});
        second.handInNumber = 2;
        second.at = QDateTime(QDate(2025, 1, 20), QTime(9, 5));
        second.hasEarlierHandIn = true;
        second.changed = {{0, 1}};
        QTest::newRow("second hand-in marks the changed field, keeps line breaks")
            << second
            << QStringList{"第2回提出2025年1月20日9:05", "1番青木空", "所見4/20字明るい。", "道徳4字【前回から変更あり】優しい。",
                           "2番井上海", "所見12/20字一行目の文。二行目の文。", "道徳0字（未記入）", "1/1"}
            << 1;

        ReviewSheetInput found;
        found.book = classOf({field(QStringLiteral("所見"), 10)},
                             {pupil(1, QStringLiteral("青木 空"), {QStringLiteral("〇〇さんはとても明るく元気です。")})});
        found.at = thirtyFive.at;
        found.findings = checkClass(found.book, WordingMatcher({}));
        QTest::newRow("findings in the margin, numbered")
            << found << QStringList{"1番青木空", "所見16/10字（6字多い）", "①", "②"} << 1;
    }
    void readBack()
    {
        QFETCH(ReviewSheetInput, input);
        QFETCH(QStringList, inOrder);
        QFETCH(int, mostPages);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("見直し用.pdf"));
        const ReviewSheetPdf pdf = reviewSheetPdf(input);
        QVERIFY(writeReviewSheet(path, pdf.bytes, false).ok());

        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))), qPrintable(info));
        const int pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        QCOMPARE(pages, pdf.pages);
        QVERIFY2(pages <= mostPages, qPrintable(QString::number(pages)));

        const QString text = withoutBlanks(run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")}));
        qsizetype from = 0;
        for (const QString &expected : inOrder) {
            const qsizetype at = text.indexOf(expected, from);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("「%1」がない（%2 文字目から）").arg(expected).arg(from)));
            from = at + expected.size();
        }
        QCOMPARE(text.count(QStringLiteral("前回から変更あり")) - int(input.hasEarlierHandIn),
                 int(input.changed.size()));

        // Every font embedded, so the sheet reads the same on a machine without them (pdffonts'
        // column "emb").
        const QStringList lines = run(QStringLiteral("pdffonts"), {path}).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 2);
        const qsizetype emb = lines[0].indexOf(QLatin1String("emb"));
        QVERIFY(emb > 0);
        for (const QString &line : lines.mid(2))
            QVERIFY2(line.mid(emb, 3) == QLatin1String("yes"), qPrintable(line));
    }

    void replacesOnlyWhenAsked()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("見直し用.pdf"));
        writeAll(path, "earlier");
        QCOMPARE(writeReviewSheet(path, "new", false).status, ExportStatus::TargetExists);
        QCOMPARE(readAll(path), QByteArray("earlier"));
        QVERIFY(writeReviewSheet(path, "new", true).ok());
        QCOMPARE(readAll(path), QByteArray("new"));
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("見直し用.pdf")});
    }
};

QTEST_MAIN(TestReviewSheet)
#include "tst_reviewsheet.moc"
