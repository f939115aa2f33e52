#pragma once

#include <QString>

#include <initializer_list>

class QLabel;
class QWidget;

// What a screen reader announces for the controls of a window: a short Japanese name saying
// what the control is for and, where it helps, a description. Each window keeps one table
// of its controls by object name; the object names themselves stay as they are.

struct AccessibleName {
    const char *objectName;
    QString name;
    QString description;
};

// Names the descendants of `window` found by object name.
void nameControls(QWidget *window, std::initializer_list<AccessibleName> table);
// The same for controls at hand.
struct ControlName {
    QWidget *widget;
    QString name;
    QString description;
};
void nameControls(std::initializer_list<ControlName> table);
void nameControl(QWidget *widget, const QString &name, const QString &description = QString());

// A label whose text is what it shows (a count, a page of help): its name is the purpose
// followed by the current text, "文字数：12字", so the value is still read out. The text is
// read whenever the name is asked for, and Qt announces each change of it.
void nameValueLabel(QLabel *label, const QString &purpose, const QString &description);

// A label that acts as a link when clicked (it has a clicked() signal): announced as a
// link whose press action emits clicked(), so it can be followed without a mouse.
void nameLinkLabel(QLabel *label, const QString &name, const QString &description);
