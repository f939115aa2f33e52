#include "DataFile.h"

#include "Characters.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Empty text that is not the unset (null) field.
QString emptyText() { return QStringLiteral(""); }

class FieldReader {
public:
    FieldReader(const QString &text, bool emptyMeansUnset)
        : m_text(text), m_emptyMeansUnset(emptyMeansUnset) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Reads the next field. At the end of the text the read fails and the field is unset.
    QString next()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
        if (atEnd())
            return unset();

        QString value;
        if (m_text[m_pos] == u'"') {
            qsizetype close = m_text.indexOf(u'"', m_pos + 1);
            if (close < 0)
                close = m_text.size();
            value = foldLineBreaks(m_text.mid(m_pos + 1, close - m_pos - 1));
            m_pos = qMin(close + 1, m_text.size());
            const qsizetype separator = nextSeparator();
            value += m_text.mid(m_pos, separator - m_pos);
            m_pos = separator;
        } else {
            const qsizetype separator = nextSeparator();
            value = m_text.mid(m_pos, separator - m_pos);
            m_pos = separator;
            if (value.isEmpty())
                value = unset();
        }
        skipSeparator();
        return value;
    }

private:
    QString unset() const { return m_emptyMeansUnset ? QString() : emptyText(); }

    qsizetype nextSeparator() const
    {
        qsizetype i = m_pos;
        while (i < m_text.size() && m_text[i] != u',' && !isLineEnd(m_text[i]))
            ++i;
        return i;
    }

    void skipSeparator()
    {
        if (atEnd())
            return;
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
                ++m_pos;
        } else if (m_text[m_pos] == u'\n') {
            ++m_pos;
        }
    }


    const QString &m_text;
    const bool m_emptyMeansUnset;
    qsizetype m_pos = 0;
};

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

} // namespace

DataFileContent parseDataFile(const QString &text, bool emptyMeansUnset)
{
    DataFileContent content;
    FieldReader reader(text, emptyMeansUnset);
    if (reader.atEnd())
        return content;
    content.title = reader.next();
    if (content.title.isNull())
        content.title = emptyText();
    while (!reader.atEnd()) {
        Example example;
        for (QString &field : example.field)
            field = reader.next();
        content.records.append(example);
    }
    return content;
}

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

LoadedFile readDataFile(const QString &path, bool emptyMeansUnset)
{
    LoadedFile loaded;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return loaded; // Missing
    QFile file(path);
    if (info.isDir()) {
        loaded.state = LoadedFile::State::Unreadable;
        loaded.error = QStringLiteral("同じ名前のフォルダーがあります");
        return loaded;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.state = LoadedFile::State::Unreadable;
        loaded.error = file.errorString();
        return loaded;
    }
    loaded.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        loaded.state = LoadedFile::State::Unreadable;
        loaded.error = file.errorString();
        loaded.bytes.clear();
        return loaded;
    }
    loaded.state = LoadedFile::State::Loaded;
    DecodedText decoded = decodeDataFile(loaded.bytes);
    loaded.encoding = decoded.encoding;
    loaded.badLines = decoded.badLines;
    loaded.content = parseDataFile(decoded.text, emptyMeansUnset);
    return loaded;
}

QByteArray encodeLibraryFile(const QString &title, const QList<Example> &records, Encoding encoding)
{
    QByteArray bytes = encodeText(formatDataFile(title, records), encoding).bytes;
    if (encoding == Encoding::Utf8Bom && !bytes.startsWith("\xEF\xBB\xBF"))
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}
