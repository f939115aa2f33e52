#pragma once

#include "ClassChecks.h"

#include <QHash>
#include <QList>
#include <QString>

// The pupils' names in the texts of a class. A text may name its own pupil only as the
// class's naming rule calls them (姓＋さん, ...); any other pupil of the class named there, by
// 姓 or 名 with さん, くん, 君 or ちゃん, or by the full name, is most likely a comment reused
// from that pupil. Names also keep the kanji and spelling checks off what a family chose.
class ClassNames
{
public:
    explicit ClassNames(const ClassBook &book);

    // The spans (start, length) of text that hold a name of any pupil of the class: 姓, 名 or both.
    [[nodiscard]] QList<std::pair<qsizetype, qsizetype>> nameSpans(QStringView text) const;

    // Another pupil's name, or the pupil's own called otherwise, in one of the pupil's texts.
    void addFindings(const CellRef &cell, const QString &text, QList<Finding> &out) const;

private:
    struct Called {
        QList<int> pupils;   // whose name this is (two pupils may share a 姓)
        bool honorific = false; // a name with さん, くん, ...: the naming rule decides the pupil's own
    };
    QList<QString> m_callNames;     // per pupil, as the class's rule calls them
    QHash<QString, Called> m_called;
    WordingMatcher m_calledMatcher;
    WordingMatcher m_bareMatcher;
};
