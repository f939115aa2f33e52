#include "SentenceRules.h"

#include "JoyoKanji.h"

#include <QList>

namespace {

// The sentence with what stands in brackets taken out, each character knowing where it was.
struct BareSentence {
    QString text;
    QList<qsizetype> at;
    qsizetype end = 0;    // the length without the end marks and blanks after the predicate
    QString marks;        // those end marks as written (for 「〜した。」)
};

// Asked of every character of every sentence at each 点検: a switch, not a search.
bool isOpening(QChar c)
{
    switch (c.unicode()) {
    case u'「': case u'『': case u'（': case u'(': case u'【':
        return true;
    default:
        return false;
    }
}
bool isClosing(QChar c)
{
    switch (c.unicode()) {
    case u'」': case u'』': case u'）': case u')': case u'】':
        return true;
    default:
        return false;
    }
}
bool isEndMark(QChar c) { return QStringView(u"。！？!?．.…‥〜～").contains(c) || c.isSpace(); }

BareSentence bare(QStringView sentence)
{
    // Written in place and cut to length once: appending a character at a time costs more
    // than the rest of the work.
    BareSentence result;
    result.text.resize(sentence.size());
    result.at.resize(sentence.size());
    QChar *text = result.text.data();
    qsizetype *at = result.at.data();
    qsizetype kept = 0;
    int depth = 0;
    for (qsizetype i = 0; i < sentence.size(); ++i) {
        const QChar c = sentence[i];
        if (isOpening(c)) {
            ++depth;
        } else if (isClosing(c)) {
            depth = std::max(0, depth - 1);
        } else if (depth == 0) {
            text[kept] = c;
            at[kept] = i;
            ++kept;
        }
    }
    result.text.truncate(kept);
    result.at.resize(kept);
    result.end = kept;
    while (result.end > 0 && isEndMark(result.text[result.end - 1]))
        --result.end;
    result.marks = result.text.mid(result.end).trimmed();
    return result;
}

bool isHiragana(QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x309F; }

// Kanji of the adjectives a comment uses, ending in い right after the kanji.
bool isAdjectiveKanji(QChar c)
{
    static const QStringView kanji = u"高強早速多広長良熱暑寒軽重深浅近遠若古青赤白黒痛偉安太細丸甘辛固硬堅鋭淡濃薄厚暗"
                                     u"緩弱狭低鈍怖賢清尊潔渋粗荒遅憎醜酸温暖短苦鋭";
    return kanji.contains(c);
}

bool isKanjiNumeral(QChar c) { return QStringView(u"一二三四五六七八九十百千幾").contains(c); }

// The style of a predicate that ends the text s, and how many of its characters make the ending.
SentenceStyle judge(QStringView s, qsizetype *endingLength)
{
    static const QStringView polite[] = {u"ませんでした", u"ましょう", u"ました", u"ません", u"でしょう",
                                         u"ください", u"下さい", u"でした", u"ます", u"です", u"ませ"};
    for (const QStringView ending : polite) {
        if (s.endsWith(ending)) {
            *endingLength = ending.size();
            return SentenceStyle::Polite;
        }
    }
    if (s.size() < 2)
        return SentenceStyle::Unknown;
    *endingLength = 2;
    const QChar last = s.back();
    const QChar before = s[s.size() - 2];
    const bool afterWord = isHiragana(before) || isKanji(before.unicode());
    if (last == u'だ' || last == u'た' || last == u'る')
        return afterWord ? SentenceStyle::Plain : SentenceStyle::Unknown;
    if (last == u'う')
        return afterWord && !QStringView(u"ょゅとよ").contains(before) ? SentenceStyle::Plain : SentenceStyle::Unknown;
    if (QStringView(u"くすむぶぐぬ").contains(last))
        return afterWord ? SentenceStyle::Plain : SentenceStyle::Unknown;
    if (last == u'つ')
        return isKanji(before.unicode()) && !isKanjiNumeral(before) ? SentenceStyle::Plain : SentenceStyle::Unknown;
    if (last == u'い') {
        if (s.endsWith(u"くらい") || s.endsWith(u"ぐらい"))
            return SentenceStyle::Unknown;
        if (QStringView(u"しなたかさきるごどろわまよいこぶずぽつら").contains(before) || isAdjectiveKanji(before))
            return SentenceStyle::Plain;
    }
    return SentenceStyle::Unknown;
}

SentenceEnding endingOf(const BareSentence &b)
{
    QStringView stem = QStringView(b.text).left(b.end);
    SentenceEnding ending;
    qsizetype length = 0;
    // A final particle or two after the predicate: ですね, だよね, ますか.
    for (int particles = 0; particles <= 2 && !stem.isEmpty(); ++particles) {
        ending.style = judge(stem, &length);
        if (ending.style != SentenceStyle::Unknown || !QStringView(u"ねよかなぞわ").contains(stem.back()))
            break;
        stem.chop(1);
    }
    if (ending.style == SentenceStyle::Unknown)
        return ending;
    // The plain ending is shown by its last two characters, as a reader names it (〜した。).
    const qsizetype from = stem.size() - length;
    ending.start = b.at[from];
    ending.shown = u'〜' + QStringView(b.text).mid(from, b.end - from).toString() + b.marks;
    return ending;
}

EndingKey keyOf(const BareSentence &b)
{
    constexpr int Compared = 3;
    if (b.marks.isEmpty() || b.end < Compared)
        return {};
    return {b.text.mid(b.end - Compared, Compared), b.at[b.end - Compared]};
}

} // namespace

SentenceTail sentenceTail(QStringView sentence)
{
    const BareSentence b = bare(sentence);
    return {endingOf(b), keyOf(b)};
}
