#include "CodecDetail.h"

#include <array>

#include <windows.h>

// Code page 932 on Windows goes through the system's own converter. A data file must come
// out with the same bytes, and read back as the same text, as on Linux with glibc's CP932,
// so this file steps in where the two tables differ:
//  - Decoding: single bytes 0x80, 0xA0 and 0xFD to 0xFF are not characters for glibc;
//    Windows reads them as U+0080 and private-use characters. They are undecodable here too.
//  - Encoding: glibc also writes nine characters that a Linux input method types where
//    Windows has its own forms (WAVE DASH U+301C for FULLWIDTH TILDE, ...). Windows maps
//    them only through "best fit", which also turns many other characters into lookalikes
//    (À into A) behind the teacher's back, so best fit stays off and a table supplies them.
//    U+0080 and the four private-use characters are refused, as glibc refuses them.

namespace codec_detail {

namespace {

constexpr UINT CodePage = 932;

struct ExtraCode {
    char16_t character;
    const char *bytes;
};

constexpr std::array<ExtraCode, 9> InputMethodForms = {{
    {0x00A2, "\x81\x91"}, // CENT SIGN as FULLWIDTH CENT SIGN
    {0x00A3, "\x81\x92"}, // POUND SIGN as FULLWIDTH POUND SIGN
    {0x00A5, "\x5C"},     // YEN SIGN as the backslash byte (refused by unencodableCharacters)
    {0x00AC, "\x81\xCA"}, // NOT SIGN as FULLWIDTH NOT SIGN
    {0x2014, "\x81\x5C"}, // EM DASH as HORIZONTAL BAR
    {0x2016, "\x81\x61"}, // DOUBLE VERTICAL LINE as PARALLEL TO
    {0x203E, "\x7E"},     // OVERLINE as the tilde byte (refused by unencodableCharacters)
    {0x2212, "\x81\x7C"}, // MINUS SIGN as FULLWIDTH HYPHEN-MINUS
    {0x301C, "\x81\x60"}, // WAVE DASH as FULLWIDTH TILDE
}};

const char *inputMethodForm(char16_t c)
{
    for (const ExtraCode &extra : InputMethodForms)
        if (extra.character == c)
            return extra.bytes;
    return nullptr;
}

bool refusedByGlibc(char16_t c)
{
    return c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3);
}

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Single bytes that are never a character: a lone lead byte is handled by the caller.
bool isInvalidSingleByte(uchar b)
{
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// The text of bytes [begin, end) when every character in it is in the table; false when the
// system converter rejects one of them.
bool convertRun(const char *begin, qsizetype size, QString &out)
{
    if (size == 0)
        return true;
    const qsizetype start = out.size();
    out.resize(start + size);
    const int written = MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, begin, int(size),
                                            reinterpret_cast<wchar_t *>(out.data() + start), int(size));
    out.resize(written > 0 ? start + written : start);
    return written > 0;
}

// The bytes of text[begin, end) (no surrogates, none of the special characters), or false
// when the system converter cannot encode one of them.
bool encodeRun(const QString &text, qsizetype begin, qsizetype end, QByteArray &out)
{
    if (begin == end)
        return true;
    const qsizetype start = out.size();
    const qsizetype room = (end - begin) * 2;
    out.resize(start + room);
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS,
                                            reinterpret_cast<const wchar_t *>(text.constData() + begin),
                                            int(end - begin), out.data() + start, int(room), nullptr,
                                            &usedDefault);
    const bool ok = written > 0 && !usedDefault;
    out.resize(ok ? start + written : start);
    return ok;
}

} // namespace

DecodedText decodeCp932(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    QList<qsizetype> replaced;
    const char *const data = bytes.constData();
    const qsizetype size = bytes.size();

    // The length of the code starting at i if it is well formed (a single byte that can be
    // a character, or a lead byte with a trail byte after it), else 0.
    auto codeLength = [&](qsizetype i) -> qsizetype {
        const auto b = uchar(data[i]);
        if (isLeadByte(b))
            return i + 1 < size && isTrailByte(uchar(data[i + 1])) ? 2 : 0;
        return isInvalidSingleByte(b) ? 0 : 1;
    };
    // One code at i, as glibc reads it: a code that is not a character loses its first byte
    // alone, and the next byte may start a character again (a CR or LF always does).
    auto step = [&](qsizetype i) -> qsizetype {
        const qsizetype length = codeLength(i);
        if (length > 0 && convertRun(data + i, length, text))
            return i + length;
        replaced.append(text.size());
        text += QChar(char16_t(ReplacementCharacter));
        return i + 1;
    };

    qsizetype i = 0;
    while (i < size) {
        // As many well-formed codes as follow, converted in one call.
        qsizetype end = i;
        while (end < size) {
            const qsizetype length = codeLength(end);
            if (length == 0)
                break;
            end += length;
        }
        if (end > i && convertRun(data + i, end - i, text)) {
            i = end;
            continue;
        }
        // Something in there is not in the table (or i starts no character): code by code.
        do {
            i = step(i);
        } while (i < end);
    }

    DecodedText result;
    result.encoding = Encoding::Cp932;
    result.text = std::move(text);
    result.badLines = linesAt(result.text, replaced);
    return result;
}

EncodedText encodeCp932(const QString &text, bool withReplacement)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    UnencodableList unencodable(withReplacement);

    auto unencodableCharacter = [&](char32_t cp) {
        unencodable.add(cp);
        out += '?';
    };
    // Encodes text[from, to), characters the system converter may hold, in one call; when one
    // of them is not in the table, character by character.
    auto encode = [&](qsizetype from, qsizetype to) {
        if (encodeRun(text, from, to, out))
            return;
        for (qsizetype i = from; i < to; ++i) {
            if (!encodeRun(text, i, i + 1, out))
                unencodableCharacter(text.at(i).unicode());
        }
    };

    qsizetype runStart = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        const char16_t c = text.at(i).unicode();
        const char *extra = inputMethodForm(c);
        if (!extra && !QChar::isSurrogate(c) && !refusedByGlibc(c)) {
            ++i;
            continue;
        }
        encode(runStart, i);
        if (extra) {
            out += extra;
            ++i;
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            // Code page 932 holds nothing outside the Basic Multilingual Plane.
            unencodableCharacter(QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            i += 2;
        } else {
            unencodableCharacter(c);
            ++i;
        }
        runStart = i;
    }
    encode(runStart, size);
    return {std::move(out), unencodable.take()};
}

} // namespace codec_detail
