#include "HelpTexts.h"

#include <QStringList>

namespace {

// Qt's line break inside a QString; a label shows it as a new line and the
// clipboard converts it for the platform.
constexpr QChar LineBreak = u'\n';

QString joinLines(const QStringList &lines, int trailingBreaks)
{
    return lines.join(LineBreak) + QString(trailingBreaks, LineBreak);
}

} // namespace

QString helpContentsTitle()
{
    return QStringLiteral("　　　　「ことばん」ヘルプ画面の目次");
}

QString helpGreeting()
{
    return joinLines({
        QStringLiteral("　「ことばん」をご利用いただきありがとうございます。"),
        QStringLiteral("　このソフトは、悩める先生方の一助になればと考えて"
                       "作成したものです。ご利用していただければ幸いです。"),
        QStringLiteral("　文章を編集し、コピーして、ワープロソフトなどへも貼り付けが可能です。"),
        QStringLiteral("　また、例文を作成して保存することができます。"),
        QStringLiteral("　生徒たちを励ます教育活動に役立ててください。"),
    }, 1);
}

QString helpEntryCaption(int page)
{
    switch (page) {
    case 1: return QStringLiteral("１　このソフトの特徴");
    case 2: return QStringLiteral("２　基本的な使い方");
    case 3: return QStringLiteral("３　データの追加について");
    case 4: return QStringLiteral("４　例文データファイルについて");
    case 5: return QStringLiteral("６　その他");
    default: return QString();
    }
}

namespace {

QString page1Text()
{
    return joinLines({
        QStringLiteral("　１　このソフトの特徴"),
        QString(),
        QStringLiteral("　まず、所見を書こうと思う生徒を思いうかべてください。"
                       "どんな点をほめたいですか？　どんなことを伸ばしたいですか？。"
                       "迷っているときにお使いいただきたいソフトです。"),
        QStringLiteral("　「ことばん」には次のような特徴があります。"),
        QString(),
        QStringLiteral("（１）　学習面や行事などでほめたいことやがんばらせたいことを選んで"),
        QStringLiteral("　　　例文を選ぶことができます。"),
        QString(),
        QStringLiteral("（２）　学習面、生活面などの例文を合わせて所見文を作ることができます。"),
        QString(),
        QStringLiteral("（３）　所見文を修正して生徒にあう文章にすることができます。"),
        QString(),
        QStringLiteral("（４）　作成した所見文を他のソフトに貼り付けすることができます。"),
        QStringLiteral("　　　　（このプログラムには印刷する機能はありません^^;）"),
        QString(),
        QStringLiteral("（５）　新しい例文を作って、自分なりのデータを作成できます。"),
        QStringLiteral("　　　　（作成した新しい例文はプログラム終了時に自動的に保存されます）。"),
        QString(),
        QStringLiteral("※　半角のカンマ「,」はデータの区切りなので、例文には使わないでください。"),
    }, 1);
}

QString page2Text()
{
    return joinLines({
        QStringLiteral("　２　基本的な使い方"),
        QString(),
        QStringLiteral("(0) 所見を作成したい生徒のことを思い浮かべます｡"),
        QString(),
        QStringLiteral("(1) 上のオプションボタンをクリックして､項目を選びます｡"),
        QString(),
        QStringLiteral("(2) 左のリストボックスで分類の中から合うものを選んでクリックします｡"),
        QString(),
        QStringLiteral("(3) 中のリストボックスの中から合うものを選んでクリックします｡"),
        QString(),
        QStringLiteral("(4) 右のリストボックスの中から中から合うものを選んでクリックします｡"),
        QStringLiteral("　（テキストボックスに例文が表示されます。）"),
        QString(),
        QStringLiteral("(5) 「決定」をクリックすると、下のテキストボックスに内容がコピーされます｡"),
        QString(),
        QStringLiteral("(6) 「文章をコピー」をクリックするとクリップボードに内容コピーされます｡"),
        QString(),
        QStringLiteral("(7) 他のソフトウェア（ワード、エクセル、一太郎等）で"),
        QStringLiteral("　「編集　→　貼り付け」（または右クリックで「貼り付け」）をすると内容"),
        QStringLiteral("    がそのソフトウェアにコピーされます｡"),
        QString(),
        QStringLiteral("　※　「前文」「次文」をクリックすると、全例文を順に表示する事ができます。"),
    }, 0);
}

QString page3Text()
{
    return joinLines({
        QStringLiteral("　３　データの追加について"),
        QString(),
        QStringLiteral("　注意：　データの区切りとしてダブルクォーテーションと半角カンマ「,」"),
        QStringLiteral("　　を使っているので、例文に入れないでください｡次回起動したときに表示"),
        QStringLiteral("　　が変になります｡"),
        QString(),
        QStringLiteral("(1) テキストボックス内の例文を変更し「例文訂正」をクリックすると記憶"),
        QStringLiteral("　されます｡"),
        QString(),
        QStringLiteral("(2) 例文を変更し「例文追加」をクリックすると、新しい例文として記憶さ"),
        QStringLiteral("　れます｡"),
        QStringLiteral("(3) 例文を表示した状態で「例文削除」をクリックすると、その例文は削除"),
        QStringLiteral("　されます｡"),
        QString(),
        QStringLiteral("  ※ 例文はプログラム終了時に保存されます｡"),
        QString(),
        QStringLiteral("　※ 例文は各項目ごと最大300例（合計900例）までです｡"),
    }, 0);
}

QString page4Text()
{
    return joinLines({
        QStringLiteral("　４　例文データファイルについて"),
        QString(),
        QStringLiteral("    例文はテキストファイルなので､ワープロソフト等で編集できます｡"),
        QString(),
        QStringLiteral("　　　Kotoban1.txt　（「学習について」の例文データ）"),
        QStringLiteral("　　　Kotoban2.txt　（「道徳、特活、総合、行事」の例文データ）"),
        QStringLiteral("　　　Kotoban3.txt　（「日常生活について」の例文データ）"),
        QString(),
        QStringLiteral("  データの区切りに半角ダブルクォーテーションと半角カンマを使っています。"),
        QStringLiteral("      Kotoban1.txtの例文フォーマットは次のようになっています｡ "),
        QString(),
        QStringLiteral("        '学習について' 　　　　　　　　　　　　←1行目は項目名"),
        QStringLiteral("　　　　'５教科','全体','ほめたい','理解力あり。'　　←２行目からデータ"),
        QString(),
        QStringLiteral("  （本当は「'」ではなく、ダブルクォーテーションです。）"),
        QStringLiteral("  ※ 表示が変になってしまったときには､ワープロソフト等で半角カンマ"),
        QStringLiteral("    を削除して上の様なフォーマットにしてください｡"),
    }, 0);
}

QString page6Text()
{
    return joinLines({
        QStringLiteral("　６　その他"),
        QString(),
        QStringLiteral("　※　「決定」ボタンをクリックした時点でもするとクリップボードにデータ"),
        QStringLiteral("    をコピーしていますので､他のソフトウェアに貼り付けできます｡"),
        QString(),
        QStringLiteral("  ※ テキストボックスには､他のソフトウェアからのテキストデータの"),
        QStringLiteral("    貼り付けも可能です｡"),
        QString(),
        QStringLiteral("　※　テキストボックス内では、文を選択してドラッグ＆ドロップが可能です。"),
        QString(),
        QStringLiteral("  ※ データファイルを変更すれば､ツリー状にデータを表示する事を活用し"),
        QStringLiteral("    て他の用途にも使えるかもしれません｡活用方法を現在検討中です｡"),
    }, 3);
}

} // namespace

QString helpPageText(int page)
{
    switch (page) {
    case 1: return page1Text();
    case 2: return page2Text();
    case 3: return page3Text();
    case 4: return page4Text();
    case 5: return page6Text();
    default: return QString();
    }
}

QString aboutContactAddress()
{
    // A reserved example domain until the program has an address of its own.
    return QStringLiteral("kotoban@example.jp");
}

QString aboutMessage(const QString &contactAddress)
{
    return joinLines({
        QStringLiteral("「ことばん」は所見作成のためのツールです。"),
        QStringLiteral("生徒のよりよい成長のため、励まし文章の"),
        QStringLiteral("作成のためにお使い下さい。"),
        QString(),
        QStringLiteral("　　") + contactAddress,
        QStringLiteral(" 　　ことばん制作室"),
    }, 1);
}
