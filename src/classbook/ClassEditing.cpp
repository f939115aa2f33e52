#include "ClassEditing.h"

#include "Characters.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool validField(const ClassBook &book, int field) { return field >= 0 && field < book.fields.size(); }
bool validPupil(const ClassBook &book, int pupil) { return pupil >= 0 && pupil < book.pupils.size(); }

QString cleanName(const QString &name) { return name.simplified(); }

// The reason a field name cannot be used, or nothing. except is the field being renamed.
QString fieldNameProblem(const ClassBook &book, const QString &name, int except)
{
    if (name.isEmpty())
        return QStringLiteral("欄の名前を入れてください。");
    for (int i = 0; i < book.fields.size(); ++i) {
        if (i != except && book.fields[i].name == name)
            return QStringLiteral("「%1」という欄はもうあります。").arg(name);
    }
    return {};
}

QString limitProblem(int limit)
{
    if (limit < 0 || limit > MaxFieldLimit)
        return QStringLiteral("字数の上限は 0（上限なし）から %1 までの数で入れてください。").arg(MaxFieldLimit);
    return {};
}

// The reason details cannot be used for a pupil, or nothing. except is the pupil being edited.
QString detailsProblem(const ClassBook &book, const PupilDetails &details, int except)
{
    if (cleanName(details.name).isEmpty())
        return QStringLiteral("氏名を入れてください。");
    if (details.number < 0)
        return QStringLiteral("出席番号は 1 以上の数で入れてください（なければ 0）。");
    if (details.number != 0) {
        const int other = pupilByNumber(book, details.number);
        if (other >= 0 && other != except)
            return QStringLiteral("出席番号 %1 はもう %2 さんの番号です。")
                .arg(details.number)
                .arg(book.pupils[other].name);
    }
    return {};
}

void applyDetails(Pupil &pupil, const PupilDetails &details)
{
    pupil.number = details.number;
    pupil.name = cleanName(details.name);
    pupil.kana = details.kana.simplified();
    pupil.sex = details.sex.trimmed();
}

// Sorts and returns where the pupil that stood at index ended up.
int sortKeeping(ClassBook &book, int index)
{
    QList<int> order(book.pupils.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&book](int a, int b) {
        const int na = book.pupils[a].number;
        const int nb = book.pupils[b].number;
        if (na == 0 || nb == 0)
            return na != 0 && nb == 0;
        return na < nb;
    });
    QList<Pupil> sorted;
    sorted.reserve(order.size());
    int found = -1;
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(book.pupils[order[i]]);
        if (order[i] == index)
            found = i;
    }
    book.pupils = sorted;
    return found;
}

} // namespace

ClassBook newClassBook(const QString &name)
{
    ClassBook book;
    book.name = name.simplified();
    book.fields.append({QStringLiteral("所見"), 200});
    return book;
}

void alignTexts(ClassBook &book)
{
    for (Pupil &pupil : book.pupils) {
        while (pupil.texts.size() < book.fields.size())
            pupil.texts.append(QString());
    }
}

ClassEdit addField(ClassBook &book, const QString &name, int limit)
{
    const QString clean = cleanName(name);
    QString problem = fieldNameProblem(book, clean, -1);
    if (problem.isEmpty())
        problem = limitProblem(limit);
    if (!problem.isEmpty())
        return ClassEdit::refused(problem);
    alignTexts(book);
    book.fields.append({clean, limit});
    for (Pupil &pupil : book.pupils)
        pupil.texts.insert(book.fields.size() - 1, QString());
    return ClassEdit::done(book.fields.size() - 1);
}

ClassEdit renameField(ClassBook &book, int field, const QString &name)
{
    if (!validField(book, field))
        return ClassEdit::refused(QStringLiteral("欄を選んでください。"));
    const QString clean = cleanName(name);
    const QString problem = fieldNameProblem(book, clean, field);
    if (!problem.isEmpty())
        return ClassEdit::refused(problem);
    book.fields[field].name = clean;
    return ClassEdit::done(field);
}

ClassEdit setFieldLimit(ClassBook &book, int field, int limit)
{
    if (!validField(book, field))
        return ClassEdit::refused(QStringLiteral("欄を選んでください。"));
    const QString problem = limitProblem(limit);
    if (!problem.isEmpty())
        return ClassEdit::refused(problem);
    book.fields[field].limit = limit;
    return ClassEdit::done(field);
}

ClassEdit moveField(ClassBook &book, int from, int to)
{
    if (!validField(book, from) || !validField(book, to))
        return ClassEdit::refused(QStringLiteral("欄をそこへは動かせません。"));
    alignTexts(book);
    book.fields.move(from, to);
    for (Pupil &pupil : book.pupils)
        pupil.texts.move(from, to);
    return ClassEdit::done(to);
}

ClassEdit removeField(ClassBook &book, int field)
{
    if (!validField(book, field))
        return ClassEdit::refused(QStringLiteral("欄を選んでください。"));
    if (book.fields.size() == 1)
        return ClassEdit::refused(QStringLiteral("欄が一つだけのときは消せません。"));
    alignTexts(book);
    book.fields.removeAt(field);
    for (Pupil &pupil : book.pupils)
        pupil.texts.removeAt(field);
    return ClassEdit::done(std::min(field, int(book.fields.size()) - 1));
}

bool fieldHasText(const ClassBook &book, int field)
{
    return std::any_of(book.pupils.cbegin(), book.pupils.cend(), [field](const Pupil &pupil) {
        return field < pupil.texts.size() && !pupil.texts[field].trimmed().isEmpty();
    });
}

PupilDetails detailsOf(const Pupil &pupil) { return {pupil.number, pupil.name, pupil.kana, pupil.sex}; }

ClassEdit addPupil(ClassBook &book, const PupilDetails &details)
{
    const QString problem = detailsProblem(book, details, -1);
    if (!problem.isEmpty())
        return ClassEdit::refused(problem);
    Pupil pupil;
    applyDetails(pupil, details);
    for (int i = 0; i < book.fields.size(); ++i)
        pupil.texts.append(QString());
    book.pupils.append(pupil);
    return ClassEdit::done(sortKeeping(book, book.pupils.size() - 1));
}

ClassEdit editPupil(ClassBook &book, int pupil, const PupilDetails &details)
{
    if (!validPupil(book, pupil))
        return ClassEdit::refused(QStringLiteral("児童・生徒を選んでください。"));
    const QString problem = detailsProblem(book, details, pupil);
    if (!problem.isEmpty())
        return ClassEdit::refused(problem);
    applyDetails(book.pupils[pupil], details);
    return ClassEdit::done(sortKeeping(book, pupil));
}

ClassEdit movePupil(ClassBook &book, int pupil, int step)
{
    const int other = pupil + step;
    if (!validPupil(book, pupil) || !validPupil(book, other) || (step != 1 && step != -1))
        return ClassEdit::refused(QStringLiteral("これより先へは動かせません。"));
    std::swap(book.pupils[pupil].number, book.pupils[other].number);
    book.pupils.swapItemsAt(pupil, other);
    return ClassEdit::done(sortKeeping(book, other));
}

ClassEdit removePupil(ClassBook &book, int pupil)
{
    if (!validPupil(book, pupil))
        return ClassEdit::refused(QStringLiteral("児童・生徒を選んでください。"));
    book.pupils.removeAt(pupil);
    return ClassEdit::done(std::min(pupil, int(book.pupils.size()) - 1));
}

bool pupilHasText(const ClassBook &book, int pupil)
{
    if (!validPupil(book, pupil))
        return false;
    const QStringList &texts = book.pupils[pupil].texts;
    return !book.pupils[pupil].notes.isEmpty()
        || std::any_of(texts.cbegin(), texts.cend(), [](const QString &text) { return !text.trimmed().isEmpty(); });
}

void sortPupils(ClassBook &book)
{
    (void)sortKeeping(book, -1);
}

int pupilByNumber(const ClassBook &book, int number)
{
    if (number == 0)
        return -1;
    for (int i = 0; i < book.pupils.size(); ++i) {
        if (book.pupils[i].number == number)
            return i;
    }
    return -1;
}

ClassEdit setText(ClassBook &book, int pupil, int field, const QString &text)
{
    if (!validPupil(book, pupil) || !validField(book, field))
        return ClassEdit::refused(QStringLiteral("児童・生徒と欄を選んでください。"));
    const QString stored = foldLineBreaks(text);
    QStringList &texts = book.pupils[pupil].texts;
    while (texts.size() <= field)
        texts.append(QString());
    texts[field] = stored;
    return ClassEdit::done(pupil);
}

QString textOf(const ClassBook &book, int pupil, int field)
{
    if (!validPupil(book, pupil) || field < 0 || field >= book.pupils[pupil].texts.size())
        return {};
    return book.pupils[pupil].texts[field];
}
