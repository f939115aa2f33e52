#pragma once

#include "ClassChecks.h"

#include <QHash>
#include <QList>

class ClassNames;

// One word written two ways in one class (子ども in most comments, 子供 in two): the rarer
// spelling's places are listed, to be replaced by the usual one. The pairs are a short
// built-in list of spellings schools are known to settle on, written as wording rules are
// (so 出来［漢字以外］ leaves 出来事 alone); a pair one of the school's wording rules already
// rules on is left to that rule. When the wording rules are not listed themselves, each of
// them is a pair too: the class follows its own majority.
class VariantSpellings
{
public:
    VariantSpellings(const ClassBook &book, const QList<WordingRule> &rules, bool rulesArePairs,
                     const ClassNames &names);

    // The places of the rarer spellings in one cell, in text order.
    void addFindings(const CellRef &cell, QList<Finding> &out) const;

private:
    struct Side {
        WordingRule spelling; // this spelling, as a rule towards the other one
        int other = -1;       // the other spelling's index
        int count = 0;        // its places in the class
    };
    QList<Side> m_sides;
    QHash<CellRef, QList<WordingHit>> m_hits; // the rarer spellings' places, by cell
};

// The built-in pairs, the spelling kept on a tie first.
[[nodiscard]] QList<std::pair<WordPattern, WordPattern>> builtInVariantPairs();
