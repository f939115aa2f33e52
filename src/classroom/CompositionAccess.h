#pragma once

#include <QString>

// What the class window needs of the main window: its composition (Text1), read and
// replaced. The main window implements it; tests hand in a plain string.
class CompositionAccess {
public:
    virtual ~CompositionAccess() = default;
    virtual QString compositionText() const = 0;
    virtual void setCompositionText(const QString &text) = 0;
};
