#pragma once

#include "CompositionAccess.h"

// The class window's tests without a main window: its composition is always empty.
class NoComposition : public CompositionAccess {
public:
    QString compositionText() const override { return {}; }
    void setCompositionText(const QString &) override {}
};
