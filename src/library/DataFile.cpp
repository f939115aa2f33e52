#include "DataFile.h"

#include "Characters.h"
#include "SafeSave.h"

#include <algorithm>
#include <cstring>

namespace {

// Empty text that is not the unset (null) field.
QString emptyText() { return QStringLiteral(""); }

enum class Separator { None, Comma, LineEnd };

// Where one field lies in a sequence of code units.
struct FieldSpan {
    qsizetype begin = 0;      // its place, the blanks before it included
    qsizetype end = 0;        // after its separator
    qsizetype valueBegin = 0; // the text between the quotes, or the bare text
    qsizetype valueEnd = 0;
    qsizetype tailBegin = 0;  // after a closing quote, up to the separator
    qsizetype tailEnd = 0;
    bool present = false;     // false when the input ended before the field
    bool quoted = false;
    bool unclosed = false;    // a quote that nothing closes
    Separator separator = Separator::None;
};

// The code units the scanner reads: the characters of the decoded text, or the raw file's
// bytes (code page 932, UTF-8) or 16-bit units (UTF-16). The separators, the quote and the
// blank are ASCII and never part of a multi-byte character in any of these encodings, so
// the scanner finds the same fields over the raw file as over the text.
// find(c, from) is the place of the next c, or size(): the closing quote is looked for
// with the library's vector search, since it is most of the reading.
struct TextUnits {
    const QString &text;
    qsizetype size() const { return text.size(); }
    char16_t at(qsizetype i) const { return text.at(i).unicode(); }
    qsizetype find(char16_t c, qsizetype from) const
    {
        const qsizetype i = QStringView(text).indexOf(QChar(c), from);
        return i < 0 ? size() : i;
    }
};

struct ByteUnits {
    const char *data;
    qsizetype count;
    qsizetype size() const { return count; }
    char16_t at(qsizetype i) const { return uchar(data[i]); }
    qsizetype find(char16_t c, qsizetype from) const
    {
        const void *found = from < count ? std::memchr(data + from, c, size_t(count - from)) : nullptr;
        return found ? static_cast<const char *>(found) - data : count;
    }
};

// An odd last byte is one unit of its own, U+FFFD, as in the decoded text.
struct Utf16Units {
    const uchar *data;
    qsizetype bytes;
    bool bigEndian;
    qsizetype size() const { return (bytes + 1) / 2; }
    char16_t at(qsizetype i) const
    {
        if (2 * i + 1 >= bytes)
            return 0xFFFD;
        const uchar a = data[2 * i];
        const uchar b = data[2 * i + 1];
        return char16_t(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    qsizetype find(char16_t c, qsizetype from) const
    {
        while (from < size() && at(from) != c)
            ++from;
        return from;
    }
};

bool isLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

template<typename Units>
class FieldScanner {
public:
    explicit FieldScanner(const Units &units) : m_units(units) {}

    bool atEnd() const { return m_pos >= m_units.size(); }

    FieldSpan next()
    {
        FieldSpan span;
        span.begin = m_pos;
        while (m_pos < m_units.size() && m_units.at(m_pos) == u' ')
            ++m_pos;
        if (atEnd()) {
            span.end = span.valueBegin = span.valueEnd = span.tailBegin = span.tailEnd = m_pos;
            return span;
        }
        span.present = true;
        if (m_units.at(m_pos) == u'"') {
            span.quoted = true;
            span.valueBegin = m_pos + 1;
            const qsizetype close = m_units.find(u'"', span.valueBegin);
            span.unclosed = close == m_units.size();
            span.valueEnd = close;
            m_pos = qMin(close + 1, m_units.size());
            span.tailBegin = m_pos;
            span.tailEnd = m_pos = nextSeparator();
        } else {
            span.valueBegin = m_pos;
            span.valueEnd = span.tailBegin = span.tailEnd = m_pos = nextSeparator();
        }
        span.separator = skipSeparator();
        span.end = m_pos;
        return span;
    }

private:
    qsizetype nextSeparator() const
    {
        qsizetype i = m_pos;
        while (i < m_units.size() && m_units.at(i) != u',' && !isLineEnd(m_units.at(i)))
            ++i;
        return i;
    }

    Separator skipSeparator()
    {
        if (atEnd())
            return Separator::None;
        const char16_t c = m_units.at(m_pos++);
        if (c == u',')
            return Separator::Comma;
        if (c == u'\r' && m_pos < m_units.size() && m_units.at(m_pos) == u'\n')
            ++m_pos;
        return Separator::LineEnd;
    }

    const Units &m_units;
    qsizetype m_pos = 0;
};

QString valueOf(const QString &text, const FieldSpan &span, bool emptyMeansUnset)
{
    const QString unset = emptyMeansUnset ? QString() : emptyText();
    if (!span.present)
        return unset;
    if (span.quoted) {
        QString value = foldLineBreaks(text.mid(span.valueBegin, span.valueEnd - span.valueBegin));
        value += text.mid(span.tailBegin, span.tailEnd - span.tailBegin);
        return value;
    }
    const QString value = text.mid(span.valueBegin, span.valueEnd - span.valueBegin);
    return value.isEmpty() ? unset : value;
}

// Whether the field reads as like (some text), seen without copying it out.
bool readsAs(const QString &text, const FieldSpan &span, const QString &like)
{
    if (!span.present || like.isEmpty() || span.tailBegin != span.tailEnd)
        return false;
    return QStringView(text).sliced(span.valueBegin, span.valueEnd - span.valueBegin) == like;
}

// Counts the lines of the text up to places given in order, moving forward only.
class LineCounter {
public:
    explicit LineCounter(const QString &text) : m_text(text) {}

    int lineAt(qsizetype place)
    {
        while (m_pos < place && m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c == u'\r' && m_pos < m_text.size() && m_text.at(m_pos) == u'\n')
                ++m_pos;
            if (c == u'\r' || c == u'\n')
                ++m_line;
        }
        return m_line;
    }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// Notes the lines whose field count would shift the records, as the fields go by. It keeps
// where they start in the text and counts lines only for those, once the file is read: a
// sound file has none.
class LineShapeCheck {
public:
    void see(const FieldSpan &span)
    {
        if (!span.present)
            return;
        // A blank line shifts the fields only when something follows it.
        if (m_blankLine >= 0)
            m_wrongCount.append(m_blankLine);
        m_blankLine = -1;
        if (m_fields++ == 0)
            m_lineStart = span.begin;
        if (span.unclosed)
            m_unclosedQuote = span.valueBegin;
        if (span.separator == Separator::Comma)
            return;
        const int expected = m_titleLine ? 1 : 4;
        const bool blank = m_fields == 1 && !span.quoted && span.valueBegin == span.valueEnd;
        if (m_fields != expected && blank && !m_titleLine)
            m_blankLine = m_lineStart;
        else if (m_fields != expected && !span.unclosed)
            m_wrongCount.append(m_lineStart);
        m_fields = 0;
        m_titleLine = false;
    }

    // The lines seen, into content.
    void report(const QString &text, DataFileContent &content) const
    {
        LineCounter lines(text);
        for (qsizetype place : m_wrongCount)
            content.fieldCountLines.append(lines.lineAt(place));
        if (m_unclosedQuote >= 0)
            content.unclosedQuoteLine = LineCounter(text).lineAt(m_unclosedQuote);
    }

private:
    QList<qsizetype> m_wrongCount; // where those lines start, in order
    qsizetype m_unclosedQuote = -1;
    int m_fields = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_blankLine = -1; // a blank line not reported yet
    bool m_titleLine = true;
};

// What ends a field in the text.
StoredField::End endOf(const QString &text, const FieldSpan &span)
{
    switch (span.separator) {
    case Separator::Comma:
        return StoredField::End::Comma;
    case Separator::LineEnd:
        if (text.at(span.tailEnd) == u'\n')
            return StoredField::End::Lf;
        return span.end - span.tailEnd == 2 ? StoredField::End::CrLf : StoredField::End::Cr;
    case Separator::None:
        break;
    }
    return StoredField::End::Nothing;
}

// Gives each field the bytes it was read from, scanning the raw file alongside the text.
template<typename Units>
class RawFields {
public:
    RawFields(const Units &units, const QByteArray &bytes, qsizetype offset, int unitSize)
        : m_scanner(units), m_bytes(bytes), m_offset(offset), m_unitSize(unitSize) {}

    // False when the raw file does not show the same field (never expected; the caller
    // then keeps no bytes at all rather than wrong ones).
    bool store(const QString &text, const FieldSpan &textSpan, const QString &value, StoredField &stored)
    {
        const FieldSpan raw = m_scanner.next();
        if (raw.present != textSpan.present || raw.quoted != textSpan.quoted
            || raw.separator != textSpan.separator || raw.unclosed != textSpan.unclosed)
            return false;
        const qsizetype begin = byteAt(raw.begin);
        stored.file = m_bytes;
        stored.begin = qint32(begin);
        stored.size = qint32(byteAt(raw.end) - begin);
        stored.text = value;
        stored.end = endOf(text, textSpan);
        stored.unclosed = textSpan.unclosed;
        stored.read = true;
        return true;
    }
    bool atEnd() const { return m_scanner.atEnd(); }

private:
    qsizetype byteAt(qsizetype unit) const { return qMin(m_offset + unit * m_unitSize, m_bytes.size()); }

    FieldScanner<Units> m_scanner;
    const QByteArray &m_bytes;
    const qsizetype m_offset;
    const int m_unitSize;
};

// Parses the text; with raw, also gives the fields their bytes.
template<typename Raw>
DataFileContent parse(const QString &text, bool emptyMeansUnset, Raw *raw)
{
    DataFileContent content;
    const TextUnits units{text};
    FieldScanner<TextUnits> scanner(units);
    LineShapeCheck shape;
    bool matched = true;
    // like: the same field of the record before. Neighbouring examples mostly share their
    // classes, and then share one copy of the text.
    auto read = [&](QString &value, StoredField &stored, const QString *like) {
        const FieldSpan span = scanner.next();
        shape.see(span);
        value = like && readsAs(text, span, *like) ? *like : valueOf(text, span, emptyMeansUnset);
        if (raw && matched)
            matched = raw->store(text, span, value, stored);
    };

    if (scanner.atEnd())
        return content;
    read(content.title, content.storedTitle, nullptr);
    if (content.title.isNull())
        content.title = emptyText();
    content.storedTitle.text = content.title;
    // A record to a line, unless its sentence holds line breaks: room for all at once.
    const auto *begin = reinterpret_cast<const char16_t *>(text.constData());
    const auto *end = begin + text.size();
    content.records.reserve(qMax(std::count(begin, end, u'\n'), std::count(begin, end, u'\r')));
    while (!scanner.atEnd()) {
        Example example;
        Example::StoredFields stored;
        const Example *before = content.records.isEmpty() ? nullptr : &content.records.constLast();
        for (int f = 0; f < 4; ++f)
            read(example.field[f], stored[f], before && f < 3 ? &before->field[f] : nullptr);
        if (raw && matched)
            example.stored = QSharedPointer<const Example::StoredFields>::create(std::move(stored));
        content.records.append(std::move(example));
    }
    if (raw && (!matched || !raw->atEnd())) {
        content.storedTitle = {};
        for (Example &example : content.records)
            example.forgetStored();
    }
    shape.report(text, content);
    return content;
}

// No raw file: the text alone.
struct NoRaw {
    bool store(const QString &, const FieldSpan &, const QString &, StoredField &) { return true; }
    bool atEnd() const { return true; }
};

} // namespace

DataFileContent parseDataFile(const QString &text, bool emptyMeansUnset)
{
    return parse<NoRaw>(text, emptyMeansUnset, nullptr);
}

DataFileContent parseDataFile(const QByteArray &bytes, const DecodedText &decoded, bool emptyMeansUnset)
{
    const qsizetype mark = byteOrderMark(decoded.encoding).size();
    if (decoded.encoding == Encoding::Utf16Le || decoded.encoding == Encoding::Utf16Be) {
        const Utf16Units units{reinterpret_cast<const uchar *>(bytes.constData() + mark), bytes.size() - mark,
                               decoded.encoding == Encoding::Utf16Be};
        RawFields<Utf16Units> raw(units, bytes, mark, 2);
        return parse(decoded.text, emptyMeansUnset, &raw);
    }
    const ByteUnits units{bytes.constData() + mark, bytes.size() - mark};
    RawFields<ByteUnits> raw(units, bytes, mark, 1);
    return parse(decoded.text, emptyMeansUnset, &raw);
}

LoadedFile loadDataFile(const QByteArray &bytes, bool emptyMeansUnset)
{
    LoadedFile loaded;
    loaded.state = LoadedFile::State::Loaded;
    loaded.bytes = bytes;
    const DecodedText decoded = decodeDataFile(bytes);
    loaded.encoding = decoded.encoding;
    loaded.badLines = decoded.badLines;
    loaded.content = parseDataFile(bytes, decoded, emptyMeansUnset);
    return loaded;
}

LoadedFile readDataFile(const QString &path, bool emptyMeansUnset)
{
    ReadResult read = readRegularFile(path, MaxDataFileBytes);
    if (read.state == ReadResult::State::Read)
        return loadDataFile(read.bytes, emptyMeansUnset);
    LoadedFile loaded;
    if (read.state == ReadResult::State::Refused) {
        loaded.state = LoadedFile::State::Unreadable;
        loaded.error = read.error;
    }
    return loaded;
}
