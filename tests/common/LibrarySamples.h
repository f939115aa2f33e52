#pragma once

// An example for the library tests, written in a line: 行事／係／ほめたい and the sentence.

#include "Library.h"

#include <QString>

inline Example example(const char *sentence)
{
    Example e;
    e.field = {QStringLiteral("行事"), QStringLiteral("係"), QStringLiteral("ほめたい"), QString::fromUtf8(sentence)};
    return e;
}
