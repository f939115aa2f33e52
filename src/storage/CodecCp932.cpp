#include "CodecDetail.h"

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

namespace codec_detail {

namespace {

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

} // namespace


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


EncodedText encodeCp932(const QString &text, bool withReplacement)
{
    const QByteArray utf8 = hasLoneSurrogate(text) ? toUtf8KeepingLoneSurrogates(text) : text.toUtf8();
    // Never longer than the UTF-8: every character takes at most as many bytes in code page 932.
    ByteOutput out(utf8.size());
    UnencodableList unencodable(withReplacement);
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
} // namespace codec_detail
