#include "ClassFileOtherKeys.h"

#include <QJsonArray>

namespace {

const QString Pupils = QStringLiteral("pupils");

QJsonObject keysNotWritten(const QJsonObject &read, const QJsonObject &written)
{
    QJsonObject kept;
    for (auto it = read.constBegin(); it != read.constEnd(); ++it) {
        // Qt drops a byte order mark at the start of a key when it hands the key out, so such
        // a key cannot be kept as it was, and kept as changed it could pass for a known one.
        if (!written.contains(it.key()) && read.contains(it.key()))
            kept.insert(it.key(), it.value());
    }
    return kept;
}

void addKeptKeys(QJsonObject &object, const QJsonObject &kept)
{
    for (auto it = kept.constBegin(); it != kept.constEnd(); ++it) {
        if (!object.contains(it.key()))
            object.insert(it.key(), it.value());
    }
}

} // namespace

void keepOtherKeys(const QJsonObject &read, const QJsonObject &written, ClassBook &book)
{
    book.otherKeys = keysNotWritten(read, written);
    const QJsonArray readPupils = read.value(Pupils).toArray();
    const QJsonArray writtenPupils = written.value(Pupils).toArray();
    for (int p = 0; p < book.pupils.size(); ++p)
        book.pupils[p].otherKeys = keysNotWritten(readPupils.at(p).toObject(), writtenPupils.at(p).toObject());
}

void addOtherKeys(const ClassBook &book, QJsonObject &root)
{
    addKeptKeys(root, book.otherKeys);
    QJsonArray pupils = root.value(Pupils).toArray();
    for (int p = 0; p < book.pupils.size() && p < pupils.size(); ++p) {
        if (book.pupils[p].otherKeys.isEmpty())
            continue;
        QJsonObject pupil = pupils[p].toObject();
        addKeptKeys(pupil, book.pupils[p].otherKeys);
        pupils[p] = pupil;
    }
    root.insert(Pupils, pupils);
}
