#include "WordingPattern.h"

#include "JoyoKanji.h"

#include <QStringList>

#include <algorithm>

namespace {

enum CharClass : unsigned {
    Hiragana = 1,
    Katakana = 2,
    Kanji = 4,
    Digit = 8,
    Latin = 16,
};

const struct {
    const char *name;
    unsigned classes;
} ClassNames[] = {
    {"ひらがな", Hiragana}, {"カタカナ", Katakana}, {"かな", Hiragana | Katakana},
    {"漢字", Kanji},        {"数字", Digit},        {"英字", Latin},
};

unsigned classOf(char32_t c)
{
    if ((c >= 0x3041 && c <= 0x309F))
        return Hiragana;
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F))
        return Katakana;
    // 々 repeats the kanji before it: a kanji as far as a word is concerned.
    if (isKanji(c) || c == 0x3005)
        return Kanji;
    if ((c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19))
        return Digit;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A))
        return Latin;
    return 0;
}

bool isOpening(QChar c) { return c == u'［' || c == u'['; }
bool isClosing(QChar c) { return c == u'］' || c == u']'; }

} // namespace

CharCondition parseCharCondition(QStringView inside)
{
    CharCondition condition;
    condition.written = inside.toString();
    if (inside.endsWith(u"以外")) {
        condition.negated = true;
        inside.chop(2);
    }
    QString items = inside.toString();
    for (QChar &c : items) {
        if (c == u'、' || c == u'・' || c == u',' || c == u'　')
            c = u' ';
    }
    const QStringList list = items.split(u' ', Qt::SkipEmptyParts);
    // Nothing but separators: the separator itself is the character meant (［、］).
    if (list.isEmpty())
        condition.characters = inside.toString();
    for (const QString &item : list) {
        bool named = false;
        for (const auto &name : ClassNames) {
            if (item == QString::fromUtf8(name.name)) {
                condition.classes |= name.classes;
                named = true;
            }
        }
        if (!named)
            condition.characters += item;
    }
    return condition;
}

bool CharCondition::accepts(char32_t c) const
{
    if (!isSet())
        return true;
    bool listed = false;
    if (c != 0) {
        listed = (classOf(c) & classes) != 0;
        for (qsizetype i = 0; !listed && i < characters.size(); ++i) {
            int units = 1;
            listed = codePointAt(characters, i, &units) == c;
            i += units - 1;
        }
    }
    return listed != negated;
}

WordPattern parseWordPattern(QStringView written)
{
    WordPattern pattern;
    QStringView rest = written;
    auto bracketed = [&](bool atStart, CharCondition *condition) {
        if (rest.isEmpty() || !(atStart ? isOpening(rest.front()) : isClosing(rest.back())))
            return;
        // The nearest bracket of either width closes it.
        const qsizetype wide = atStart ? rest.indexOf(u'］') : rest.lastIndexOf(u'［');
        const qsizetype narrow = atStart ? rest.indexOf(u']') : rest.lastIndexOf(u'[');
        const qsizetype at = wide < 0 || narrow < 0 ? std::max(wide, narrow)
                                                    : (atStart ? std::min(wide, narrow) : std::max(wide, narrow));
        if (at < 0) {
            pattern.error = QStringLiteral("［ ］が閉じていません。");
            return;
        }
        const QStringView inside = atStart ? rest.mid(1, at - 1) : rest.mid(at + 1, rest.size() - at - 2);
        if (inside.trimmed().isEmpty() || inside.trimmed() == u"以外") {
            pattern.error = QStringLiteral("［ ］の中に文字がありません。");
            return;
        }
        *condition = parseCharCondition(inside.trimmed());
        rest = atStart ? rest.mid(at + 1) : rest.left(at);
    };
    bracketed(true, &pattern.before);
    if (pattern.error.isEmpty())
        bracketed(false, &pattern.after);
    if (!pattern.error.isEmpty())
        return pattern;
    pattern.word = rest.trimmed().toString();
    if (pattern.word.isEmpty())
        pattern.error = QStringLiteral("×表記に、［ ］のほかの言葉がありません。");
    else if (std::any_of(pattern.word.cbegin(), pattern.word.cend(), [](QChar c) { return isOpening(c) || isClosing(c); }))
        pattern.error = QStringLiteral("［ ］は×表記の前か後ろにだけ書けます。");
    return pattern;
}

QString patternText(const CharCondition &before, const QString &word, const CharCondition &after)
{
    QString text;
    if (before.isSet())
        text += u'［' + before.written + u'］';
    text += word;
    if (after.isSet())
        text += u'［' + after.written + u'］';
    return text;
}

bool conditionsHold(const CharCondition &before, const CharCondition &after, QStringView text, qsizetype start,
                    qsizetype length)
{
    if (before.isSet()) {
        char32_t c = 0;
        if (start > 0)
            c = start > 1 && text[start - 1].isLowSurrogate() && text[start - 2].isHighSurrogate()
                ? codePointAt(text, start - 2)
                : char32_t(text[start - 1].unicode());
        if (!before.accepts(c))
            return false;
    }
    return !after.isSet() || after.accepts(codePointAt(text, start + length));
}
