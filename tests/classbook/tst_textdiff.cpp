#include <QTest>

#include "ClassDiff.h"
#include "ClassNotation.h"
#include "TextDiff.h"

// Pieces written "=same", "-removed", "+added", joined by "|".
namespace {

QString notation(const QList<DiffPiece> &pieces)
{
    QStringList parts;
    for (const DiffPiece &piece : pieces) {
        const QChar sign = piece.kind == DiffPiece::Kind::Same ? u'=' : piece.kind == DiffPiece::Kind::Removed ? u'-' : u'+';
        parts.append(sign + piece.text);
    }
    return parts.join(u'|');
}

// What a diff says each class was, by its own pieces; "kind" is "before" or "after".
QString rebuilt(const QList<DiffPiece> &pieces, DiffPiece::Kind dropped)
{
    QString text;
    for (const DiffPiece &piece : pieces) {
        if (piece.kind != dropped)
            text += piece.text;
    }
    return text;
}

} // namespace

class TestTextDiff : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("pieces");
        QTest::newRow("unchanged") << "よくがんばりました。" << "よくがんばりました。" << "=よくがんばりました。";
        QTest::newRow("both empty") << "" << "" << "";
        QTest::newRow("written from nothing") << "" << "明るい。" << "+明るい。";
        QTest::newRow("all taken out") << "明るい。" << "" << "-明るい。";
        QTest::newRow("insertion inside") << "本を読みました。" << "本をたくさん読みました。" << "=本を|+たくさん|=読みました。";
        QTest::newRow("deletion inside") << "毎日とても元気です。" << "毎日元気です。" << "=毎日|-とても|=元気です。";
        QTest::newRow("replacement: removed before added")
            << "走るのが速い。" << "泳ぐのが速い。" << "-走る|+泳ぐ|=のが速い。";
        QTest::newRow("a shared character between larger changes is folded in")
            << "とても元気です。" << "いつも明るいです。" << "-とても元気|+いつも明るい|=です。";
        QTest::newRow("a match as long as the changes stays")
            << "あいう" << "かいく" << "-あ|+か|=い|-う|+く";
        QTest::newRow("surrogate pair replaced whole, never split")
            << "𠮷田さん" << "吉田さん" << "-𠮷|+吉|=田さん";
        QTest::newRow("surrogate pairs sharing a high surrogate")
            << "𠮷" << "𠮟" << "-𠮷|+𠮟";
        QTest::newRow("combining mark added to a letter: the cluster changes whole")
            << "かき" << "か\u3099き" << "-か|+か\u3099|=き";
        QTest::newRow("letter under a combining mark changed")
            << "e\u0301t\u00e9" << "a\u0301t\u00e9" << "-e\u0301|+a\u0301|=t\u00e9";
        QTest::newRow("half-width voiced mark stays with its letter") << "ﾊﾞｽ" << "ﾊｽ" << "-ﾊﾞ|+ﾊ|=ｽ";
        QTest::newRow("CR LF is one character") << "あ\r\nい" << "あ\nい" << "=あ|-\r\n|+\n|=い";
        QTest::newRow("line break added") << "一行目二行目" << "一行目\n二行目" << "=一行目|+\n|=二行目";
        QTest::newRow("two separate corrections")
            << "国語で漢字をがんばりました。算数も進んでいます。" << "国語で音読をがんばりました。算数もよく進んでいます。"
            << "=国語で|-漢字|+音読|=をがんばりました。算数も|+よく|=進んでいます。";
        // Over 64 edits the sentences are matched first: a sentence rewritten is replaced whole,
        // the sentences kept stay, and a sentence corrected is still marked character by character.
        const QString played = "休み時間には校庭で鬼ごっこをして、友だちと仲よく遊ぶ姿が毎日のように見られ、笑顔があふれていました。";
        const QString served = "給食当番の仕事を最後まで責任をもってやりとげ、学級のみんなのために進んで働く場面が増えてきています。";
        const QString kept = "漢字の練習にこつこつと取り組んでいます。";
        QTest::newRow("rewritten throughout") << played << served << "-" + played + "|+" + served;
        // The same characters in another order: too far apart for the character diff all the same.
        const QString forwards = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
                                 "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン";
        const QString turned = forwards.mid(46) + forwards.mid(0, 46);
        const QString longSentence = played.chopped(1) + "、" + kept.chopped(1);
        QTest::newRow("long sentence corrected at both ends")
            << "国語の" + longSentence + "算数。" << "音楽の" + longSentence + "図工。"
            << "-国語|+音楽|=の" + longSentence + "|-算数|+図工|=。";
        QTest::newRow("same characters, far apart") << forwards << turned << "-" + forwards + "|+" + turned;
        QTest::newRow("rewritten far apart: the sentence between stays")
            << played + kept + "音読では大きな声ではっきりと読むことができました。"
            << served + kept + "音読では大きな声で気持ちをこめて読むことができました。"
            << "-" + played + "|+" + served + "|=" + kept + "音読では大きな声で|-はっきりと|+気持ちをこめて|=読むことができました。";
    }
    void texts()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, pieces);
        const QList<DiffPiece> diff = diffTexts(before, after);
        QCOMPARE(notation(diff), pieces);
        QCOMPARE(rebuilt(diff, DiffPiece::Kind::Added), before);
        QCOMPARE(rebuilt(diff, DiffPiece::Kind::Removed), after);
    }

    void classes_data()
    {
        // Each class: fields, then pupils "number|name|sex|texts...". The result lists changes
        // as "pupil:field:pieces" (indices of the later class), then what came and went.
        QTest::addColumn<QString>("beforeFields");
        QTest::addColumn<QStringList>("beforePupils");
        QTest::addColumn<QString>("afterFields");
        QTest::addColumn<QStringList>("afterPupils");
        QTest::addColumn<QStringList>("expected");
        const QStringList two = {"1|青木 空||明るい。|元気。", "2|井上 海||静か。|"};
        QTest::newRow("nothing changed") << "所見:200,道徳:0" << two << "所見:200,道徳:0" << two << QStringList{};
        QTest::newRow("one text") << "所見:200,道徳:0" << two << "所見:200,道徳:0"
                                  << QStringList{"1|青木 空||明るい。|元気。", "2|井上 海||静かで優しい。|"}
                                  << QStringList{"1:0:=静か|+で優しい|=。"};
        QTest::newRow("a pupil renumbered keeps its texts")
            << "所見:200" << QStringList{"1|青木 空||明るい。", "2|井上 海||静か。"} << "所見:200"
            << QStringList{"1|阿部 陸||", "2|青木 空||明るい。", "3|井上 海||静か。"}
            << QStringList{"added 0", "renumbered 1 was 1", "renumbered 2 was 2"};
        QTest::newRow("a pupil gone") << "所見:200" << QStringList{"1|青木 空||明るい。", "2|井上 海||静か。"} << "所見:200"
                                      << QStringList{"2|井上 海||静か。"} << QStringList{"removed 青木 空"};
        QTest::newRow("blanks in a name compared loosely")
            << "所見:200" << QStringList{"1|青木 空||明るい。"} << "所見:200" << QStringList{"1|青木\u3000\u3000空||明るい。"}
            << QStringList{};
        QTest::newRow("two pupils of one name told apart by number")
            << "所見:200" << QStringList{"4|佐藤 翼||四番の文。", "9|佐藤 翼||九番の文。"} << "所見:200"
            << QStringList{"4|佐藤 翼||四番の文。", "9|佐藤 翼||九番の文だ。"} << QStringList{"1:0:=九番の文|+だ|=。"};
        QTest::newRow("a field renamed keeps its texts")
            << "所見:200,道徳:0" << two << "所見:200,特別の教科 道徳:0"
            << QStringList{"1|青木 空||明るい。|元気。", "2|井上 海||静か。|"} << QStringList{"field 1 was 道徳"};
        QTest::newRow("a field moved is matched by name")
            << "所見:200,道徳:0" << two << "道徳:0,所見:200"
            << QStringList{"1|青木 空||元気。|明るい。", "2|井上 海|||静か。"} << QStringList{};
        QTest::newRow("a field added lists its texts")
            << "所見:200" << QStringList{"1|青木 空||明るい。", "2|井上 海||静か。"} << "所見:200,外国語:0"
            << QStringList{"1|青木 空||明るい。|話せる。", "2|井上 海||静か。|"}
            << QStringList{"0:1:+話せる。", "added field 1"};
        QTest::newRow("a field removed") << "所見:200,道徳:0" << two << "所見:200"
                                         << QStringList{"1|青木 空||明るい。", "2|井上 海||静か。"} << QStringList{"removed field 道徳"};
    }
    void classes()
    {
        QFETCH(QString, beforeFields);
        QFETCH(QStringList, beforePupils);
        QFETCH(QString, afterFields);
        QFETCH(QStringList, afterPupils);
        QFETCH(QStringList, expected);
        const ClassDiff diff = diffClasses(classFrom(beforeFields, beforePupils), classFrom(afterFields, afterPupils));
        QStringList got;
        for (const FieldChange &change : diff.changes)
            got.append(QStringLiteral("%1:%2:%3").arg(change.pupil).arg(change.field).arg(notation(change.pieces)));
        for (const int pupil : diff.addedPupils)
            got.append(QStringLiteral("added %1").arg(pupil));
        for (const Pupil &pupil : diff.removedPupils)
            got.append(QStringLiteral("removed %1").arg(pupil.name));
        for (const RenumberedPupil &moved : diff.renumbered)
            got.append(QStringLiteral("renumbered %1 was %2").arg(moved.pupil).arg(moved.oldNumber));
        for (const RenamedField &renamed : diff.renamedFields)
            got.append(QStringLiteral("field %1 was %2").arg(renamed.field).arg(renamed.oldName));
        for (const int field : diff.addedFields)
            got.append(QStringLiteral("added field %1").arg(field));
        for (const QString &name : diff.removedFields)
            got.append(QStringLiteral("removed field %1").arg(name));
        QCOMPARE(got, expected);
        QCOMPARE(diff.isEmpty(), expected.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestTextDiff)
#include "tst_textdiff.moc"
