#include "CommentText.h"

#include "Characters.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool isLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

bool isSentenceEnd(QChar c) { return c == u'。' || c == u'！' || c == u'？'; }

// What may follow the end of a sentence and still belong to it.
bool isSentenceTail(QChar c)
{
    static const QStringView tails = u"。！？!?」』）)】〉》〕］｝”’\"'";
    return tails.contains(c);
}

// A character that is a grapheme cluster of its own whatever surrounds it: no combining or
// joining mark, no surrogate, no Hangul jamo. The ranges cover what Japanese comments are made of.
bool standsAlone(char16_t c)
{
    if (c < 0x0300)
        return true;
    if (c >= 0x3000 && c <= 0x30FF)
        return !(c >= 0x302A && c <= 0x302F) && c != 0x3099 && c != 0x309A;
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF9D);
}

} // namespace

int countedLength(const QString &text)
{
    int length = 0;
    for (const QChar c : text) {
        if (isLineBreak(c))
            continue;
        if (!standsAlone(c.unicode()))
            return characterCount(text);
        ++length;
    }
    return length;
}

qsizetype positionAfterCharacters(const QString &text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    int counted = 0;
    while (counted < count) {
        const qsizetype end = finder.toNextBoundary();
        if (end < 0)
            return text.size();
        const QStringView grapheme = QStringView(text).mid(start, end - start);
        if (!std::all_of(grapheme.begin(), grapheme.end(), isLineBreak))
            ++counted;
        start = end;
    }
    // Line breaks right at the limit belong to neither side: the part beyond starts after them.
    while (start < text.size() && isLineBreak(text[start]))
        ++start;
    return start;
}

bool isBlank(QChar c) { return !isLineBreak(c) && c.isSpace(); }

bool isBlankText(QStringView text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

QList<SentenceSpan> sentenceSpans(QStringView text)
{
    QList<SentenceSpan> spans;
    auto add = [&](qsizetype start, qsizetype end) {
        while (start < end && isBlank(text[start]))
            ++start;
        while (end > start && isBlank(text[end - 1]))
            --end;
        if (end > start)
            spans.append({start, end - start});
    };
    qsizetype start = 0;
    qsizetype i = 0;
    int quoted = 0; // depth of 「」『』（）: a 。 inside quoted speech does not end the sentence
    while (i < text.size()) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            add(start, i);
            start = ++i;
            quoted = 0;
        } else if (c == u'「' || c == u'『' || c == u'（') {
            ++quoted;
            ++i;
        } else if (c == u'」' || c == u'』' || c == u'）') {
            quoted = std::max(0, quoted - 1);
            ++i;
        } else if (isSentenceEnd(c) && quoted == 0) {
            ++i;
            while (i < text.size() && isSentenceTail(text[i]))
                ++i;
            add(start, i);
            start = i;
        } else {
            ++i;
        }
    }
    add(start, text.size());
    return spans;
}
