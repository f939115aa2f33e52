#pragma once

#include <QString>

#include <functional>

// What the class window needs of the main window: its composition (Text1), read and
// replaced, and word of each example the main window shows. The main window implements it;
// tests hand in a plain string.
class CompositionAccess {
public:
    using ExampleListener = std::function<void(const QString &example)>;

    virtual ~CompositionAccess() = default;
    virtual QString compositionText() const = 0;
    virtual void setCompositionText(const QString &text) = 0;
    // From now on listener hears every example shown in the main window's example box
    // (an empty listener: no more).
    virtual void setExampleListener(ExampleListener listener) { (void)listener; }
};
