#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Category;

// What the class window needs of the main window: its composition (Text1), read and
// replaced, word of each example the main window shows, and its example library, read and
// followed. The main window implements it; tests hand in a plain string and categories of
// their own.
class CompositionAccess : public QObject {
    Q_OBJECT
public:
    using ExampleListener = std::function<void(const QString &example)>;

    virtual QString compositionText() const = 0;
    virtual void setCompositionText(const QString &text) = 0;
    // From now on listener hears every example shown in the main window's example box
    // (an empty listener: no more).
    virtual void setExampleListener(ExampleListener listener) { (void)listener; }
    // One of the three categories of examples (0 to 2), or null when there is no library.
    virtual const Category *exampleCategory(int index) const
    {
        Q_UNUSED(index);
        return nullptr;
    }

Q_SIGNALS:
    // An example of the category was added, corrected or deleted; its record numbers may have moved.
    void examplesChanged(int category);
};
