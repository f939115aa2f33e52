#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Small text helpers the rules share.
//
// "Character" here is a Unicode code point: a surrogate pair is one character and is
// never split. Counts shown to the teacher (the composition's count label, a field's
// length against its limit) count what a reader sees instead: characterCount.

// The position after `count` characters from `from` (or the end of the text).
[[nodiscard]] qsizetype advanceCharacters(const QString &text, qsizetype from, int count);

// The first `count` characters of text.
[[nodiscard]] inline QString leftCharacters(const QString &text, int count)
{
    return text.left(advanceCharacters(text, 0, count));
}

// Characters as a reader counts them (grapheme clusters, so a letter with a combining
// mark is one), line breaks left out.
[[nodiscard]] int characterCount(const QString &text);

// Where each grapheme cluster of text starts, then text.size(): the pieces characterCount
// counts, for taking a text apart without splitting what a reader sees as one character.
[[nodiscard]] QList<qsizetype> graphemeBoundaries(const QString &text);

// Each distinct character of text once, in order of first occurrence.
[[nodiscard]] QStringList distinctCharacters(const QString &text);

// CR LF and lone CR become LF, the line break used inside the program.
[[nodiscard]] QString foldLineBreaks(QString text);

// Collects distinct values in order of first occurrence. A null value is collected as
// empty text: unset and empty are one class.
class DistinctValues {
public:
    void add(const QString &value)
    {
        if (!m_seen.contains(value)) {
            m_seen.insert(value);
            m_values.append(value.isNull() ? QStringLiteral("") : value);
        }
    }
    const QStringList &values() const { return m_values; }

private:
    QSet<QString> m_seen;
    QStringList m_values;
};
