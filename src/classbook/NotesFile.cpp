#include "NotesFile.h"

#include "Notes.h"

#include <QJsonArray>

namespace {

const QString DateFormat = QStringLiteral("yyyy-MM-dd");

QJsonObject noteObject(const PupilNote &note)
{
    QJsonObject object;
    object.insert(QStringLiteral("date"), note.date.toString(DateFormat));
    if (!note.tag.isEmpty())
        object.insert(QStringLiteral("tag"), note.tag);
    object.insert(QStringLiteral("text"), note.text);
    return object;
}

bool readNote(const QJsonValue &value, PupilNote *note)
{
    const QJsonObject object = value.toObject();
    const QJsonValue tag = object.value(QStringLiteral("tag"));
    const QJsonValue text = object.value(QStringLiteral("text"));
    if (!value.isObject() || !(tag.isUndefined() || tag.isString()) || !(text.isUndefined() || text.isString()))
        return false;
    note->date = QDate::fromString(object.value(QStringLiteral("date")).toString(), DateFormat);
    note->tag = tag.toString().simplified();
    note->text = text.toString();
    return note->date.isValid();
}

bool readTags(const QJsonValue &value, QStringList *tags)
{
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return false;
    tags->clear();
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return false;
        const QString tag = item.toString().simplified();
        if (!tag.isEmpty() && !tags->contains(tag))
            tags->append(tag);
    }
    return true;
}

} // namespace

void writeNoteKeys(const ClassBook &book, QJsonObject &root)
{
    root.insert(QStringLiteral("noteTags"), QJsonArray::fromStringList(book.noteTags));
    QJsonArray pupils = root.value(QStringLiteral("pupils")).toArray();
    for (int p = 0; p < book.pupils.size() && p < pupils.size(); ++p) {
        if (book.pupils[p].notes.isEmpty())
            continue;
        QJsonArray notes;
        for (const PupilNote &note : book.pupils[p].notes)
            notes.append(noteObject(note));
        QJsonObject pupil = pupils[p].toObject();
        pupil.insert(QStringLiteral("notes"), notes);
        pupils[p] = pupil;
    }
    root.insert(QStringLiteral("pupils"), pupils);
}

QString readNoteKeys(const QJsonObject &root, ClassBook &book)
{
    if (!readTags(root.value(QStringLiteral("noteTags")), &book.noteTags))
        return QStringLiteral("メモの種類");
    const QJsonArray pupils = root.value(QStringLiteral("pupils")).toArray();
    for (int p = 0; p < book.pupils.size() && p < pupils.size(); ++p) {
        const QJsonValue notes = pupils[p].toObject().value(QStringLiteral("notes"));
        if (notes.isUndefined())
            continue;
        const QString which = QStringLiteral("%1 人目のメモ").arg(p + 1);
        if (!notes.isArray())
            return which;
        QList<PupilNote> &kept = book.pupils[p].notes;
        for (const QJsonValue &value : notes.toArray()) {
            PupilNote note;
            if (!readNote(value, &note))
                return which + QStringLiteral("（%1 件目）").arg(kept.size() + 1);
            if (!note.tag.isEmpty() && !book.noteTags.contains(note.tag))
                book.noteTags.append(note.tag);
            kept.append(note);
        }
        sortNotes(kept);
    }
    return {};
}
