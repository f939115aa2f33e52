#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "Form1.h"
#include "SimpleCombo.h"
#include "TestSupport.h"
#include "TextBox.h"

#include <memory>

// Loading at start-up and saving, through the real window: the files in the working
// folder are what the teacher has, the window is what the teacher sees.

namespace {

QByteArray cp932(const QString &text) { return encodeText(text, Encoding::Cp932).bytes; }

// A data file with one line per record; each record is its four fields joined by '|'.
QString fileText(const QString &title, const QStringList &records)
{
    QString text = u'"' + title + QStringLiteral("\"\r\n");
    for (const QString &record : records)
        text += u'"' + record.split(u'|').join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n");
    return text;
}

QString numbered(int records)
{
    QStringList lines;
    for (int i = 1; i <= records; ++i)
        lines += QStringLiteral("分類%1|観点|ほめたい|例文その%2。").arg(i % 4).arg(i);
    return fileText(QStringLiteral("学習について"), lines);
}

// The window over the files of a folder, answering through a script.
struct Window {
    explicit Window(const WorkingFolder &folder) : form(folder.path(), std::unique_ptr<Dialogs>(dialogs)) {}
    ScriptedDialogs *dialogs = new ScriptedDialogs;
    Form1 form;

    QString caption(int option) const
    {
        return form.findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(option))->text();
    }
    QStringList firstLevel(const char *combo) const
    {
        return form.findChild<SimpleCombo *>(QString::fromLatin1(combo))->items();
    }
    QString count(const char *label) const { return form.findChild<QLabel *>(QString::fromLatin1(label))->text(); }
};

DataFileContent readBack(const WorkingFolder &folder, const QString &name, bool emptyMeansUnset)
{
    return parseDataFile(decodeDataFile(folder.read(name)).text, emptyMeansUnset);
}

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startUpFromFiles();
    void missingFile();
    void startUpProblems_data();
    void startUpProblems();
    void saveRightAfterStartUp_data();
    void saveRightAfterStartUp();
    void saveAfterChanges();
    void closingSaves();
    void closingWhenSaveFails();
    void examplesAddedToAnUnreadableCategory();
};

void TestLoadSave::initTestCase()
{
    // Closing the window under test must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestLoadSave::startUpFromFiles()
{
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"),
                 cp932(fileText(QStringLiteral("学習（国語）"),
                                {"国語|読む|ほめたい|音読が上手です。", "算数|計算|ほめたい|計算が速く正確です。",
                                 "国語|書く|がんばらせたい|字を丁寧に書きましょう。", "理科|観察|ほめたい|よく観察しています。"})));
    folder.write(QStringLiteral("Kotoban2.txt"),
                 cp932(fileText(QStringLiteral("行事"), {"運動会|係|ほめたい|係の仕事をやり遂げました。",
                                                          "運動会|練習|ほめたい|練習に励みました。"})));
    // Category 3: a record cut short and a blank last line still count, as empty classes.
    folder.write(QStringLiteral("Kotoban3.txt"),
                 cp932(QStringLiteral("\"生活\"\r\n\"あいさつ\",\"朝\",\"ほめたい\",\"元気です。\"\r\n\"そうじ\",,,\r\n\r\n")));

    Window window(folder);
    QCOMPARE(window.caption(0), QStringLiteral("学習（国語）"));
    QCOMPARE(window.caption(1), QStringLiteral("行事"));
    QCOMPARE(window.caption(2), QStringLiteral("生活"));
    QCOMPARE(window.firstLevel("Combo1"), (QStringList{"国語", "算数", "理科"}));
    QCOMPARE(window.firstLevel("Combo4"), QStringList{"運動会"});
    QCOMPARE(window.firstLevel("Combo7"), (QStringList{"あいさつ", "そうじ", ""}));
    QCOMPARE(window.count("Label3"), QStringLiteral(" 4"));
    QCOMPARE(window.count("Label4"), QStringLiteral(" 2"));
    QCOMPARE(window.count("Label7"), QStringLiteral(" 3"));

    // Nothing below the first level is chosen yet, in any category.
    for (const char *name : {"Combo2", "Combo3", "Combo5", "Combo6", "Combo8", "Combo9"})
        QCOMPARE(window.form.findChild<SimpleCombo *>(QString::fromLatin1(name))->count(), 0);
    for (const char *name : {"Combo1", "Combo4", "Combo7"})
        QCOMPARE(window.form.findChild<SimpleCombo *>(QString::fromLatin1(name))->text(), QString());
    for (const char *name : {"List1", "List2", "List3"})
        QCOMPARE(window.form.findChild<QListWidget *>(QString::fromLatin1(name))->count(), 0);

    window.form.reportStartupProblems();
    QVERIFY(window.dialogs->calls.isEmpty());
}

void TestLoadSave::missingFile()
{
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"), cp932(fileText(QStringLiteral("学習"), {"a|b|c|d"})));
    folder.write(QStringLiteral("Kotoban3.txt"), cp932(fileText(QStringLiteral("生活"), {})));

    Window window(folder);
    QCOMPARE(window.caption(1), QStringLiteral("道徳、特活、総合、行事"));
    QCOMPARE(window.count("Label4"), QStringLiteral(" 0"));
    QCOMPARE(window.firstLevel("Combo4"), QStringList{""});
    // A title line alone is an empty category too, under its own title.
    QCOMPARE(window.caption(2), QStringLiteral("生活"));
    QCOMPARE(window.count("Label7"), QStringLiteral(" 0"));
    window.form.reportStartupProblems();
    QVERIFY(window.dialogs->calls.isEmpty());

    // The next save creates the missing file, under the layout caption.
    QVERIFY(window.form.mnuFileSave_Click());
    QVERIFY(folder.read(QStringLiteral("Kotoban2.txt")) == cp932(QStringLiteral("\"道徳、特活、総合、行事\"\r\n")));
    QVERIFY(window.dialogs->calls.isEmpty());
}

void TestLoadSave::startUpProblems_data()
{
    QTest::addColumn<QStringList>("problemFiles");
    QTest::newRow("folder in place of a file") << QStringList{"Kotoban1.txt"};
    QTest::newRow("305 records") << QStringList{"Kotoban2.txt"};
    QTest::newRow("undecodable byte") << QStringList{"Kotoban3.txt"};
    QTest::newRow("all at once") << QStringList{"Kotoban1.txt", "Kotoban2.txt", "Kotoban3.txt"};
}

void TestLoadSave::startUpProblems()
{
    QFETCH(QStringList, problemFiles);
    WorkingFolder folder;
    folder.seedStarterLibrary();
    if (problemFiles.contains(QStringLiteral("Kotoban1.txt"))) {
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Kotoban1.txt"))));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Kotoban1.txt")));
    }
    if (problemFiles.contains(QStringLiteral("Kotoban2.txt")))
        folder.write(QStringLiteral("Kotoban2.txt"), cp932(numbered(305)));
    if (problemFiles.contains(QStringLiteral("Kotoban3.txt"))) {
        QByteArray bytes = folder.read(QStringLiteral("Kotoban3.txt"));
        bytes.insert(bytes.indexOf("\r\n") + 3, '\x80'); // line 2
        folder.write(QStringLiteral("Kotoban3.txt"), bytes);
    }

    Window window(folder);
    QVERIFY(window.dialogs->calls.isEmpty()); // told only once the window is up
    window.form.reportStartupProblems();
    QCOMPARE(window.dialogs->calls.size(), 1);
    const ScriptedDialogs::Call &message = window.dialogs->calls[0];
    QVERIFY(!message.question);
    QCOMPARE(message.title, QStringLiteral("ことばん"));
    for (const QString name : {"Kotoban1.txt", "Kotoban2.txt", "Kotoban3.txt"})
        QVERIFY2(message.text.contains(name) == problemFiles.contains(name), qPrintable(message.text));

    if (problemFiles.contains(QStringLiteral("Kotoban1.txt"))) {
        QCOMPARE(window.caption(0), QStringLiteral("学習について"));
        QCOMPARE(window.count("Label3"), QStringLiteral(" 0"));
    }
    if (problemFiles.contains(QStringLiteral("Kotoban2.txt"))) {
        QCOMPARE(window.count("Label4"), QStringLiteral(" 300"));
        QVERIFY2(message.text.contains(u'5'), qPrintable(message.text));
    }
    if (problemFiles.contains(QStringLiteral("Kotoban3.txt")))
        QCOMPARE(window.form.page(2).category().record(1).firstClass().at(0), QChar(0xFFFD));

    window.form.reportStartupProblems();
    QCOMPARE(window.dialogs->calls.size(), 1);
}

void TestLoadSave::saveRightAfterStartUp_data()
{
    QTest::addColumn<QByteArray>("file1");
    QTest::addColumn<QByteArray>("file2");
    QTest::addColumn<QByteArray>("file3");
    auto starter = [](int n) { return starterData(QStringLiteral("Kotoban%1.txt").arg(n)); };
    QTest::newRow("starter library") << starter(1) << starter(2) << starter(3);

    // Unset places, a multi-line sentence, a comma, empty texts: everything the writer
    // itself produces.
    const QString odd = QStringLiteral("\"学習について\"\r\n\"国語\",,,\r\n,,,\r\n\"国語\",\"読む\",\"\",\"一行目\r\n二行目\"\r\n"
                                       "\"算数\",\"計算\",\"ほめたい\",\"速く, 正確です。\"\r\n");
    const QString odd3 = QStringLiteral("\"\"\r\n\"\",\"\",\"\",\"\"\r\n\"そうじ\",\"\",\"\",\"\"\r\n");
    QTest::newRow("unset and empty fields") << cp932(odd) << cp932(odd) << cp932(odd3);
    QTest::newRow("UTF-8 with and without BOM")
        << encodeText(odd, Encoding::Utf8Bom).bytes << encodeText(odd + QStringLiteral("\"𠮷\",\"a\",\"b\",\"c\"\r\n"), Encoding::Utf8).bytes
        << encodeText(odd3, Encoding::Utf8Bom).bytes;
    QTest::newRow("title lines only") << cp932(QStringLiteral("\"学習について\"\r\n")) << cp932(QStringLiteral("\"\"\r\n"))
                                      << cp932(QStringLiteral("\"日常生活について\"\r\n"));
}

void TestLoadSave::saveRightAfterStartUp()
{
    QFETCH(QByteArray, file1);
    QFETCH(QByteArray, file2);
    QFETCH(QByteArray, file3);
    QVERIFY(!file1.isEmpty() && !file2.isEmpty() && !file3.isEmpty());
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"), file1);
    folder.write(QStringLiteral("Kotoban2.txt"), file2);
    folder.write(QStringLiteral("Kotoban3.txt"), file3);

    Window window(folder);
    window.form.reportStartupProblems();
    QVERIFY2(window.dialogs->calls.isEmpty(), qPrintable(window.dialogs->texts().join(u'\n')));
    QVERIFY(window.form.mnuFileSave_Click());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == file1);
    QVERIFY(folder.read(QStringLiteral("Kotoban2.txt")) == file2);
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")) == file3);
    QCOMPARE(entries(folder.path()), (QStringList{"Kotoban1.txt", "Kotoban2.txt", "Kotoban3.txt"}));
    QVERIFY(window.dialogs->calls.isEmpty());
}

void TestLoadSave::saveAfterChanges()
{
    WorkingFolder folder;
    const QByteArray start1 = cp932(numbered(305));
    const QString text2 = fileText(QStringLiteral("行事"), {"運動会|係|ほめたい|係の仕事をやり遂げました。",
                                                          "遠足|班|ほめたい|班をまとめました。"});
    const QByteArray start2 = encodeText(text2, Encoding::Utf8Bom).bytes;
    folder.write(QStringLiteral("Kotoban1.txt"), start1);
    folder.write(QStringLiteral("Kotoban2.txt"), start2);
    // A file saved with lone LF line ends elsewhere, and not changed: never written.
    const QByteArray start3 = cp932(QStringLiteral("\"生活\"\n\"あいさつ\",\"朝\",\"ほめたい\",\"元気です。\"\n"));
    folder.write(QStringLiteral("Kotoban3.txt"), start3);

    Window window(folder);
    QVERIFY(window.form.page(0).category().correct(1, QStringLiteral("訂正した例文。")).ok());
    QVERIFY(window.form.page(1).category().correct(2, QStringLiteral("𠮷田さんと班をまとめました。")).ok()); // not in code page 932
    QVERIFY(window.form.mnuFileSave_Click());

    // Category 1: the change in place, the five records beyond 300 after the library's records.
    const DataFileContent before1 = parseDataFile(decodeDataFile(start1).text, true);
    const DataFileContent saved1 = readBack(folder, QStringLiteral("Kotoban1.txt"), true);
    QCOMPARE(int(saved1.records.size()), 305);
    QCOMPARE(saved1.records[0].sentence(), QStringLiteral("訂正した例文。"));
    for (int i = 1; i < 305; ++i)
        QVERIFY2(saved1.records[i] == before1.records[i], qPrintable(QString::number(i)));
    QCOMPARE(saved1.records[304].sentence(), QStringLiteral("例文その305。"));
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start1);

    // Category 2: still UTF-8 with its mark, so the character code page 932 lacks is kept.
    const QByteArray saved2 = folder.read(QStringLiteral("Kotoban2.txt"));
    QVERIFY(saved2.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(int(decodeDataFile(saved2).encoding), int(Encoding::Utf8Bom));
    QString expected2 = text2;
    expected2.replace(QStringLiteral("班をまとめました。"), QStringLiteral("𠮷田さんと班をまとめました。"));
    QCOMPARE(QString::fromUtf8(saved2.mid(3)), expected2);
    QVERIFY(folder.read(QStringLiteral("Kotoban2.bak")) == start2);

    // Category 3, unchanged: left as it was, with no backup.
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")) == start3);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Kotoban3.bak"))));

    // A second change in the same run leaves the backups at the start-up content.
    QVERIFY(window.form.page(0).category().correct(2, QStringLiteral("二つ目の訂正。")).ok());
    QVERIFY(window.form.mnuFileSave_Click());
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban1.txt"), true).records[1].sentence(), QStringLiteral("二つ目の訂正。"));
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start1);
    QVERIFY(window.dialogs->calls.isEmpty());
}

void TestLoadSave::closingSaves()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    const QByteArray start3 = folder.read(QStringLiteral("Kotoban3.txt"));

    Window window(folder);
    window.form.show();
    QVERIFY(window.form.page(2).category().correct(1, QStringLiteral("閉じるときに保存される例文。")).ok());
    QVERIFY(window.form.close());
    QVERIFY(!window.form.isVisible());
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban3.txt"), false).records[0].sentence(),
             QStringLiteral("閉じるときに保存される例文。"));
    QVERIFY(folder.read(QStringLiteral("Kotoban3.bak")) == start3);
    QVERIFY(window.dialogs->calls.isEmpty());
}

void TestLoadSave::closingWhenSaveFails()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    Window window(folder);
    window.form.show();
    QVERIFY(window.form.page(0).category().correct(1, QStringLiteral("保存したい例文。")).ok());
    QVERIFY(window.form.page(1).category().correct(1, QStringLiteral("これも保存したい例文。")).ok());

    // After start-up Kotoban2.txt becomes a folder: that file cannot be written.
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Kotoban2.txt"))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Kotoban2.txt")));

    window.dialogs->answers = {true, false}; // overwrite the changed file: yes; close without saving: no
    QVERIFY(!window.form.close());
    QVERIFY(window.form.isVisible());
    const QVector<ScriptedDialogs::Call> &calls = window.dialogs->calls;
    QCOMPARE(calls.size(), 3);
    QVERIFY(calls[0].question && calls[0].text.contains(QStringLiteral("Kotoban2.txt")));
    QVERIFY(!calls[1].question);
    QVERIFY2(calls[1].text.contains(QStringLiteral("Kotoban2.txt")), qPrintable(calls[1].text));
    QVERIFY(calls[2].question);
    QCOMPARE(calls[2].title, QStringLiteral("ことばん"));
    // The other files were saved all the same.
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban1.txt"), true).records[0].sentence(), QStringLiteral("保存したい例文。"));
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Kotoban2.txt"))).isDir());

    // The teacher clears the way and closes again: everything is saved, the window closes.
    QVERIFY(QDir(folder.path()).rmdir(QStringLiteral("Kotoban2.txt")));
    window.dialogs->calls.clear();
    QVERIFY(window.form.close());
    QVERIFY(!window.form.isVisible());
    QVERIFY(window.dialogs->calls.isEmpty());
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban2.txt"), true).records[0].sentence(),
             QStringLiteral("これも保存したい例文。"));
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban2.txt"), true).title, QStringLiteral("道徳、特活、総合、行事"));
    QCOMPARE(readBack(folder, QStringLiteral("Kotoban2.bak"), true).title, QStringLiteral("道徳、特活、総合、行事"));
}

// A category whose file could not be read starts empty and its file is never written;
// examples the teacher adds there anyway go to a file beside it, named in a message.
void TestLoadSave::examplesAddedToAnUnreadableCategory()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Kotoban2.txt"))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Kotoban2.txt")));
    Window window(folder);
    window.form.show();

    // Untouched, the empty category saves without a word.
    QVERIFY(window.form.mnuFileSave_Click());
    QVERIFY(window.dialogs->calls.isEmpty());

    CategoryPage &page = window.form.page(1);
    Example added;
    added.field = {QStringLiteral("行事"), QStringLiteral("取り組み"), QStringLiteral("ほめたい"),
                   QStringLiteral("最後まで力を尽くしました。")};
    QVERIFY(page.category().add(added).ok());
    QVERIFY(window.form.mnuFileSave_Click());
    QCOMPARE(window.dialogs->calls.size(), 1);
    const QString message = window.dialogs->calls[0].text;
    QVERIFY2(message.contains(QStringLiteral("Kotoban2.txt")), qPrintable(message));
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Kotoban2.txt"))).isDir());
    const QStringList beside = QDir(folder.path()).entryList({QStringLiteral("Kotoban2 (ことばんで保存 *).txt")});
    QCOMPARE(beside.size(), 1);
    QVERIFY2(message.contains(beside[0]), qPrintable(message));
    QCOMPARE(readBack(folder, beside[0], true).records.value(0).sentence(), QStringLiteral("最後まで力を尽くしました。"));

    // The work is on the disk: closing asks nothing.
    window.dialogs->calls.clear();
    QVERIFY(window.form.close());
    QVERIFY(window.dialogs->calls.isEmpty());
}

QTEST_MAIN(TestLoadSave)
#include "tst_loadsave.moc"
