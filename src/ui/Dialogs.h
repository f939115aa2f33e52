#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through this interface, so that tests can
// answer them. Production shows modal QMessageBoxes.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Question };

    virtual ~Dialogs() = default;
    // A Yes/No question; returns true for Yes.
    virtual bool ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault) = 0;
    // A message with one OK button.
    virtual void inform(const QString &title, const QString &text, Icon icon) = 0;
};

class MessageBoxDialogs : public Dialogs {
public:
    explicit MessageBoxDialogs(QWidget *parent) : m_parent(parent) {}
    bool ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault) override;
    void inform(const QString &title, const QString &text, Icon icon) override;

private:
    QWidget *m_parent;
};

// The title of the program's own messages.
inline QString appTitle() { return QStringLiteral("ことばん"); }
