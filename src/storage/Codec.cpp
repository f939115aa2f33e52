#include "CodecDetail.h"

#include <QStringList>


// UTF-8 and UTF-16 here, code page 932 in CodecCp932.cpp; this file also picks the
// encoding of a data file and dispatches.

namespace codec_detail {

// Reads one UTF-8 sequence at p (p < end). Returns its length and sets cp when it is well
// formed (shortest form, at most U+10FFFF, no surrogate unless allowSurrogates); otherwise
// returns minus the length of its longest valid-looking prefix (at least 1): the bytes that
// one U+FFFD stands for.
int readUtf8(const uchar *p, const uchar *end, char32_t &cp, bool allowSurrogates)
{
    const uchar lead = *p;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    int length = 0;
    char32_t value = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0; // overlong below U+0800
        else if (lead == 0xED && !allowSurrogates)
            high = 0x9F; // U+D800..U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90; // overlong below U+10000
        else if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        if (p + i == end || p[i] < low || p[i] > high)
            return -i;
        value = (value << 6) | (p[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    cp = value;
    return length;
}


void appendCodePoint(QString &text, char32_t cp)
{
    if (cp > 0xFFFF) {
        text += QChar(QChar::highSurrogate(cp));
        text += QChar(QChar::lowSurrogate(cp));
    } else {
        text += QChar(char16_t(cp));
    }
}

// The 1-based lines (ended by CR LF, a lone LF or a lone CR) that hold the given ascending
// positions of text, each line once.
QList<int> linesAt(const QString &text, const QList<qsizetype> &positions)
{
    QList<int> lines;
    const QChar *const d = text.constData();
    const qsizetype size = text.size();
    int line = 1;
    qsizetype k = 0;
    for (qsizetype i = 0; i < size && k < positions.size(); ++i) {
        if (i == positions[k]) {
            if (lines.isEmpty() || lines.constLast() != line)
                lines.append(line);
            ++k;
        } else if (d[i] == u'\r') {
            if (i + 1 < size && d[i + 1] == u'\n')
                ++i;
            ++line;
        } else if (d[i] == u'\n') {
            ++line;
        }
    }
    return lines;
}

bool isLoneSurrogateAt(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSurrogate() && isLoneSurrogateAt(text, i))
            return true;
    }
    return false;
}

// UTF-8 in which a lone surrogate keeps its own three-byte sequence (QString::toUtf8 would
// turn it into '?' and hide it), so that iconv stops there and it gets reported.
QByteArray toUtf8KeepingLoneSurrogates(const QString &text)
{
    QByteArray utf8;
    utf8.reserve(text.size() * 3);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSurrogate() || !isLoneSurrogateAt(text, i))
            continue;
        utf8 += QStringView(text).mid(start, i - start).toUtf8();
        const char16_t u = text.at(i).unicode();
        utf8 += char(0xE0 | (u >> 12));
        utf8 += char(0x80 | ((u >> 6) & 0x3F));
        utf8 += char(0x80 | (u & 0x3F));
        start = i + 1;
    }
    utf8 += QStringView(text).mid(start).toUtf8();
    return utf8;
}
} // namespace codec_detail

using namespace codec_detail;

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
// Strictly valid UTF-8 holding at least one non-ASCII character.
bool isNonAsciiUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const uchar *const end = p + bytes.size();
    bool nonAscii = false;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t cp;
        const int length = readUtf8(p, end, cp);
        if (length < 0)
            return false;
        nonAscii = true;
        p += length;
    }
    return nonAscii;
}
// UTF-8 after a byte order mark: trusted as UTF-8 even where it is broken.
DecodedText decodeUtf8Lenient(const char *data, qsizetype size)
{
    Utf16Output out(size);
    QList<qsizetype> replaced;
    const auto *p = reinterpret_cast<const uchar *>(data);
    const uchar *const end = p + size;
    while (p < end) {
        char32_t cp;
        const int length = readUtf8(p, end, cp);
        if (length < 0) {
            replaced.append(out.unitsWritten());
            out.put(char16_t(ReplacementCharacter));
            p += -length;
        } else if (cp > 0xFFFF) {
            out.put(QChar::highSurrogate(cp));
            out.put(QChar::lowSurrogate(cp));
            p += length;
        } else {
            out.put(char16_t(cp));
            p += length;
        }
    }

    DecodedText result;
    result.encoding = Encoding::Utf8Bom;
    result.text = out.take();
    result.badLines = linesAt(result.text, replaced);
    return result;
}


EncodedText encodeUtf8(const QString &text, bool withReplacement)
{
    EncodedText result;

    qsizetype i = 0;
    while (i < text.size() && text.at(i) != QChar(char16_t(ReplacementCharacter)) && !text.at(i).isSurrogate())
        ++i;
    if (i == text.size()) {
        result.bytes += text.toUtf8();
        return result;
    }

    // Rare: a U+FFFD or a surrogate. Copy the runs between the ones that need '?'.
    UnencodableList unencodable(withReplacement);
    qsizetype start = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool lone = c.isSurrogate() && isLoneSurrogateAt(text, i);
        if (!lone && c != QChar(char16_t(ReplacementCharacter)))
            continue;
        result.bytes += QStringView(text).mid(start, i - start).toUtf8();
        result.bytes += '?';
        unencodable.add(c.unicode());
        start = i + 1;
    }
    result.bytes += QStringView(text).mid(start).toUtf8();
    result.unencodable = unencodable.take();
    return result;
}

// UTF-16 after its byte order mark. Every code unit becomes one character at the same
// place, so positions in the text are positions in the file: a lone surrogate and an odd
// last byte become U+FFFD.
DecodedText decodeUtf16(const char *data, qsizetype size, bool bigEndian)
{
    const qsizetype units = size / 2;
    QString text(units + size % 2, Qt::Uninitialized);
    QList<qsizetype> replaced;
    const auto *p = reinterpret_cast<const uchar *>(data);
    for (qsizetype i = 0; i < units; ++i) {
        const uchar a = p[2 * i];
        const uchar b = p[2 * i + 1];
        text[i] = QChar(char16_t(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    for (qsizetype i = 0; i < units; ++i) {
        if (text.at(i).isSurrogate() && isLoneSurrogateAt(text, i))
            replaced.append(i);
    }
    for (const qsizetype i : std::as_const(replaced))
        text[i] = QChar(char16_t(ReplacementCharacter));
    if (size % 2) {
        replaced.append(units);
        text[units] = QChar(char16_t(ReplacementCharacter));
    }

    DecodedText result;
    result.encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
    result.text = std::move(text);
    result.badLines = linesAt(result.text, replaced);
    return result;
}

// U+FFFD and lone surrogates as '?', like the other encodings write what they cannot hold.
EncodedText encodeUtf16(const QString &text, bool bigEndian, bool withReplacement)
{
    EncodedText result;
    result.bytes.reserve(text.size() * 2);
    UnencodableList unencodable(withReplacement);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t u = text.at(i).unicode();
        if (text.at(i).isSurrogate() && isLoneSurrogateAt(text, i)) {
            unencodable.add(u);
            u = u'?';
        } else if (u == ReplacementCharacter) {
            unencodable.add(u);
            u = u'?';
        }
        result.bytes += char(bigEndian ? u >> 8 : u & 0xFF);
        result.bytes += char(bigEndian ? u & 0xFF : u >> 8);
    }
    result.unencodable = unencodable.take();
    return result;
}

EncodedText encodeFragment(const QString &text, Encoding encoding, bool withReplacement)
{
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        return encodeUtf8(text, withReplacement);
    case Encoding::Utf16Le:
        return encodeUtf16(text, false, withReplacement);
    case Encoding::Utf16Be:
        return encodeUtf16(text, true, withReplacement);
    case Encoding::Cp932:
        break;
    }
    return encodeCp932(text, withReplacement);
}

} // namespace

DecodedText decodeDataFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes.constData() + 2, bytes.size() - 2, false);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes.constData() + 2, bytes.size() - 2, true);
    if (bytes.startsWith(Utf8Bom))
        return decodeUtf8Lenient(bytes.constData() + 3, bytes.size() - 3);
    if (isNonAsciiUtf8(bytes)) {
        DecodedText result;
        result.encoding = Encoding::Utf8;
        result.text = QString::fromUtf8(bytes);
        return result;
    }
    return decodeCp932(bytes);
}

QByteArray byteOrderMark(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom:
        return QByteArray(Utf8Bom);
    case Encoding::Utf16Le:
        return QByteArray("\xFF\xFE", 2);
    case Encoding::Utf16Be:
        return QByteArray("\xFE\xFF", 2);
    case Encoding::Cp932:
    case Encoding::Utf8:
        break;
    }
    return {};
}

EncodedText encodeFragment(const QString &text, Encoding encoding)
{
    return encodeFragment(text, encoding, false);
}

EncodedText encodeText(const QString &text, Encoding encoding)
{
    EncodedText encoded = encodeFragment(text, encoding);
    encoded.bytes.prepend(byteOrderMark(encoding));
    return encoded;
}

QString unencodableCharacters(const QString &text, Encoding encoding)
{
    // U+FFFD stands for bytes that could not be read: the file would get '?' in its place,
    // whatever its encoding.
    QString found = encodeFragment(text, encoding, true).unencodable;
    if (encoding == Encoding::Cp932) {
        // iconv writes the half-width ¥ and ‾ as the bytes of \ and ~, which read back as
        // those: a text holding them could not be stored as typed.
        for (const QChar c : {QChar(0x00A5), QChar(0x203E)})
            if (text.contains(c) && !found.contains(c))
                found += c;
    }
    return found;
}
