// The text box as the program sees it: text with "\n" line breaks, selections counted
// in the same units as the text, and a text that comes back exactly as it was set.

#include "TextBox.h"

#include <QtTest>

class TestTextBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textComesBackExactly_data();
    void textComesBackExactly();
    void selectionInCharacters();
    void typedTextKeepsItsCharacters();
};

namespace {

QString s(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

void TestTextBox::textComesBackExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << s("理解力あり。") << 1;
    QTest::newRow("line break") << s("一行目\n二行目") << 2;
    QTest::newRow("empty line between") << s("一\n\n三") << 3;
    QTest::newRow("trailing line break") << s("一行目\n") << 2;
    QTest::newRow("no-break space") << s("A\u00A0B") << 1;
    QTest::newRow("ideographic space") << s("決　定") << 1;
    QTest::newRow("surrogate pair") << s("𠮷田さん") << 1;
    QTest::newRow("combining mark") << s("か\u3099") << 1;
    QTest::newRow("empty") << QString() << 1;
}

void TestTextBox::textComesBackExactly()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    TextBox box;
    box.setText(text);
    QCOMPARE(box.text(), text);
    QCOMPARE(box.blockCount(), lines);
    // The whole text selected reads the same, line breaks as "\n".
    box.setSelection(0, text.size());
    QCOMPARE(box.selectedText(), text);
    QCOMPARE(box.selLength(), text.size());
}

void TestTextBox::selectionInCharacters()
{
    TextBox box;
    box.setText(s("あいう\nえお"));
    box.setSelection(2, 3);
    QCOMPARE(box.selStart(), 2);
    QCOMPARE(box.selLength(), 3);
    QCOMPARE(box.selectedText(), s("う\nえ")); // the line break counts one

    // A selection made backwards still starts at its lower end.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    QCOMPARE(box.selStart(), 1);
    QCOMPARE(box.selLength(), 4);
    QCOMPARE(box.selectedText(), s("いう\nえ"));

    // Positions agree with the text's own: what is selected is text.mid(start, length).
    const QString text = s("a𠮷\u00A0b\nc");
    box.setText(text);
    for (int start = 0; start <= text.size(); ++start) {
        for (int length = 0; start + length <= text.size(); ++length) {
            if ((start < text.size() && text[start].isLowSurrogate())
                || (start + length < text.size() && text[start + length].isLowSurrogate()))
                continue; // a caret never stands inside a surrogate pair
            box.setSelection(start, length);
            QVERIFY(box.selStart() == start && box.selLength() == length);
            QCOMPARE(box.selectedText(), text.mid(start, length));
        }
    }

    // Out-of-range requests are held to the text.
    box.setText(s("あいう"));
    box.setSelection(1, 99);
    QCOMPARE(box.selStart(), 1);
    QCOMPARE(box.selLength(), 2);
    box.setSelection(99, 1);
    QCOMPARE(box.selStart(), 3);
    QCOMPARE(box.selLength(), 0);
}

void TestTextBox::typedTextKeepsItsCharacters()
{
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    for (const QString &key : {s("あ"), s("\u00A0"), s("𠮷")})
        QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, key, Qt::NoModifier);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("b"));
    QCOMPARE(box.text(), s("あ\u00A0𠮷\nb"));
    QCOMPARE(box.selStart(), box.text().size()); // the caret after what was typed
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
