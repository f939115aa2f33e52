#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;

// A simple-style combo box: an edit field above a list that is always open.
// textChanged runs synchronously whenever the text changes, typed or set from code;
// picked runs instead when an entry is chosen with the mouse or keyboard, or selected
// from code (its text is then already in the edit field).
class SimpleCombo : public QWidget {
    Q_OBJECT
public:
    explicit SimpleCombo(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    // Sets the text without running textChanged: for callers that run the refresh themselves.
    void setTextQuietly(const QString &text);

    int count() const;
    QString itemText(int index) const;
    QStringList items() const;
    void addItems(const QStringList &items);
    // Removes every entry and empties the edit field, quietly.
    void clear();

    int currentIndex() const;
    // Selects an entry: its text goes into the edit field (textChanged) and picked runs.
    void setCurrentIndex(int index);
    void setCurrentIndexQuietly(int index);

    QLineEdit *lineEdit() const { return m_edit; }
    QListWidget *listWidget() const { return m_list; }

Q_SIGNALS:
    void textChanged(const QString &text);
    void picked(int index);
    // Typed or pasted text went past the edit field's length limit and was cut there.
    void textCut(int maxLength);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pick(int index);

    QLineEdit *const m_edit;
    QListWidget *const m_list;
    int m_rowAtPress = -1; // the current entry when the mouse was last pressed on the list
};
