#pragma once

#include <QList>
#include <QString>

// What changed in one text, character by character as a reader counts them (grapheme
// clusters: a surrogate pair or a letter with its combining mark is never split).

struct DiffPiece {
    enum class Kind { Same, Removed, Added };
    Kind kind = Kind::Same;
    QString text;

    bool operator==(const DiffPiece &other) const { return kind == other.kind && text == other.text; }
};

// The pieces that turn before into after, shortest edit first (Myers), then tidied for
// reading: a one-character match between two larger changes ("とても元気" → "いつも明るい" shares
// only "も") is folded into them. A replacement lists its removed part before its added part.
// A text changed in many places is matched sentence by sentence first: a sentence rewritten
// shows replaced whole, the sentences kept show unchanged between the changes.
[[nodiscard]] QList<DiffPiece> diffTexts(const QString &before, const QString &after);
