#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// How a data file is stored on disk. Teachers' files are code page 932 (what Japanese
// Windows writes); a file re-saved by a modern editor may come back as UTF-8, or as
// UTF-16 with a byte order mark, and is then written back the same way.
enum class Encoding { Cp932, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedText {
    QString text;
    Encoding encoding = Encoding::Cp932;
    QList<int> badLines; // 1-based lines holding bytes that could not be decoded (shown as U+FFFD)
};

// Detects the encoding (a UTF-16 or UTF-8 byte order mark, then strict UTF-8 with at least one non-ASCII
// byte, else code page 932) and decodes. Never fails: undecodable bytes become U+FFFD.
[[nodiscard]] DecodedText decodeDataFile(const QByteArray &bytes);

struct EncodedText {
    QByteArray bytes;
    QString unencodable; // distinct characters the encoding cannot hold, in order of first occurrence
};

// Encodes text (line breaks untouched), with the encoding's byte order mark if it has one.
// U+FFFD and every unencodable character are written as '?'; the unencodable ones (not
// U+FFFD) are reported.
[[nodiscard]] EncodedText encodeText(const QString &text, Encoding encoding);
// The same without the byte order mark: a piece of a file.
[[nodiscard]] EncodedText encodeFragment(const QString &text, Encoding encoding);
[[nodiscard]] QByteArray byteOrderMark(Encoding encoding);

// The distinct characters of text that encoding cannot hold, in order of first occurrence:
// U+FFFD (it stands for bytes that could not be read, and would be written as '?') counts
// as one in every encoding, so that adding or correcting refuses it.
[[nodiscard]] QString unencodableCharacters(const QString &text, Encoding encoding);
