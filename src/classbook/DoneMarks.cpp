#include "DoneMarks.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString DoneKey = QStringLiteral("done");

// A digest, not the text: the file stays small and the mark only has to tell "the same".
QString digestOf(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).left(16).toHex());
}

void dropTrailingEmpty(QStringList &marks)
{
    while (!marks.isEmpty() && marks.last().isEmpty())
        marks.removeLast();
}

bool validCell(const ClassBook &book, int pupil, int field)
{
    return pupil >= 0 && pupil < book.pupils.size() && field >= 0 && field < book.fields.size();
}

} // namespace

DoneState doneState(const ClassBook &book, int pupil, int field)
{
    if (!validCell(book, pupil, field))
        return DoneState::Open;
    const Pupil &p = book.pupils[pupil];
    const QString mark = p.done.value(field);
    if (mark.isEmpty())
        return DoneState::Open;
    return mark == digestOf(p.texts.value(field)) ? DoneState::Done : DoneState::ChangedSinceDone;
}

ClassEdit setDone(ClassBook &book, int pupil, int field, bool done)
{
    if (!validCell(book, pupil, field))
        return ClassEdit::refused(QStringLiteral("児童・生徒と欄を選んでください。"));
    QStringList &marks = book.pupils[pupil].done;
    while (marks.size() <= field)
        marks.append(QString());
    marks[field] = done ? digestOf(book.pupils[pupil].texts.value(field)) : QString();
    dropTrailingEmpty(marks);
    return ClassEdit::done(pupil);
}

ClassEdit toggleDone(ClassBook &book, int pupil, int field)
{
    return setDone(book, pupil, field, doneState(book, pupil, field) != DoneState::Done);
}

DoneCount doneCount(const ClassBook &book, int field)
{
    DoneCount count;
    count.pupils = int(book.pupils.size());
    for (int p = 0; p < book.pupils.size(); ++p) {
        const DoneState state = doneState(book, p, field);
        count.done += state != DoneState::Open;
        count.changed += state == DoneState::ChangedSinceDone;
    }
    return count;
}

void moveDoneMark(Pupil &pupil, int from, int to)
{
    const int needed = std::max(from, to) + 1;
    if (pupil.done.isEmpty())
        return;
    while (pupil.done.size() < needed)
        pupil.done.append(QString());
    pupil.done.move(from, to);
    dropTrailingEmpty(pupil.done);
}

void removeDoneMark(Pupil &pupil, int field)
{
    if (field < pupil.done.size())
        pupil.done.removeAt(field);
    dropTrailingEmpty(pupil.done);
}

void writeDoneMarks(QJsonObject &pupilObject, const Pupil &pupil)
{
    if (!pupil.done.isEmpty())
        pupilObject.insert(DoneKey, QJsonArray::fromStringList(pupil.done));
}

bool readDoneMarks(const QJsonObject &pupilObject, int fieldCount, Pupil *pupil)
{
    const QJsonValue value = pupilObject.value(DoneKey);
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isArray() || value.toArray().size() > fieldCount)
        return false;
    for (const QJsonValue &mark : value.toArray()) {
        if (!mark.isString())
            return false;
        pupil->done.append(mark.toString());
    }
    dropTrailingEmpty(pupil->done);
    return true;
}
