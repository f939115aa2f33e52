#include "Characters.h"

#include <QTextBoundaryFinder>

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

QList<qsizetype> graphemeBoundaries(const QString &text)
{
    QList<qsizetype> boundaries{0};
    boundaries.reserve(text.size() + 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary())
        boundaries.append(next);
    return boundaries;
}
