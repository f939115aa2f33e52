// Writes a workbook from a class full of awkward characters, and beside it what every cell
// should read back as in Excel (JSON), for check_xlsx.py to compare with an independent reader.
//   xlsx_sample <workbook.xlsx> <expected.json>
#include "ClassSamples.h"
#include "ExportTable.h"
#include "XlsxExport.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

ClassBook awkwardClass()
{
    const QString long250 = QString(QStringLiteral("長い所見の文章です。")).repeated(25);
    return classOf({field(QStringLiteral("所見"), 200), field(QStringLiteral("道徳"), 80), field(QStringLiteral("外国語活動"), 0)},
                   {pupil(3, QStringLiteral("𠮷田 一郎"), {QStringLiteral("一行目\r\n二行目\n三行目\r四行目"),
                                                          QStringLiteral("「はい」と\"言った\"。'引用'"), long250},
                          QStringLiteral("よしだ いちろう"), QStringLiteral("男")),
                    pupil(1, QStringLiteral("髙橋 花子"), {QStringLiteral("①②③ ㈱ Ⅳ 〜 − 😀👍🏽👨‍👩‍👧"),
                                                          QStringLiteral("=1+1"), QStringLiteral("<a & b> _x000D_ _x000d_ _x005F_ 'x") + QChar(0x0B) + QChar(0x01) + QChar(0xFFFE)},
                          QStringLiteral("たかはし はなこ")),
                    pupil(0, QStringLiteral("転入 生"), {QString(), QStringLiteral("\tタブ\tで始まる"), QStringLiteral("ｶﾀｶﾅ、ゔ")}),
                    pupil(2, QStringLiteral("O'Brien, 詩織"), {QStringLiteral("  前後の空白  "), QStringLiteral("𩸽と𠀋"), QStringLiteral("x")})},
                   QStringLiteral("3年2組 [2学期]"));
}

QJsonArray row(const QStringList &cells)
{
    QJsonArray array;
    for (const QString &cell : cells)
        array.append(withLineBreaks(cell, u"\n"));
    return array;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: xlsx_sample <workbook.xlsx> <expected.json>\n");
        return 2;
    }
    const QString workbook = QCoreApplication::arguments().at(1);
    ClassBook book = awkwardClass();
    book.noteTags.append(QStringLiteral("読書"));
    book.pupils[0].notes = {{QDate(2025, 1, 20), QStringLiteral("行事"), QStringLiteral("リレーで\r\nアンカー👍 _x000D_")},
                            {QDate(1899, 12, 31), QString(), QStringLiteral("=A1")}};
    book.pupils[1].notes = {{QDate(2024, 9, 2), QStringLiteral("読書"), QStringLiteral("髙の字 ①")}};
    QFile::remove(workbook);
    const ExportResult result = exportXlsx(workbook, book, false, XlsxOptions{true});
    if (!result.ok()) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(result.error));
        return 1;
    }
    QJsonArray rows{row(exportHeader(book))};
    for (const int pupil : pupilsInNumberOrder(book))
        rows.append(row(exportRow(book, pupil)));
    // The notes sheet: the number as a number, the date as a date (text before 1900).
    QJsonArray notes{row(notesHeader())};
    for (const NoteRef &ref : notesInExportOrder(book)) {
        const Pupil &p = book.pupils[ref.pupil];
        const PupilNote &note = p.notes[ref.note];
        notes.append(row({p.number > 0 ? QString::number(p.number) : QString(), p.name,
                          note.date.toString(note.date.year() < 1900 ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("yyyy-MM-dd")),
                          note.tag, note.text}));
    }
    QJsonArray widths;
    for (const ClassField &f : book.fields)
        widths.append(fieldColumnWidth(f.limit));
    const QJsonObject expected{{QStringLiteral("sheet"), sheetNameFor(book.name)},
                               {QStringLiteral("rows"), rows},
                               {QStringLiteral("notesSheet"), notesSheetNameBeside(sheetNameFor(book.name))},
                               {QStringLiteral("notes"), notes},
                               {QStringLiteral("fieldWidths"), widths}};
    QFile out(QCoreApplication::arguments().at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(expected).toJson()) <= 0)
        return 1;
    return 0;
}
