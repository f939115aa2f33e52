#include "Codec.h"

#include <QSet>
#include <QSysInfo>

#include <cerrno>
#include <cstdlib>
#include <iconv.h>

// Code page 932 goes through glibc's "CP932" converter: it holds Microsoft's table with the
// NEC and IBM extensions, reads 0x5C as a backslash, and also encodes the characters a Linux
// input method types where Windows has its own forms (WAVE DASH, MINUS SIGN, ...). Everything
// iconv-specific stays in this file, so that a Windows build can use the code page 932 API.
//
// Both directions make one iconv call over the whole text and only step in where iconv stops
// at a sequence it cannot convert.

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

// An iconv descriptor, kept per thread and direction: opening one loads the converter
// module, which costs more than converting a whole data file.
class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isValid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool isValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The descriptor in its initial state (CP932 is stateless, but a failed call may leave
    // half a character behind).
    iconv_t reset()
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

Iconv &cp932Decoder()
{
    thread_local Iconv cd(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE",
                          "CP932");
    return cd;
}

Iconv &cp932Encoder()
{
    thread_local Iconv cd("CP932", "UTF-8");
    return cd;
}

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
int readUtf8(const uchar *p, const uchar *end, char32_t &cp, bool allowSurrogates = false)
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

DecodedText decodeCp932(const QByteArray &bytes)
{
    // One code unit per byte at most: a two-byte code is one BMP character, and a rejected
    // byte becomes one U+FFFD.
    Utf16Output out(bytes.size());
    QList<qsizetype> replaced;
    auto *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());

    Iconv &decoder = cp932Decoder();
    if (!decoder.isValid()) {
        // No converter on this system: keep ASCII, mark everything else.
        for (; inLeft > 0; ++in, --inLeft) {
            if (uchar(*in) < 0x80) {
                out.put(char16_t(uchar(*in)));
            } else {
                replaced.append(out.unitsWritten());
                out.put(char16_t(ReplacementCharacter));
            }
        }
    } else {
        iconv_t cd = decoder.reset();
        while (inLeft > 0) {
            if (iconv(cd, &in, &inLeft, out.next(), out.left()) != size_t(-1))
                break;
            if (errno == E2BIG && out.room() < 8) {
                out.ensureRoom(64);
                continue;
            }
            // EILSEQ, or EINVAL for a lead byte cut off at the end: that one byte is lost,
            // the next one may start a character again (a CR or LF always does).
            replaced.append(out.unitsWritten());
            out.put(char16_t(ReplacementCharacter));
            ++in;
            --inLeft;
            cd = decoder.reset();
        }
    }

    DecodedText result;
    result.encoding = Encoding::Cp932;
    result.text = out.take();
    result.badLines = linesAt(result.text, replaced);
    return result;
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

// Collects the distinct unencodable characters in order of first occurrence.
class UnencodableList
{
public:
    void add(char32_t cp)
    {
        if (cp == ReplacementCharacter || m_seen.contains(cp))
            return;
        m_seen.insert(cp);
        appendCodePoint(m_characters, cp);
    }
    QString take() { return std::move(m_characters); }

private:
    QString m_characters;
    QSet<char32_t> m_seen;
};

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

EncodedText encodeCp932(const QString &text)
{
    const QByteArray utf8 = hasLoneSurrogate(text) ? toUtf8KeepingLoneSurrogates(text) : text.toUtf8();
    // Never longer than the UTF-8: every character takes at most as many bytes in code page 932.
    ByteOutput out(utf8.size());
    UnencodableList unencodable;
    auto *in = const_cast<char *>(utf8.constData());
    size_t inLeft = size_t(utf8.size());

    Iconv &encoder = cp932Encoder();
    iconv_t cd = encoder.isValid() ? encoder.reset() : nullptr;
    while (inLeft > 0) {
        if (cd) {
            if (iconv(cd, &in, &inLeft, out.next(), out.left()) != size_t(-1))
                break;
            if (errno == E2BIG && out.room() < 8) {
                out.ensureRoom(64);
                continue;
            }
        } else if (uchar(*in) < 0x80) {
            // No converter on this system: only ASCII gets through.
            out.put(*in++);
            --inLeft;
            continue;
        }
        // iconv stopped at a character it cannot encode: write '?' for that one character
        // (all of its bytes, so a surrogate pair stays one character) and go on after it.
        char32_t cp = ReplacementCharacter;
        const int length = readUtf8(reinterpret_cast<const uchar *>(in),
                                    reinterpret_cast<const uchar *>(in) + inLeft, cp, true);
        const size_t skip = size_t(std::abs(length));
        if (length > 0)
            unencodable.add(cp);
        out.put('?');
        in += skip;
        inLeft -= skip;
        if (cd)
            cd = encoder.reset();
    }
    return {out.take(), unencodable.take()};
}

EncodedText encodeUtf8(const QString &text, bool withBom)
{
    EncodedText result;
    if (withBom)
        result.bytes = Utf8Bom;

    qsizetype i = 0;
    while (i < text.size() && text.at(i) != QChar(char16_t(ReplacementCharacter)) && !text.at(i).isSurrogate())
        ++i;
    if (i == text.size()) {
        result.bytes += text.toUtf8();
        return result;
    }

    // Rare: a U+FFFD or a surrogate. Copy the runs between the ones that need '?'.
    UnencodableList unencodable;
    qsizetype start = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool lone = c.isSurrogate() && isLoneSurrogateAt(text, i);
        if (!lone && c != QChar(char16_t(ReplacementCharacter)))
            continue;
        result.bytes += QStringView(text).mid(start, i - start).toUtf8();
        result.bytes += '?';
        if (lone)
            unencodable.add(c.unicode());
        start = i + 1;
    }
    result.bytes += QStringView(text).mid(start).toUtf8();
    result.unencodable = unencodable.take();
    return result;
}

} // namespace

DecodedText decodeDataFile(const QByteArray &bytes)
{
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

EncodedText encodeText(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return encodeUtf8(text, false);
    case Encoding::Utf8Bom:
        return encodeUtf8(text, true);
    case Encoding::Cp932:
        break;
    }
    return encodeCp932(text);
}

QString unencodableCharacters(const QString &text, Encoding encoding)
{
    QString found = encodeText(text, encoding).unencodable;
    if (encoding == Encoding::Cp932) {
        // iconv writes the half-width ¥ and ‾ as the bytes of \ and ~, which read back as
        // those: a text holding them could not be stored as typed.
        for (const QChar c : {QChar(0x00A5), QChar(0x203E)})
            if (text.contains(c) && !found.contains(c))
                found += c;
    }
    return found;
}
