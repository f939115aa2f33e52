#pragma once

// Small classes for the check and export tests, written in a line or two.

#include "ClassBook.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

inline ClassField field(const QString &name, int limit) { return {name, limit}; }

inline Pupil pupil(int number, const QString &name, const QStringList &texts, const QString &kana = {},
                   const QString &sex = {})
{
    Pupil p;
    p.number = number;
    p.name = name;
    p.kana = kana;
    p.sex = sex;
    p.texts = texts;
    return p;
}

inline ClassBook classOf(std::initializer_list<ClassField> fields, std::initializer_list<Pupil> pupils,
                         const QString &name = QStringLiteral("3年2組 2学期"))
{
    ClassBook book;
    book.name = name;
    book.fields = fields;
    book.pupils = pupils;
    return book;
}

// A class with one field "所見" (no limit) holding the given texts, pupils numbered from 1.
inline ClassBook oneFieldClass(const QStringList &texts, int limit = 0)
{
    ClassBook book;
    book.name = QStringLiteral("3年2組");
    book.fields = {{QStringLiteral("所見"), limit}};
    for (int i = 0; i < texts.size(); ++i)
        book.pupils.append(pupil(i + 1, QStringLiteral("児童%1").arg(i + 1), {texts[i]}));
    return book;
}
