#include "Notes.h"

#include "Characters.h"

#include <algorithm>

namespace {

bool validPupil(const ClassBook &book, int pupil) { return pupil >= 0 && pupil < book.pupils.size(); }

ClassEdit noNote() { return ClassEdit::refused(QStringLiteral("メモを選んでください。")); }

QString tagProblem(const ClassBook &book, const QString &tag)
{
    if (!tag.isEmpty() && !book.noteTags.contains(tag))
        return QStringLiteral("「%1」という種類はありません。").arg(tag);
    return {};
}

} // namespace

int notePosition(const QList<PupilNote> &notes, const QDate &date)
{
    const auto at = std::find_if(notes.cbegin(), notes.cend(), [&date](const PupilNote &note) { return note.date <= date; });
    return int(at - notes.cbegin());
}

void sortNotes(QList<PupilNote> &notes)
{
    std::stable_sort(notes.begin(), notes.end(), [](const PupilNote &a, const PupilNote &b) { return a.date > b.date; });
}

ClassEdit addNote(ClassBook &book, int pupil, const PupilNote &note)
{
    if (!validPupil(book, pupil))
        return ClassEdit::refused(QStringLiteral("児童・生徒を選んでください。"));
    if (!note.date.isValid())
        return ClassEdit::refused(QStringLiteral("メモの日付を入れてください。"));
    if (const QString problem = tagProblem(book, note.tag); !problem.isEmpty())
        return ClassEdit::refused(problem);
    QList<PupilNote> &notes = book.pupils[pupil].notes;
    const int at = notePosition(notes, note.date);
    notes.insert(at, {note.date, note.tag, foldLineBreaks(note.text)});
    return ClassEdit::done(at);
}

const PupilNote *noteOf(const ClassBook &book, int pupil, int note)
{
    if (!validPupil(book, pupil) || note < 0 || note >= book.pupils[pupil].notes.size())
        return nullptr;
    return &book.pupils[pupil].notes[note];
}

ClassEdit setNoteText(ClassBook &book, int pupil, int note, const QString &text)
{
    if (!noteOf(book, pupil, note))
        return noNote();
    book.pupils[pupil].notes[note].text = foldLineBreaks(text);
    return ClassEdit::done(note);
}

ClassEdit setNoteDate(ClassBook &book, int pupil, int note, const QDate &date)
{
    if (!noteOf(book, pupil, note))
        return noNote();
    if (!date.isValid())
        return ClassEdit::refused(QStringLiteral("メモの日付を入れてください。"));
    QList<PupilNote> &notes = book.pupils[pupil].notes;
    PupilNote moved = notes.takeAt(note);
    moved.date = date;
    const int at = notePosition(notes, date);
    notes.insert(at, moved);
    return ClassEdit::done(at);
}

ClassEdit setNoteTag(ClassBook &book, int pupil, int note, const QString &tag)
{
    if (!noteOf(book, pupil, note))
        return noNote();
    if (const QString problem = tagProblem(book, tag); !problem.isEmpty())
        return ClassEdit::refused(problem);
    book.pupils[pupil].notes[note].tag = tag;
    return ClassEdit::done(note);
}

ClassEdit removeNote(ClassBook &book, int pupil, int note)
{
    if (!noteOf(book, pupil, note))
        return noNote();
    QList<PupilNote> &notes = book.pupils[pupil].notes;
    notes.removeAt(note);
    return ClassEdit::done(std::min(note, int(notes.size()) - 1));
}

ClassEdit addNoteTag(ClassBook &book, const QString &tag)
{
    const QString clean = tag.simplified();
    if (clean.isEmpty())
        return ClassEdit::refused(QStringLiteral("種類の名前を入れてください。"));
    if (characterCount(clean) > MaxNoteTagLength)
        return ClassEdit::refused(QStringLiteral("種類の名前は %1 字までにしてください。").arg(MaxNoteTagLength));
    if (book.noteTags.contains(clean))
        return ClassEdit::refused(QStringLiteral("「%1」という種類はもうあります。").arg(clean));
    book.noteTags.append(clean);
    return ClassEdit::done(int(book.noteTags.size()) - 1);
}
