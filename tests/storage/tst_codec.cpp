#include <QRandomGenerator>
#include <QTest>

#include "Codec.h"
#include "TestFiles.h"

#include <QHash>

#ifndef Q_OS_WIN
#include <iconv.h>
#endif

Q_DECLARE_METATYPE(Encoding)

namespace {

const QChar Fffd(0xFFFD);

// glibc's CP932 reading of every code, recorded on Linux by make-cp932-table.py: the
// Windows build must read and write the same. Maps a code to its character.
QHash<QByteArray, QString> recordedTable()
{
    QHash<QByteArray, QString> table;
    for (const QByteArray &line : testData(QStringLiteral("cp932-glibc.txt")).split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() == 2)
            table.insert(QByteArray::fromHex(fields[0]), QString(QChar(char16_t(fields[1].toUInt(nullptr, 16)))));
    }
    return table;
}

#ifndef Q_OS_WIN
// glibc's own CP932 reading of one code, independent of the codec under test; a null
// string when iconv rejects the code.
QString iconvDecode(iconv_t cd, const QByteArray &code)
{
    char16_t out[8];
    auto *in = const_cast<char *>(code.constData());
    size_t inLeft = size_t(code.size());
    auto *outp = reinterpret_cast<char *>(out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outp, &outLeft) == size_t(-1) || inLeft != 0)
        return {};
    return QString(reinterpret_cast<const QChar *>(out), qsizetype((sizeof out - outLeft) / 2));
}
#endif

int lineCount(const QString &text)
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++lines;
    }
    return lines;
}

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

class TestCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeCodePageRoundTrips();
    void knownCodes_data();
    void knownCodes();
    void inputMethodForms_data();
    void inputMethodForms();
    void unencodable_data();
    void unencodable();
    void detection_data();
    void detection();
    void undecodableBytes_data();
    void undecodableBytes();
    void errorsDeepInLongText();
    void randomInputNeverCrashes();
};

// Every character the code page holds, taken from iconv code by code, must survive a save
// and a reload; duplicate codes come back as their standard code, with the same character.
void TestCodec::wholeCodePageRoundTrips()
{
    const QHash<QByteArray, QString> recorded = recordedTable();
    QVERIFY(!recorded.isEmpty());
#ifndef Q_OS_WIN
    iconv_t cd = iconv_open(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE", "CP932");
    QVERIFY(cd != reinterpret_cast<iconv_t>(-1));
#endif
    QList<QByteArray> codes;
    for (int b = 0; b < 0x100; ++b)
        codes.append(QByteArray(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F)
                codes.append(QByteArray() + char(lead) + char(trail));
        }
    }

    QString all;
    int characters = 0;
    int duplicates = 0;
    for (const QByteArray &code : std::as_const(codes)) {
        const QString character = recorded.value(code);
#ifndef Q_OS_WIN
        QVERIFY2(iconvDecode(cd, code) == character, code.toHex().constData()); // the record is glibc's
#endif
        if (character.isNull()) {
            // Not a character: read as U+FFFD, never as something else.
            QVERIFY2(decodeDataFile(code).text.contains(Fffd), code.toHex().constData());
            continue;
        }
        ++characters;
        all += character;
        const EncodedText encoded = encodeText(character, Encoding::Cp932);
        const DecodedText back = decodeDataFile(encoded.bytes);
        QVERIFY2(decodeDataFile(code).text == character, code.toHex().constData());
        QVERIFY2(encoded.unencodable.isEmpty() && back.text == character && back.badLines.isEmpty(),
                 code.toHex().constData());
        if (encoded.bytes != code)
            ++duplicates;
    }
#ifndef Q_OS_WIN
    iconv_close(cd);
#endif
    QVERIFY(characters > 7000);
    QCOMPARE(duplicates, 398);

    const EncodedText encoded = encodeText(all, Encoding::Cp932);
    QVERIFY(encoded.unencodable.isEmpty());
    const DecodedText back = decodeDataFile(encoded.bytes);
    QCOMPARE(back.encoding, Encoding::Cp932);
    QVERIFY(back.badLines.isEmpty());
    QCOMPARE(back.text, all);
}

void TestCodec::knownCodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("savedAs"); // the standard code the character is written back as

    QTest::newRow("circled one (NEC)") << QByteArray("\x87\x40") << u("①") << QByteArray("\x87\x40");
    QTest::newRow("kabushiki (NEC)") << QByteArray("\x87\x8A") << u("㈱") << QByteArray("\x87\x8A");
    QTest::newRow("roman one (NEC)") << QByteArray("\x87\x54") << u("Ⅰ") << QByteArray("\x87\x54");
    QTest::newRow("taka (IBM)") << QByteArray("\xFB\xFC") << u("髙") << QByteArray("\xFB\xFC");
    QTest::newRow("fullwidth tilde") << QByteArray("\x81\x60") << u("～") << QByteArray("\x81\x60");
    QTest::newRow("0x5C is a backslash") << QByteArray("C:\x5C" "a") << u("C:\\a") << QByteArray("C:\x5C" "a");
    QTest::newRow("0x7E is a tilde") << QByteArray("\x7E") << u("~") << QByteArray("\x7E");
    QTest::newRow("halfwidth katakana") << QByteArray("\xB1\xDF") << u("ｱﾟ") << QByteArray("\xB1\xDF");
    QTest::newRow("NEC-selected IBM row") << QByteArray("\xED\x40") << u("纊") << QByteArray("\xFA\x5C");
    QTest::newRow("sentence, CR LF") << QByteArray("\x97\xe1\x95\xb6\r\n\x93\xfa\x96\x7b\x8c\xea")
                                     << u("例文\r\n日本語") << QByteArray("\x97\xe1\x95\xb6\r\n\x93\xfa\x96\x7b\x8c\xea");
}

void TestCodec::knownCodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, savedAs);

    const DecodedText decoded = decodeDataFile(bytes);
    QCOMPARE(decoded.encoding, Encoding::Cp932);
    QCOMPARE(decoded.text, text);
    QVERIFY(decoded.badLines.isEmpty());

    const EncodedText encoded = encodeText(text, Encoding::Cp932);
    QCOMPARE(encoded.bytes, savedAs);
    QCOMPARE(encoded.unencodable, QString());
}

// Characters a Linux input method types where Windows has its own forms: written as the
// code page's form, read back as that form.
void TestCodec::inputMethodForms_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("wave dash") << QString(QChar(0x301C)) << QByteArray("\x81\x60") << QString(QChar(0xFF5E));
    QTest::newRow("minus sign") << QString(QChar(0x2212)) << QByteArray("\x81\x7C") << QString(QChar(0xFF0D));
    QTest::newRow("double vertical line") << QString(QChar(0x2016)) << QByteArray("\x81\x61") << QString(QChar(0x2225));
    QTest::newRow("em dash") << QString(QChar(0x2014)) << QByteArray("\x81\x5C") << QString(QChar(0x2015));
    QTest::newRow("cent") << QString(QChar(0xA2)) << QByteArray("\x81\x91") << QString(QChar(0xFFE0));
    QTest::newRow("pound") << QString(QChar(0xA3)) << QByteArray("\x81\x92") << QString(QChar(0xFFE1));
    QTest::newRow("not sign") << QString(QChar(0xAC)) << QByteArray("\x81\xCA") << QString(QChar(0xFFE2));
}

void TestCodec::inputMethodForms()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);

    const EncodedText encoded = encodeText(u("a") + typed + u("b"), Encoding::Cp932);
    QCOMPARE(encoded.bytes, "a" + bytes + "b");
    QCOMPARE(encoded.unencodable, QString());
    QCOMPARE(unencodableCharacters(typed, Encoding::Cp932), QString());
    QCOMPARE(decodeDataFile(encoded.bytes).text, u("a") + readBack + u("b"));
}

void TestCodec::unencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unencodable");
    // What adding or correcting refuses: the unencodable characters and U+FFFD, which stands
    // for bytes that could not be read and would be written as '?'.
    QTest::addColumn<QString>("refused");

    const QString loneHigh(QChar(0xD842));
    const QString loneLow(QChar(0xDFB7));

    // Windows' best fit would write lookalikes (A for À) and its table holds U+0080 and four
    // private-use characters that glibc refuses: refused on both systems alike.
    QTest::newRow("cp932: no lookalikes, no Windows-only codes")
        << u("Àé©™½") + QChar(0xA0) + QChar(0x80) + QChar(0xF8F0) + QChar(0xF8F3) << Encoding::Cp932
        << QByteArray("?????????") << u("Àé©™½") + QChar(0xA0) + QChar(0x80) + QChar(0xF8F0) + QChar(0xF8F3)
        << u("Àé©™½") + QChar(0xA0) + QChar(0x80) + QChar(0xF8F0) + QChar(0xF8F3);
    QTest::newRow("cp932: pair, emoji, vu; distinct, in order")
        << u("a𠮷b😀c𠮷ゔ\r\n日本語😀") << Encoding::Cp932
        << QByteArray("a?b?c??\r\n\x93\xfa\x96\x7b\x8c\xea?") << u("𠮷😀ゔ") << u("𠮷😀ゔ");
    QTest::newRow("cp932: U+FFFD written as ?, refused")
        << QString(u("x") + Fffd + u("y")) << Encoding::Cp932 << QByteArray("x?y") << QString() << QString(Fffd);
    QTest::newRow("cp932: lone surrogates")
        << QString(u("a") + loneHigh + u("b") + loneLow + loneHigh) << Encoding::Cp932
        << QByteArray("a?b??") << QString(loneHigh + loneLow) << QString(loneHigh + loneLow);
    QTest::newRow("cp932: only unencodable") << u("😀") << Encoding::Cp932 << QByteArray("?") << u("😀") << u("😀");
    QTest::newRow("cp932: empty") << QString() << Encoding::Cp932 << QByteArray() << QString() << QString();
    QTest::newRow("utf8: everything but surrogates")
        << QString(u("𠮷😀ゔ①\r\n") + Fffd + loneLow) << Encoding::Utf8
        << QByteArray("\xf0\xa0\xae\xb7\xf0\x9f\x98\x80\xe3\x82\x94\xe2\x91\xa0\r\n??") << loneLow << QString(Fffd + loneLow);
    QTest::newRow("utf8 bom: mark first") << u("あ") << Encoding::Utf8Bom << QByteArray("\xEF\xBB\xBF\xE3\x81\x82") << QString() << QString();
    QTest::newRow("utf16 le: mark first, U+FFFD refused")
        << QString(u("aあ") + Fffd) << Encoding::Utf16Le << QByteArray("\xFF\xFE" "a\0\x42\x30?\0", 8) << QString()
        << QString(Fffd);
    QTest::newRow("utf16 be: pair kept, lone surrogate refused")
        << QString(u("𠮷") + loneLow) << Encoding::Utf16Be << QByteArray("\xFE\xFF\xD8\x42\xDF\xB7\0?", 8)
        << loneLow << loneLow;
    QTest::newRow("utf8 bom: empty") << QString() << Encoding::Utf8Bom << QByteArray("\xEF\xBB\xBF") << QString() << QString();
}

void TestCodec::unencodable()
{
    QFETCH(QString, text);
    QFETCH(Encoding, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unencodable);
    QFETCH(QString, refused);

    const EncodedText encoded = encodeText(text, encoding);
    QCOMPARE(encoded.bytes, bytes);
    QCOMPARE(encoded.unencodable, unencodable);
    QCOMPARE(unencodableCharacters(text, encoding), refused);
}

void TestCodec::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << Encoding::Cp932 << QString();
    QTest::newRow("pure ASCII") << QByteArray("abc\r\n") << Encoding::Cp932 << u("abc\r\n");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E")
                                     << Encoding::Utf8Bom << u("日本語");
    QTest::newRow("byte order mark, ASCII") << QByteArray("\xEF\xBB\xBF" "ab") << Encoding::Utf8Bom << u("ab");
    QTest::newRow("byte order mark only") << QByteArray("\xEF\xBB\xBF") << Encoding::Utf8Bom << QString();
    QTest::newRow("second mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << Encoding::Utf8Bom
                                         << QString(QChar(0xFEFF));
    QTest::newRow("UTF-8 Japanese") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n")
                                    << Encoding::Utf8 << u("日本語\r\n");
    QTest::newRow("UTF-8 4-byte, U+FFFF, U+10FFFF")
        << QByteArray("\xF0\xA0\xAE\xB7\xEF\xBF\xBF\xF4\x8F\xBF\xBF") << Encoding::Utf8
        << u("𠮷") + QChar(0xFFFF) + QChar::highSurrogate(0x10FFFF) + QChar::lowSurrogate(0x10FFFF);
    QTest::newRow("UTF-8 edges U+0080 U+0800 U+D7FF") << QByteArray("\xC2\x80\xE0\xA0\x80\xED\x9F\xBF")
                                                    << Encoding::Utf8
                                                    << QString(QChar(0x80)) + QChar(0x800) + QChar(0xD7FF);
    QTest::newRow("CP932 Japanese") << QByteArray("\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67")
                                    << Encoding::Cp932 << u("漢字テスト");
    // Bytes a lax UTF-8 check would take: each must fall through to code page 932.
    QTest::newRow("overlong 2-byte") << QByteArray("\xC0\xAF") << Encoding::Cp932 << u("ﾀｯ");
    QTest::newRow("overlong 3-byte") << QByteArray("\xE0\x80\xAF") << Encoding::Cp932 << QString(QChar(0x70D9)) + u("ｯ");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << Encoding::Cp932 << QString(QChar(0x605D)) + Fffd;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << Encoding::Cp932
                                    << QString(QChar(0xE33F)) + Fffd + Fffd;
    QTest::newRow("truncated at end") << QByteArray("a\xE3\x81") << Encoding::Cp932 << u("a縺");
    QTest::newRow("UTF-16 LE mark") << QByteArray("\xFF\xFE\xE5\x65\x2C\x67\r\0\n\0", 10) << Encoding::Utf16Le
                                    << u("日本\r\n");
    QTest::newRow("UTF-16 BE mark, pair") << QByteArray("\xFE\xFF\xD8\x42\xDF\xB7\0a", 8) << Encoding::Utf16Be
                                          << u("𠮷a");
    QTest::newRow("UTF-16 mark only") << QByteArray("\xFF\xFE") << Encoding::Utf16Le << QString();
}

void TestCodec::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);

    const DecodedText decoded = decodeDataFile(bytes);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.text, text);
    if (!text.contains(Fffd))
        QVERIFY(decoded.badLines.isEmpty());
}

void TestCodec::undecodableBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("badLines");

    QTest::newRow("CR LF") << QByteArray("ab\r\n\x80" "cd\r\nef\xA0") << Encoding::Cp932
                           << u("ab\r\n") + Fffd + u("cd\r\nef") + Fffd << QList<int>{2, 3};
    QTest::newRow("LF, one line once") << QByteArray("a\n\nb\xFF\xFD\n\xFE") << Encoding::Cp932
                                       << u("a\n\nb") + Fffd + Fffd + u("\n") + Fffd << QList<int>{3, 4};
    QTest::newRow("CR") << QByteArray("a\rb\r\x85\x40") << Encoding::Cp932
                        << u("a\rb\r") + Fffd + u("@") << QList<int>{3};
    QTest::newRow("mixed line ends") << QByteArray("x\r\ny\nz\r\rw\x80") << Encoding::Cp932
                                     << u("x\r\ny\nz\r\rw") + Fffd << QList<int>{5};
    QTest::newRow("lead byte at the end") << QByteArray("abc\r\n\x82") << Encoding::Cp932
                                          << u("abc\r\n") + Fffd << QList<int>{2};
    QTest::newRow("lead byte before CR LF") << QByteArray("\x82\r\nb\x81\x20") << Encoding::Cp932
                                            << Fffd + u("\r\nb") + Fffd + u(" ") << QList<int>{1, 2};
    QTest::newRow("BOM, broken UTF-8") << QByteArray("\xEF\xBB\xBF" "a\n\xE3\x81\nb\xC0\xAF\r\n\xF0\x9F\x98")
                                       << Encoding::Utf8Bom << u("a\n") + Fffd + u("\nb") + Fffd + Fffd + u("\r\n") + Fffd
                                       << QList<int>{2, 3, 4};
    QTest::newRow("UTF-16 LE: lone surrogate, odd last byte")
        << QByteArray("\xFF\xFE" "a\0\n\0\x00\xD8\n\0" "b\0\n\0" "c", 15) << Encoding::Utf16Le
        << u("a\n") + Fffd + u("\nb\n") + Fffd << QList<int>{2, 4};
    QTest::newRow("BOM, U+FFFD in the file") << QByteArray("\xEF\xBB\xBF\n\xEF\xBF\xBD") << Encoding::Utf8Bom
                                             << u("\n") + Fffd << QList<int>{};
}

void TestCodec::undecodableBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    QFETCH(QList<int>, badLines);

    const DecodedText decoded = decodeDataFile(bytes);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.badLines, badLines);
}

// Stepping over an error must keep the place in the text, however far into it.
void TestCodec::errorsDeepInLongText()
{
    const QString line = u("例文を追加します。ｱｲｳ abc\r\n");
    const QByteArray lineBytes = encodeText(line, Encoding::Cp932).bytes;
    QString text;
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i) {
        text += line;
        bytes += lineBytes;
        if (i == 1234 || i == 4321) {
            text += u("😀") + line;
            bytes += "?" + lineBytes;
        }
    }
    const EncodedText encoded = encodeText(text, Encoding::Cp932);
    QCOMPARE(encoded.unencodable, u("😀"));
    QVERIFY(encoded.bytes == bytes);

    QByteArray broken = bytes;
    broken.insert(lineBytes.size() * 2000 + 1, '\x80'); // one '?' before it
    broken.append('\x9F');
    const DecodedText decoded = decodeDataFile(broken);
    QCOMPARE(decoded.badLines, (QList<int>{2001, 5003}));
    QString expected = text;
    expected.replace(u("😀"), u("?"));
    expected.insert(line.size() * 2000 + 1, Fffd); // one '?' before it
    expected.append(Fffd);
    QCOMPARE(decoded.text, expected);
}

void TestCodec::randomInputNeverCrashes()
{
    QRandomGenerator random(932);
    const QByteArray interesting("\r\n\x5C\x81\x82\x87\x9F\xE0\xE3\xED\xEF\xBB\xBF\xF0\xF4\xFC\x80\xA0\xFD\xFF\x40\x7F", 22);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int size = int(random.bounded(40));
        if (random.bounded(8) == 0)
            bytes += "\xEF\xBB\xBF";
        for (int i = 0; i < size; ++i) {
            bytes += random.bounded(2) ? interesting.at(random.bounded(interesting.size()))
                                       : char(random.bounded(256));
        }
        const DecodedText decoded = decodeDataFile(bytes);
        const int lines = lineCount(decoded.text);
        for (qsizetype i = 0; i < decoded.badLines.size(); ++i) {
            QVERIFY(decoded.badLines[i] >= 1 && decoded.badLines[i] <= lines);
            QVERIFY(i == 0 || decoded.badLines[i] > decoded.badLines[i - 1]);
        }
        if (decoded.encoding == Encoding::Cp932)
            QCOMPARE(decoded.text.contains(Fffd), !decoded.badLines.isEmpty());
        if (decoded.encoding == Encoding::Utf8)
            QVERIFY(decoded.badLines.isEmpty());
        const EncodedText encoded = encodeText(decoded.text, decoded.encoding);
        QVERIFY2(encoded.unencodable.isEmpty(), bytes.toHex().constData());
        if (decoded.badLines.isEmpty())
            QCOMPARE(decodeDataFile(encoded.bytes).text, decoded.text);
    }

    const char16_t units[] = {u'a', u'\r', u'\n', 0x3042, 0x9AD9, 0x301C, 0xFFFD, 0xD842, 0xDFB7, 0xD83D, 0xDE00, 0xFF71};
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int size = int(random.bounded(30));
        for (int i = 0; i < size; ++i)
            text += QChar(units[random.bounded(int(std::size(units)))]);
        for (Encoding encoding : {Encoding::Cp932, Encoding::Utf8, Encoding::Utf8Bom}) {
            const EncodedText encoded = encodeText(text, encoding);
            QVERIFY(!encoded.unencodable.contains(Fffd));
            QVERIFY(!encoded.bytes.contains("\xFC\xFC"));
            QCOMPARE(decodeDataFile(encoded.bytes).badLines, QList<int>());
        }
    }
}

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
