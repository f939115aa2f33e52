#pragma once

#include <QDate>
#include <QString>

// What the teacher noticed about a pupil during the term (児童メモ): a day, an optional kind
// from the class's list (学習, 生活, ...) and free text of any length. A pupil's notes stay
// with the pupil's value, so they move wherever the pupil moves.
struct PupilNote {
    QDate date;
    QString tag; // empty when none was chosen
    QString text;

    bool operator==(const PupilNote &other) const
    {
        return date == other.date && tag == other.tag && text == other.text;
    }
    bool operator!=(const PupilNote &other) const { return !(*this == other); }
};
