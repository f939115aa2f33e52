#pragma once

#include "ClassDialogs.h"
#include "CompositionAccess.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class ClassWindow;
class LibrarySession;
class TextBox;

// The main window's side of the class window: opens it on the class used last, hands it
// the composition (Text1), word of the examples shown in the example boxes and the example
// library (telling it of every change to an example), and closes it, saved, before the main
// window goes.
class ClassLink : public CompositionAccess {
public:
    using DialogsFactory = std::function<std::unique_ptr<ClassDialogs>()>;

    // library may be null: the class window then offers no examples.
    ClassLink(const QString &folder, TextBox *composition, LibrarySession *library = nullptr,
              const QList<TextBox *> &exampleBoxes = {});
    ~ClassLink() override;
    ClassLink(const ClassLink &) = delete;
    ClassLink &operator=(const ClassLink &) = delete;

    // Shows the class window, making it (and opening the last class) the first time.
    void open();
    // Saves and closes the class window; false when the teacher keeps it open. Unattended,
    // it asks nothing and always closes.
    bool close(bool unattended = false);
    // The window (closed ones too, until the next open), else null.
    ClassWindow *window() const;
    // Tests answer the class window's questions; null factory shows real boxes.
    void setDialogsFactory(DialogsFactory factory) { m_dialogsFactory = std::move(factory); }

    QString compositionText() const override;
    void setCompositionText(const QString &text) override;
    void setExampleListener(ExampleListener listener) override;
    const Category *exampleCategory(int index) const override;

private:
    const QString m_folder;
    TextBox *const m_composition;
    LibrarySession *const m_library;
    QPointer<ClassWindow> m_window;
    DialogsFactory m_dialogsFactory;
    ExampleListener m_exampleListener;
    QList<QMetaObject::Connection> m_exampleConnections;
};
