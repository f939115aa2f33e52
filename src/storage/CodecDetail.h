#pragma once

// Pieces the codec's source files share; not part of the library's interface.

#include "Codec.h"

#include <QSet>

namespace codec_detail {

constexpr char32_t ReplacementCharacter = 0xFFFD;
// Output room for iconv in a QString or QByteArray that grows when iconv runs short.
template<typename Buffer, typename Unit>
class OutputBuffer
{
public:
    explicit OutputBuffer(qsizetype units) : m_buffer(units, Qt::Uninitialized) { m_next = begin(); }

    char **next() { return &m_next; }
    size_t *left() { return &m_left; }
    size_t room() const { return m_left; }

    void ensureRoom(size_t bytes)
    {
        if (m_left >= bytes)
            return;
        const size_t used = m_next - begin();
        m_buffer.resize(m_buffer.size() * 2 + qsizetype(bytes));
        m_next = begin() + used;
        m_left = size_t(m_buffer.size()) * sizeof(Unit) - used;
    }

    void put(Unit unit)
    {
        ensureRoom(sizeof(Unit));
        *reinterpret_cast<Unit *>(m_next) = unit;
        m_next += sizeof(Unit);
        m_left -= sizeof(Unit);
    }

    qsizetype unitsWritten() const
    {
        return qsizetype((m_next - reinterpret_cast<const char *>(m_buffer.constData())) / sizeof(Unit));
    }

    Buffer take()
    {
        m_buffer.truncate(unitsWritten());
        return std::move(m_buffer);
    }

private:
    char *begin()
    {
        m_left = size_t(m_buffer.size()) * sizeof(Unit);
        return reinterpret_cast<char *>(m_buffer.data());
    }

    Buffer m_buffer;
    char *m_next = nullptr;
    size_t m_left = 0;
};

using Utf16Output = OutputBuffer<QString, char16_t>;
using ByteOutput = OutputBuffer<QByteArray, char>;

// Reads one UTF-8 sequence at p (p < end). Returns its length and sets cp when it is well
// formed (shortest form, at most U+10FFFF, no surrogate unless allowSurrogates); otherwise
// returns minus the length of its longest valid-looking prefix (at least 1): the bytes that
// one U+FFFD stands for.
int readUtf8(const uchar *p, const uchar *end, char32_t &cp, bool allowSurrogates = false);

void appendCodePoint(QString &text, char32_t cp);

// The 1-based lines (ended by CR LF, a lone LF or a lone CR) that hold the given ascending
// positions of text, each line once.
QList<int> linesAt(const QString &text, const QList<qsizetype> &positions);
// Collects the distinct unencodable characters in order of first occurrence; U+FFFD
// only withReplacement.
class UnencodableList
{
public:
    explicit UnencodableList(bool withReplacement = false) : m_withReplacement(withReplacement) {}

    void add(char32_t cp)
    {
        if ((cp == ReplacementCharacter && !m_withReplacement) || m_seen.contains(cp))
            return;
        m_seen.insert(cp);
        appendCodePoint(m_characters, cp);
    }
    QString take() { return std::move(m_characters); }

private:
    const bool m_withReplacement;
    QString m_characters;
    QSet<char32_t> m_seen;
};
bool isLoneSurrogateAt(const QString &text, qsizetype i);
bool hasLoneSurrogate(const QString &text);
// UTF-8 in which a lone surrogate keeps its own three-byte sequence (QString::toUtf8 would
// turn it into '?' and hide it).
QByteArray toUtf8KeepingLoneSurrogates(const QString &text);

DecodedText decodeCp932(const QByteArray &bytes);
// With withReplacement, U+FFFD is reported among the unencodable characters.
EncodedText encodeCp932(const QString &text, bool withReplacement = false);

} // namespace codec_detail
