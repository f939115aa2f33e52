#include "ClassFile.h"

#include "ClassEditing.h"
#include "Naming.h"
#include "NotesFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

QJsonObject pupilObject(const Pupil &pupil)
{
    QJsonObject object;
    object.insert(QStringLiteral("number"), pupil.number);
    object.insert(QStringLiteral("name"), pupil.name);
    object.insert(QStringLiteral("kana"), pupil.kana);
    object.insert(QStringLiteral("sex"), pupil.sex);
    object.insert(QStringLiteral("texts"), QJsonArray::fromStringList(pupil.texts));
    return object;
}

ClassFileRead refused(const QString &why) { return {false, ClassBook(), why}; }

QString broken(const QString &what) { return QStringLiteral("学級ファイルの中身がこわれています（%1）。").arg(what); }

bool isWholeNumber(const QJsonValue &value, int minimum, int maximum)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    return number == double(qint64(number)) && number >= minimum && number <= maximum;
}

bool readStrings(const QJsonValue &value, QStringList *out)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return false;
        out->append(item.toString());
    }
    return true;
}

bool readOptionalString(const QJsonObject &object, const char *key, QString *out)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString())
        return false;
    *out = value.toString();
    return true;
}

} // namespace

QByteArray classFileBytes(const ClassBook &book)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(ClassFileFormat));
    root.insert(QStringLiteral("version"), ClassFileVersion);
    root.insert(QStringLiteral("name"), book.name);
    root.insert(QStringLiteral("naming"), namingRuleKey(book.naming));
    QJsonArray fields;
    for (const ClassField &field : book.fields)
        fields.append(QJsonObject{{QStringLiteral("name"), field.name}, {QStringLiteral("limit"), field.limit}});
    root.insert(QStringLiteral("fields"), fields);
    QJsonArray pupils;
    for (const Pupil &pupil : book.pupils)
        pupils.append(pupilObject(pupil));
    root.insert(QStringLiteral("pupils"), pupils);
    writeNoteKeys(book, root);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ClassFileRead readClassFile(const QByteArray &bytes)
{
    // An editor may have put a byte order mark in front; anything not starting like a JSON
    // object is some other kind of file, not a damaged class.
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (!body.trimmed().isEmpty() && !body.trimmed().startsWith('{'))
        return refused(QStringLiteral("ことばんの学級ファイルではありません。"));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refused(broken(QStringLiteral("%1 バイト目: %2").arg(parseError.offset).arg(parseError.errorString())));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != QLatin1String(ClassFileFormat))
        return refused(QStringLiteral("ことばんの学級ファイルではありません。"));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!isWholeNumber(version, 1, 1000000))
        return refused(broken(QStringLiteral("形式の版がありません")));
    if (version.toInt() > ClassFileVersion)
        return refused(QStringLiteral("この学級ファイルは新しい版のことばん（形式 %1）で作られたので、"
                                      "この版では開けません。ことばんを新しくしてから開いてください。")
                           .arg(version.toInt()));

    ClassFileRead result;
    ClassBook &book = result.book;
    if (!readOptionalString(root, "name", &book.name))
        return refused(broken(QStringLiteral("学級の名前")));
    const QString naming = root.value(QStringLiteral("naming")).toString(namingRuleKey(NamingRule::FamilySan));
    if (!namingRuleFromKey(naming, &book.naming))
        return refused(broken(QStringLiteral("名前の呼び方「%1」").arg(naming)));

    const QJsonValue fields = root.value(QStringLiteral("fields"));
    if (!fields.isArray() || fields.toArray().isEmpty())
        return refused(broken(QStringLiteral("欄がありません")));
    for (const QJsonValue &value : fields.toArray()) {
        const QJsonObject object = value.toObject();
        const QJsonValue limit = object.value(QStringLiteral("limit"));
        if (!value.isObject() || !object.value(QStringLiteral("name")).isString()
            || !(limit.isUndefined() || isWholeNumber(limit, 0, MaxFieldLimit)))
            return refused(broken(QStringLiteral("%1 番目の欄").arg(book.fields.size() + 1)));
        book.fields.append({object.value(QStringLiteral("name")).toString(), limit.toInt(0)});
    }

    const QJsonValue pupils = root.value(QStringLiteral("pupils"));
    if (!pupils.isUndefined() && !pupils.isArray())
        return refused(broken(QStringLiteral("児童・生徒の一覧")));
    for (const QJsonValue &value : pupils.toArray()) {
        const QJsonObject object = value.toObject();
        Pupil pupil;
        const QJsonValue number = object.value(QStringLiteral("number"));
        const QString which = QStringLiteral("%1 人目").arg(book.pupils.size() + 1);
        if (!value.isObject() || !(number.isUndefined() || isWholeNumber(number, 0, 1000000))
            || !readOptionalString(object, "name", &pupil.name) || !readOptionalString(object, "kana", &pupil.kana)
            || !readOptionalString(object, "sex", &pupil.sex))
            return refused(broken(which));
        pupil.number = number.toInt(0);
        const QJsonValue texts = object.value(QStringLiteral("texts"));
        if (!texts.isUndefined() && !readStrings(texts, &pupil.texts))
            return refused(broken(which + QStringLiteral("の文章")));
        if (pupil.texts.size() > book.fields.size())
            return refused(broken(which + QStringLiteral("の文章が欄より多い")));
        book.pupils.append(pupil);
    }
    if (const QString damaged = readNoteKeys(root, book); !damaged.isEmpty())
        return refused(broken(damaged));
    alignTexts(book);
    sortPupils(book);
    result.ok = true;
    return result;
}
