#include "DataFile.h"

namespace {

// Empty text that is not the unset (null) field.
QString emptyText() { return QStringLiteral(""); }

void appendField(QString &out, const QString &field)
{
    if (field.isNull())
        return;
    out += u'"';
    if (field.contains(u'\n')) {
        QString text = field;
        text.replace(u'\n', QStringLiteral("\r\n"));
        out += text;
    } else {
        out += field;
    }
    out += u'"';
}

// Writes the pieces of a file in order: bytes kept as read, and new text encoded in runs.
class PieceWriter {
public:
    PieceWriter(Encoding encoding, QString lineEnd)
        : m_encoding(encoding), m_lineEnd(std::move(lineEnd)), m_out(byteOrderMark(encoding)) {}

    const QString &lineEnd() const { return m_lineEnd; }

    // A field as read. One the end of the file cut off is closed with closing if anything
    // follows it (and its quote too, if nothing closed it).
    void addStored(const StoredField &stored, const QString &closing)
    {
        if (stored.size == 0 && stored.end == StoredField::End::Nothing) {
            // Nothing in the file: its separator is owed only if something follows.
            m_open += closing;
            return;
        }
        closeOpenField();
        keepApartFromLoneCr(unitAt(stored.bytes(), 0) == u'\n');
        flush();
        m_out += stored.bytes();
        if (stored.end == StoredField::End::Nothing)
            m_open = (stored.unclosed ? QStringLiteral("\"") : QString()) + closing;
    }

    // A field written anew and its separator; without one, closed as above.
    void addNew(const QString &field, const QString &separator, const QString &closing)
    {
        closeOpenField();
        keepApartFromLoneCr(field.isNull() && separator.startsWith(u'\n'));
        appendField(m_pending, field);
        m_pending += separator;
        m_open = separator.isEmpty() ? closing : QString();
    }

    QByteArray take()
    {
        flush();
        return std::move(m_out);
    }

private:
    void closeOpenField()
    {
        // A UTF-16 file cut off after an odd byte (read as U+FFFD): the byte must go before
        // anything follows, or every later character would be read askew.
        if (m_out.size() % 2 && isUtf16())
            m_out.chop(1);
        m_pending += m_open;
        m_open.clear();
    }

    bool isUtf16() const { return m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be; }

    char16_t unitAt(QByteArrayView bytes, qsizetype i) const
    {
        const int size = isUtf16() ? 2 : 1;
        if (i < 0 || (i + 1) * size > bytes.size())
            return 0;
        if (size == 1)
            return uchar(bytes[i]);
        const uchar a = uchar(bytes[2 * i]);
        const uchar b = uchar(bytes[2 * i + 1]);
        return char16_t(m_encoding == Encoding::Utf16Be ? (a << 8) | b : (b << 8) | a);
    }

    // A line ended by a lone CR, followed by a field that starts with LF (an empty field
    // ended by LF): together they would read as one CR LF and the empty field would be
    // lost. The CR becomes a CR LF, which keeps both.
    void keepApartFromLoneCr(bool nextStartsWithLf)
    {
        if (!nextStartsWithLf)
            return;
        const bool loneCr = m_pending.isEmpty() ? unitAt(m_out, m_out.size() / (isUtf16() ? 2 : 1) - 1) == u'\r'
                                                : m_pending.endsWith(u'\r');
        if (loneCr)
            m_pending += u'\n';
    }

    void flush()
    {
        if (m_pending.isEmpty())
            return;
        m_out += encodeFragment(m_pending, m_encoding).bytes;
        m_pending.clear();
    }

    const Encoding m_encoding;
    const QString m_lineEnd;
    QByteArray m_out;
    QString m_pending;
    QString m_open;
};

// How the file ends its lines: as its first line end read, else CR LF.
QString lineEndOf(const StoredField &title, const QVector<Example> &records)
{
    auto lineEnd = [](const StoredField &stored) {
        return stored.read && stored.end != StoredField::End::Comma ? stored.separator() : QString();
    };
    if (const QString end = lineEnd(title); !end.isEmpty())
        return end;
    for (const Example &example : records)
        for (int f = 0; f < 4; ++f)
            if (const QString end = lineEnd(example.storedField(f)); !end.isEmpty())
                return end;
    return QStringLiteral("\r\n");
}

void writeField(PieceWriter &writer, const QString &value, const StoredField &stored, bool lastOfLine)
{
    const QString closing = lastOfLine ? writer.lineEnd() : QStringLiteral(",");
    if (stored.holds(value)) {
        writer.addStored(stored, closing);
        return;
    }
    // A changed field keeps its place's separator, so the record keeps its line end.
    writer.addNew(value, stored.read ? stored.separator() : closing, closing);
}

} // namespace

QString formatDataFile(const QString &title, const QVector<Example> &records)
{
    QString out;
    out.reserve(64 + records.size() * 64);
    appendField(out, title.isNull() ? emptyText() : title);
    out += QStringLiteral("\r\n");
    for (const Example &example : records) {
        for (int f = 0; f < 4; ++f) {
            if (f > 0)
                out += u',';
            appendField(out, example.field[f]);
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

QByteArray encodeDataFile(const QString &title, const StoredField &storedTitle, const QVector<Example> &records,
                          Encoding encoding)
{
    PieceWriter writer(encoding, lineEndOf(storedTitle, records));
    writeField(writer, title.isNull() ? emptyText() : title, storedTitle, true);
    for (const Example &example : records)
        for (int f = 0; f < 4; ++f)
            writeField(writer, example.field[f], example.storedField(f), f == 3);
    return writer.take();
}

QByteArray encodeLibraryFile(const QString &title, const QList<Example> &records, Encoding encoding)
{
    return encodeText(formatDataFile(title, records), encoding).bytes;
}
