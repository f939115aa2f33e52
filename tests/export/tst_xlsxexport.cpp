#include <QTest>

#include "ClassSamples.h"
#include "ExportTable.h"
#include "Naming.h"
#include "TestFiles.h"
#include "XlsxExport.h"
#include "XlsxReason.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

ClassBook sample()
{
    return oneFieldClass({QStringLiteral("よく考えました。"), QStringLiteral("𠮷\r\n👍")}, 200);
}

} // namespace

class TestXlsxExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnWidth_data();
    void columnWidth();
    void notesSheet();
    void newFile();
    void existingFile();
    void failures();
    void fileAppearingMeanwhileIsKept();
    void libraryErrorsInJapanese();
};

void TestXlsxExport::columnWidth_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<double>("width");
    QTest::newRow("no limit") << 0 << 62.0;
    QTest::newRow("short field, narrow but not too narrow") << 40 << 34.0;
    QTest::newRow("80 characters in five lines") << 80 << 34.0;
    QTest::newRow("200 characters in five lines") << 200 << 82.0;
    QTest::newRow("very long fields stop widening") << 1000 << 82.0;
}

void TestXlsxExport::columnWidth()
{
    QFETCH(int, limit);
    QFETCH(double, width);
    QCOMPARE(fieldColumnWidth(limit), width);
}

// One row per note, pupils by 出席番号 (none last), each pupil's from the oldest; a second
// sheet that only comes when asked, and never under the class sheet's own name.
void TestXlsxExport::notesSheet()
{
    ClassBook book = classOf({field(QStringLiteral("所見"), 0)},
                             {pupil(0, QStringLiteral("転入 生"), {}), pupil(2, QStringLiteral("井上 海"), {}),
                              pupil(1, QStringLiteral("青木 空"), {})},
                             QStringLiteral("メモ"));
    book.pupils[0].notes = {{QDate(2025, 2, 1), QString(), QStringLiteral("c")}};
    book.pupils[2].notes = {{QDate(2025, 1, 20), QString(), QStringLiteral("b")}, {QDate(2025, 1, 10), QString(), QStringLiteral("a")}};
    QCOMPARE(notesInExportOrder(book), (QList<NoteRef>{{2, 1}, {2, 0}, {0, 0}}));
    QCOMPARE(notesSheetNameBeside(nameFor(NameFor::Sheet, book.name)), QStringLiteral("メモ（2）"));
    QCOMPARE(notesSheetNameBeside(QStringLiteral("3年2組")), QStringLiteral("メモ"));

    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.xlsx"));
    const QString withNotes = dir.filePath(QStringLiteral("notes.xlsx"));
    QVERIFY(exportXlsx(plain, book, false).ok());
    QVERIFY(exportXlsx(withNotes, book, false, XlsxOptions{true}).ok());
    // A zip file names its parts in plain text.
    QVERIFY(!readAll(plain).contains("xl/worksheets/sheet2.xml"));
    QVERIFY(readAll(withNotes).contains("xl/worksheets/sheet2.xml"));
}

void TestXlsxExport::newFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("3年2組.xlsx"));
    const ExportResult result = exportXlsx(path, sample(), false);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(readAll(path).startsWith("PK\x03\x04"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("3年2組.xlsx")});
    // As any new file of the teacher's, not the private mode of a temporary file.
    const QString probe = dir.filePath(QStringLiteral("probe"));
    writeAll(probe, "x");
    QCOMPARE(QFileInfo(path).permissions(), QFileInfo(probe).permissions());
}

void TestXlsxExport::existingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("所見.xlsx"));
    writeAll(path, "the teacher's own");
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));

    const ExportResult kept = exportXlsx(path, sample(), false);
    QCOMPARE(kept.status, ExportStatus::TargetExists);
    QCOMPARE(readAll(path), QByteArray("the teacher's own"));

    const ExportResult replaced = exportXlsx(path, sample(), true);
    QVERIFY2(replaced.ok(), qPrintable(replaced.error));
    QVERIFY(readAll(path).startsWith("PK\x03\x04"));
#ifndef Q_OS_WIN // Windows has no group bits: the file keeps its folder's permissions there
    QCOMPARE(QFileInfo(path).permissions() & 0x0FFF, QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup);
#endif
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("所見.xlsx")});
}

void TestXlsxExport::failures()
{
    QTemporaryDir dir;
    // A folder that is not there.
    const ExportResult missing = exportXlsx(dir.filePath(QStringLiteral("none/x.xlsx")), sample(), false);
    QCOMPARE(missing.status, ExportStatus::Failed);
    QVERIFY(!missing.error.isEmpty());
    // A cell longer than Excel holds: a reason naming the pupil, nothing left behind.
    ClassBook tooLong = sample();
    tooLong.pupils[1].texts[0] = QString(40000, u'あ');
    const QString path = dir.filePath(QStringLiteral("long.xlsx"));
    const ExportResult result = exportXlsx(path, tooLong, false);
    QCOMPARE(result.status, ExportStatus::Failed);
    QVERIFY2(result.error.contains(QStringLiteral("児童2")), qPrintable(result.error));
    QCOMPARE(entries(dir.path()), QStringList{});
    // A folder where the file should go is not replaced.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.xlsx")));
    const ExportResult onFolder = exportXlsx(dir.filePath(QStringLiteral("taken.xlsx")), sample(), true);
    QCOMPARE(onFolder.status, ExportStatus::Failed);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("taken.xlsx")});
}

// The teacher was not asked about a file that appeared after the check: it stays.
void TestXlsxExport::fileAppearingMeanwhileIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.xlsx"));
    writeAll(path, "appeared");
    const ExportResult result = writeExportFile(path, "new", false);
    QCOMPARE(result.status, ExportStatus::TargetExists);
    QCOMPARE(readAll(path), QByteArray("appeared"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("x.xlsx")});
}

void TestXlsxExport::libraryErrorsInJapanese()
{
    // libxlsxwriter's own texts are English sentences: none reaches the teacher.
    for (int code = 1; code < 64; ++code) {
        const QString reason = xlsxReason(code, 0);
        QVERIFY2(!QString(reason).remove(QStringLiteral("Excel")).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}"))),
                 qPrintable(reason));
    }
}

QTEST_GUILESS_MAIN(TestXlsxExport)
#include "tst_xlsxexport.moc"
