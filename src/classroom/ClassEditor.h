#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class LengthBar;

// The whole text of the selected pupil's field, for writing and correcting, with its
// count against the limit ("185/200字") and a bar; a text over its limit says by how much.
class ClassEditor : public QWidget {
    Q_OBJECT
public:
    explicit ClassEditor(QWidget *parent = nullptr);

    // Shows a text without reporting it as edited. An empty caption means nothing is selected.
    void showText(const QString &caption, const QString &text, int limit);
    QString text() const;
    QPlainTextEdit *textEdit() const { return m_text; }
    QString countText() const;
    // Puts a control in the editor's top line, before the count (e.g. the 完了 check box).
    void addHeaderWidget(QWidget *widget);

Q_SIGNALS:
    // The teacher changed the text.
    void edited(const QString &text);

private:
    void updateCount();

    QLabel *const m_caption;
    QPlainTextEdit *const m_text;
    QLabel *const m_count;
    LengthBar *const m_bar;
    QHBoxLayout *m_top = nullptr;
    int m_limit = 0;
    bool m_showing = false;
    bool m_over = false;
};
