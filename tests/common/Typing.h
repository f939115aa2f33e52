#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

// Sends text as typing: ASCII as key clicks, anything else as an input-method commit (a
// surrogate pair travels in one commit).
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QInputMethodEvent event;
        event.setCommitString(text.mid(i, length));
        QApplication::sendEvent(widget, &event);
        i += length - 1;
    }
}
