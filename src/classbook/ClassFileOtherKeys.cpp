#include "ClassFileOtherKeys.h"

QJsonObject keysNotWritten(const QJsonObject &read, const QJsonObject &written)
{
    QJsonObject kept;
    for (auto it = read.constBegin(); it != read.constEnd(); ++it) {
        if (!written.contains(it.key()))
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
