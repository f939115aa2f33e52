#pragma once

// Classes written compactly in the class model's tests:
//   fields "所見:200,道徳:0"  (name:limit, comma-separated)
//   pupils "1|山田 花子|女|text of field 1|text of field 2"  (number|name|sex|texts...)

#include "ClassBook.h"

#include <QStringList>

inline QList<ClassField> fieldsFrom(const QString &notation)
{
    QList<ClassField> fields;
    for (const QString &item : notation.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u':');
        fields.append({parts[0], parts.value(1).toInt()});
    }
    return fields;
}

inline QString fieldsNotation(const QList<ClassField> &fields)
{
    QStringList items;
    for (const ClassField &field : fields)
        items.append(QStringLiteral("%1:%2").arg(field.name).arg(field.limit));
    return items.join(u',');
}

inline Pupil pupilFrom(const QString &notation)
{
    const QStringList parts = notation.split(u'|');
    Pupil pupil;
    pupil.number = parts.value(0).toInt();
    pupil.name = parts.value(1);
    pupil.sex = parts.value(2);
    pupil.texts = parts.mid(3);
    return pupil;
}

inline QString pupilNotation(const Pupil &pupil)
{
    return (QStringList{QString::number(pupil.number), pupil.name, pupil.sex} + pupil.texts).join(u'|');
}

inline ClassBook classFrom(const QString &fields, const QStringList &pupils)
{
    ClassBook book;
    book.name = QStringLiteral("3年2組");
    book.fields = fieldsFrom(fields);
    for (const QString &pupil : pupils)
        book.pupils.append(pupilFrom(pupil));
    return book;
}

inline QStringList pupilsNotation(const ClassBook &book)
{
    QStringList lines;
    for (const Pupil &pupil : book.pupils)
        lines.append(pupilNotation(pupil));
    return lines;
}
