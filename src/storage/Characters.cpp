#include "Characters.h"

#include <QTextBoundaryFinder>

#include <algorithm>

qsizetype advanceCharacters(const QString &text, qsizetype from, int count)
{
    qsizetype end = from;
    for (int n = 0; n < count && end < text.size(); ++n)
        end += (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()) ? 2 : 1;
    return end;
}

QStringList distinctCharacters(const QString &text)
{
    DistinctValues characters;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype next = advanceCharacters(text, i, 1);
        characters.add(text.mid(i, next - i));
        i = next;
    }
    return characters.values();
}

QString foldLineBreaks(QString text)
{
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

int characterCount(const QString &text)
{
    QString visible = text;
    visible.remove(u'\r');
    visible.remove(u'\n');
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, visible);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

namespace {

// Characters that are a grapheme cluster of their own whatever stands beside them: printable
// ASCII, LF, Japanese punctuation, kana and kanji, full-width forms and half-width katakana
// (not the combining marks among them: U+302A-302F, U+3099-309A, U+FF9E-FF9F).
bool alwaysAlone(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || c == u'\n' || (c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098)
        || (c >= 0x309B && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF01 && c <= 0xFF9D);
}

} // namespace

QList<qsizetype> graphemeBoundaries(const QString &text)
{
    QList<qsizetype> boundaries;
    boundaries.reserve(text.size() + 1);
    // Most comments are Japanese text alone, where every character stands by itself: no need
    // to ask the boundary finder, which takes most of a class's diff otherwise.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return alwaysAlone(c.unicode()); })) {
        for (qsizetype i = 0; i <= text.size(); ++i)
            boundaries.append(i);
        return boundaries;
    }
    boundaries.append(0);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary())
        boundaries.append(next);
    return boundaries;
}
