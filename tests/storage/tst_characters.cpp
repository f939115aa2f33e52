#include <QTest>

#include "Characters.h"

// The program's one count of characters, and taking a text apart without splitting a
// character.
class TestCharacters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void length_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("kana and kanji") << QStringLiteral("よく頑張りました。") << 9;
        QTest::newRow("line breaks are not counted") << QStringLiteral("一行\r\n二行\n三") << 5;
        QTest::newRow("character outside the BMP is one") << QStringLiteral("𠮷野さん") << 4;
        QTest::newRow("combining mark belongs to its letter") << QStringLiteral("か\u3099き") << 2;
        QTest::newRow("emoji with modifier is one") << QStringLiteral("👍🏽") << 1;
    }
    void length()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        QCOMPARE(characterCount(text), length);
    }

    void pieces()
    {
        const QString text = QStringLiteral("𠮷あ\r\nい\rう");
        QCOMPARE(leftCharacters(text, 1), QStringLiteral("𠮷"));
        QCOMPARE(leftCharacters(text, 2), QStringLiteral("𠮷あ"));
        QCOMPARE(leftCharacters(QStringLiteral("ab"), 10), QStringLiteral("ab"));
        // A lone high surrogate at the end is one character, not a pair with what follows.
        QCOMPARE(advanceCharacters(QString(QChar(0xD842)) + u'a', 0, 1), 1);
        QCOMPARE(foldLineBreaks(text), QStringLiteral("𠮷あ\nい\nう"));
        QCOMPARE(distinctCharacters(QStringLiteral("𠮷a𠮷ba")), (QStringList{"𠮷", "a", "b"}));
    }
};

QTEST_APPLESS_MAIN(TestCharacters)
#include "tst_characters.moc"
