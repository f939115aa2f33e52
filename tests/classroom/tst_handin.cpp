#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "ChangesPanel.h"
#include "ClassEditing.h"
#include "ClassTableModel.h"
#include "ClassWindowFixture.h"
#include "HandIns.h"

// The hand-in loop as a teacher goes through it: mark fields 完了, hand in, correct three
// comments, see exactly those in 変更点, hand in again and get a sheet that flags them.

namespace {

ClassBook fivePupils()
{
    ClassBook book = newClassBook(QStringLiteral("4年1組"));
    const QStringList names = {"青木 空", "井上 海", "上田 陸", "江口 花", "大野 湊"};
    const QStringList texts = {"毎朝元気にあいさつをしました。", "係の仕事を丁寧に続けました。", "図書室でよく本を借りました。",
                               "音読を工夫して発表しました。", "休み時間に下級生と遊びました。"};
    for (int i = 0; i < names.size(); ++i) {
        (void)addPupil(book, {i + 1, names[i], QString(), QString()});
        (void)setText(book, i, 0, texts[i]);
    }
    return book;
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).remove(u' ').remove(u'\n');
}

} // namespace

class TestHandIn : public QObject, private ClassWindowFixture<> {
    Q_OBJECT
private:
    QString cell(int pupil) const
    {
        const QAbstractItemModel *model = m_window->tableModel();
        return model->data(model->index(pupil, ClassTableModel::columnOfField(0))).toString();
    }
    void type(int pupil, const QString &text)
    {
        m_window->selectCell(pupil, 0);
        child<QPlainTextEdit>("ClassText")->setPlainText(text);
    }

private Q_SLOTS:
    void init() { openClass(QStringLiteral("4年1組.json"), fivePupils()); }
    void cleanup() { closeWindow(); }

    void doneMarksShowInTheTableTheBoxAndTheStatus()
    {
        QCheckBox *box = child<QCheckBox>("DoneBox");
        trigger("actToggleDone");
        QVERIFY2(cell(0).startsWith(QStringLiteral("済")), qPrintable(cell(0)));
        QCOMPARE(box->checkState(), Qt::Checked);
        QCOMPARE(child<QLabel>("DoneCount")->text(), QStringLiteral("完了 1/5（所見）"));

        type(0, QStringLiteral("毎朝元気にあいさつをしています。"));
        QVERIFY2(cell(0).startsWith(QStringLiteral("改")), qPrintable(cell(0)));
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QCOMPARE(child<QLabel>("DoneCount")->text(), QStringLiteral("完了 1/5（所見）・うち書き直しあり 1"));

        box->click(); // marks the text as it is now
        QVERIFY(cell(0).startsWith(QStringLiteral("済")));
        m_window->selectCell(1, 0);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QVERIFY(!cell(1).startsWith(QStringLiteral("済")));
    }

    void handInCorrectAndHandInAgain()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils is not installed");
        const QString classPath = path(QStringLiteral("4年1組.json"));
        type(4, QString()); // an empty field: 点検 finds it

        m_dialogs->answers = {false};
        trigger("actHandIn");
        QCOMPARE(m_dialogs->said(QStringLiteral("ask")), QStringList{QStringLiteral("点検で 1 件見つかりました。このまま提出しますか？")});
        QVERIFY(handInsOf(classPath).isEmpty());

        const QString first = path(QStringLiteral("第1回.pdf"));
        m_dialogs->answers = {true};
        m_dialogs->fileNames = {first};
        trigger("actHandIn");
        QCOMPARE(handInsOf(classPath).size(), 1);
        QVERIFY(QFile::exists(first));
        QVERIFY2(child<QLabel>("LastHandIn")->text().startsWith(QStringLiteral("前回の提出：")), qPrintable(child<QLabel>("LastHandIn")->text()));

        type(1, QStringLiteral("係の仕事を最後まで丁寧に続けました。"));
        type(2, QStringLiteral("図書室で本を借りました。"));
        type(4, QStringLiteral("休み時間に下級生とよく遊びました。"));
        trigger("actChanges");
        auto *list = child<QListWidget>("ChangesList");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(1)->data(ChangesPanel::HtmlRole).toString(),
                 QStringLiteral("<b>3番 上田 陸　所見</b><br>図書室で<s style=\"color:#a00000\">よく</s>本を借りました。"));
        QVERIFY(list->item(0)->data(ChangesPanel::HtmlRole).toString().contains(QStringLiteral("<u style=\"color:#0038b0\">最後まで</u>")));
        list->setCurrentRow(2);
        QCOMPARE(m_window->selectedPupil(), 4);

        const QString second = path(QStringLiteral("第2回.pdf"));
        m_dialogs->fileNames = {second};
        trigger("actHandIn");
        QCOMPARE(handInsOf(classPath).size(), 2);
        const QString text = pdfText(second);
        QVERIFY2(text.contains(QStringLiteral("第2回提出")), qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("【前回から変更あり】")), 4); // the legend and the three fields
        QCOMPARE(list->count(), 0);

        // A sheet that cannot be written leaves no copy: the next hand-in is still the third.
        m_dialogs->fileNames = {path(QStringLiteral("ない/第3回.pdf"))};
        trigger("actHandIn");
        QVERIFY2(m_dialogs->said(QStringLiteral("inform")).last().startsWith(QStringLiteral("提出できませんでした。")),
                 qPrintable(m_dialogs->said(QStringLiteral("inform")).last()));
        QCOMPARE(handInsOf(classPath).size(), 2);
    }
};

QTEST_MAIN(TestHandIn)
#include "tst_handin.moc"
