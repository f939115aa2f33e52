#pragma once

#include "ClassChecks.h"

#include <QList>
#include <QString>

// The 点検 list by kind: how many findings of each kind a check found, for its filter.

struct KindCount {
    FindingKind kind = FindingKind::Empty;
    int count = 0;
    bool operator==(const KindCount &other) const { return kind == other.kind && count == other.count; }
};

// The kinds found, each once, in the order FindingKind lists them.
[[nodiscard]] QList<KindCount> countKinds(const QList<Finding> &findings);

// The kind's short name in the filter (字数, 未記入, 同じ文, 〇〇, ...).
[[nodiscard]] QString findingKindCaption(FindingKind kind);
