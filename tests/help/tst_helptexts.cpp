#include "HelpTexts.h"

#include <QtTest>

class TestHelpTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void numbering();
    void aboutMessageCarriesAddress();
};

void TestHelpTexts::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("contents title")
        << helpContentsTitle()
        << QStringLiteral("　　　　「ことばん」ヘルプ画面の目次");

    QTest::newRow("greeting")
        << helpGreeting()
        << QStringLiteral(
            "　「ことばん」をご利用いただきありがとうございます。\n"
            "　このソフトは、悩める先生方の一助になればと考えて作成したものです。ご利用していただければ幸いです。\n"
            "　文章を編集し、コピーして、ワープロソフトなどへも貼り付けが可能です。\n"
            "　また、例文を作成して保存することができます。\n"
            "　生徒たちを励ます教育活動に役立ててください。\n");

    QTest::newRow("page 1")
        << helpPageText(1)
        << QStringLiteral(
            "　１　このソフトの特徴\n"
            "\n"
            "　まず、所見を書こうと思う生徒を思いうかべてください。どんな点をほめたいですか？　どんなことを伸ばしたいですか？。迷っているときにお使いいただきたいソフトです。\n"
            "　「ことばん」には次のような特徴があります。\n"
            "\n"
            "（１）　学習面や行事などでほめたいことやがんばらせたいことを選んで\n"
            "　　　例文を選ぶことができます。\n"
            "\n"
            "（２）　学習面、生活面などの例文を合わせて所見文を作ることができます。\n"
            "\n"
            "（３）　所見文を修正して生徒にあう文章にすることができます。\n"
            "\n"
            "（４）　作成した所見文を他のソフトに貼り付けすることができます。\n"
            "　　　　（このプログラムには印刷する機能はありません^^;）\n"
            "\n"
            "（５）　新しい例文を作って、自分なりのデータを作成できます。\n"
            "　　　　（作成した新しい例文はプログラム終了時に自動的に保存されます）。\n"
            "\n"
            "※　半角のカンマ「,」はデータの区切りなので、例文には使わないでください。\n");

    QTest::newRow("page 2")
        << helpPageText(2)
        << QStringLiteral(
            "　２　基本的な使い方\n"
            "\n"
            "(0) 所見を作成したい生徒のことを思い浮かべます｡\n"
            "\n"
            "(1) 上のオプションボタンをクリックして､項目を選びます｡\n"
            "\n"
            "(2) 左のリストボックスで分類の中から合うものを選んでクリックします｡\n"
            "\n"
            "(3) 中のリストボックスの中から合うものを選んでクリックします｡\n"
            "\n"
            "(4) 右のリストボックスの中から中から合うものを選んでクリックします｡\n"
            "　（テキストボックスに例文が表示されます。）\n"
            "\n"
            "(5) 「決定」をクリックすると、下のテキストボックスに内容がコピーされます｡\n"
            "\n"
            "(6) 「文章をコピー」をクリックするとクリップボードに内容コピーされます｡\n"
            "\n"
            "(7) 他のソフトウェア（ワード、エクセル、一太郎等）で\n"
            "　「編集　→　貼り付け」（または右クリックで「貼り付け」）をすると内容\n"
            "    がそのソフトウェアにコピーされます｡\n"
            "\n"
            "　※　「前文」「次文」をクリックすると、全例文を順に表示する事ができます。");

    QTest::newRow("page 3")
        << helpPageText(3)
        << QStringLiteral(
            "　３　データの追加について\n"
            "\n"
            "　注意：　データの区切りとしてダブルクォーテーションと半角カンマ「,」\n"
            "　　を使っているので、例文に入れないでください｡次回起動したときに表示\n"
            "　　が変になります｡\n"
            "\n"
            "(1) テキストボックス内の例文を変更し「例文訂正」をクリックすると記憶\n"
            "　されます｡\n"
            "\n"
            "(2) 例文を変更し「例文追加」をクリックすると、新しい例文として記憶さ\n"
            "　れます｡\n"
            "(3) 例文を表示した状態で「例文削除」をクリックすると、その例文は削除\n"
            "　されます｡\n"
            "\n"
            "  ※ 例文はプログラム終了時に保存されます｡\n"
            "\n"
            "　※ 例文は各項目ごと最大300例（合計900例）までです｡");

    QTest::newRow("page 4")
        << helpPageText(4)
        << QStringLiteral(
            "　４　例文データファイルについて\n"
            "\n"
            "    例文はテキストファイルなので､ワープロソフト等で編集できます｡\n"
            "\n"
            "　　　Kotoban1.txt　（「学習について」の例文データ）\n"
            "　　　Kotoban2.txt　（「道徳、特活、総合、行事」の例文データ）\n"
            "　　　Kotoban3.txt　（「日常生活について」の例文データ）\n"
            "\n"
            "  データの区切りに半角ダブルクォーテーションと半角カンマを使っています。\n"
            "      Kotoban1.txtの例文フォーマットは次のようになっています｡ \n"
            "\n"
            "        '学習について' 　　　　　　　　　　　　←1行目は項目名\n"
            "　　　　'５教科','全体','ほめたい','理解力あり。'　　←２行目からデータ\n"
            "\n"
            "  （本当は「'」ではなく、ダブルクォーテーションです。）\n"
            "  ※ 表示が変になってしまったときには､ワープロソフト等で半角カンマ\n"
            "    を削除して上の様なフォーマットにしてください｡");

    QTest::newRow("page 6 (the fifth)")
        << helpPageText(5)
        << QStringLiteral(
            "　６　その他\n"
            "\n"
            "　※　「決定」ボタンをクリックした時点でもするとクリップボードにデータ\n"
            "    をコピーしていますので､他のソフトウェアに貼り付けできます｡\n"
            "\n"
            "  ※ テキストボックスには､他のソフトウェアからのテキストデータの\n"
            "    貼り付けも可能です｡\n"
            "\n"
            "　※　テキストボックス内では、文を選択してドラッグ＆ドロップが可能です。\n"
            "\n"
            "  ※ データファイルを変更すれば､ツリー状にデータを表示する事を活用し\n"
            "    て他の用途にも使えるかもしれません｡活用方法を現在検討中です｡\n"
            "\n"
            "\n");

    QTest::newRow("about")
        << aboutMessage()
        << QStringLiteral("「ことばん」は所見作成のためのツールです。\n生徒のよりよい成長のため、励まし文章の\n作成のためにお使い下さい。\n\n　　kotoban@example.jp\n 　　ことばん制作室\n");
}

void TestHelpTexts::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    // Line by line, so that a failure names the first line that differs.
    QCOMPARE(text.split(u'\n'), expected.split(u'\n'));
}

void TestHelpTexts::numbering()
{
    // Each page opens with its contents entry, indented by one ideographic space; the fifth
    // page is the one titled "６".
    for (int page = 1; page <= HelpPageCount; ++page) {
        const QString caption = helpEntryCaption(page);
        QVERIFY(!caption.isEmpty());
        QCOMPARE(helpPageText(page).section(u'\n', 0, 0), QStringLiteral("　") + caption);
    }
    QCOMPARE(helpEntryCaption(5), QStringLiteral("６　その他"));
    for (int outside : {0, -1, HelpPageCount + 1}) {
        QVERIFY(helpPageText(outside).isNull());
        QVERIFY(helpEntryCaption(outside).isNull());
    }
}

void TestHelpTexts::aboutMessageCarriesAddress()
{
    const QStringList lines = aboutMessage(QStringLiteral("sensei@example.org")).split(u'\n');
    QCOMPARE(lines.size(), 7); // six lines, each ended by a break
    QCOMPARE(lines.at(4), QStringLiteral("　　sensei@example.org"));
    QCOMPARE(lines.at(6), QString());
}

QTEST_APPLESS_MAIN(TestHelpTexts)
#include "tst_helptexts.moc"
