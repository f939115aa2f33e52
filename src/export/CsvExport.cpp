#include "CsvExport.h"

#include "ClassChecks.h"
#include "Codec.h"
#include "ExportTable.h"
#include "SafeSave.h"

#include <QFileInfo>

namespace {

constexpr QStringView CrLf = u"\r\n";

void addRefusals(QList<Cp932Refusal> &refusals, int pupil, const QStringList &row)
{
    for (int column = 0; column < row.size(); ++column) {
        const QString refused = shiftJisRefusals(row[column]);
        if (!refused.isEmpty())
            refusals.append({pupil, column, refused});
    }
}

} // namespace

QList<Cp932Refusal> cp932Refusals(const ClassBook &book)
{
    QList<Cp932Refusal> refusals;
    addRefusals(refusals, -1, exportHeader(book));
    for (const int pupil : pupilsInNumberOrder(book))
        addRefusals(refusals, pupil, exportRow(book, pupil));
    return refusals;
}

QString csvField(const QString &text)
{
    return quotedIfAny(withLineBreaks(text, u"\n"), u",\"\r\n");
}

QString csvText(const ClassBook &book)
{
    QString text;
    auto addLine = [&text](const QStringList &cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += u',';
            text += csvField(cells[i]);
        }
        text += CrLf;
    };
    addLine(exportHeader(book));
    for (const int pupil : pupilsInNumberOrder(book))
        addLine(exportRow(book, pupil));
    return text;
}

CsvBytes csvBytes(const ClassBook &book, CsvEncoding encoding)
{
    CsvBytes result;
    if (encoding == CsvEncoding::Cp932) {
        result.refusals = cp932Refusals(book);
        if (!result.refusals.isEmpty())
            return result;
        result.bytes = encodeText(csvText(book), Encoding::Cp932).bytes;
    } else {
        // Every character as the class holds it. (The data files' encoder writes U+FFFD as "?";
        // here it is kept: it is the teacher's text, and UTF-8 holds it.)
        result.bytes = QByteArrayLiteral("\xEF\xBB\xBF") + csvText(book).toUtf8();
    }
    return result;
}

ExportResult exportCsv(const QString &path, const ClassBook &book, CsvEncoding encoding, bool overwrite)
{
    if (std::optional<ExportResult> blocked = exportBlocked(path, overwrite))
        return *blocked;
    ExportResult result;
    CsvBytes csv = csvBytes(book, encoding);
    if (!csv.refusals.isEmpty()) {
        result.status = ExportStatus::Refused;
        result.refusals = std::move(csv.refusals);
        return result;
    }
    return writeExportFile(path, csv.bytes, overwrite);
}
