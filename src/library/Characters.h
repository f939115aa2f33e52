#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Small text helpers the rules share.
//
// "Character" here is a Unicode code point: a surrogate pair is one character and is
// never split. The composition's count label counts what a reader sees (grapheme
// clusters) instead, and says so where it counts.

// The position after `count` characters from `from` (or the end of the text).
[[nodiscard]] qsizetype advanceCharacters(const QString &text, qsizetype from, int count);

// The first `count` characters of text.
[[nodiscard]] inline QString leftCharacters(const QString &text, int count)
{
    return text.left(advanceCharacters(text, 0, count));
}

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
