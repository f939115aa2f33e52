#include "XlsxExport.h"

#include "Characters.h"
#include "ExportTable.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int SheetNameLimit = 31;

QString libraryError(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }

// Full-width characters take about two of Excel's width units (the width of a "0").
double widthForCharacters(int characters) { return characters * 2.0 + 2.0; }

// The widest roster entry, within bounds, so that names show on one line.
double rosterColumnWidth(const QStringList &texts, int fewest, int most)
{
    int longest = fewest;
    for (const QString &text : texts)
        longest = std::max(longest, characterCount(text));
    return widthForCharacters(std::min(longest, most));
}

bool isHexDigit(QChar c) { return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Where text holds what Excel would read as an escape _xHHHH_.
bool isEscapeAt(QStringView text, qsizetype i)
{
    if (i + 7 > text.size() || text[i] != u'_' || text[i + 1] != u'x' || text[i + 6] != u'_')
        return false;
    return std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHexDigit);
}

class WorkbookWriter
{
public:
    WorkbookWriter(const QString &file, const ClassBook &book, const XlsxOptions &xlsx)
        : m_book(book), m_options(xlsx), m_file(pathForLibrary(file)), m_temporaryFolder(pathForLibrary(QDir::tempPath()))
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_FALSE;
        options.use_zip64 = LXW_FALSE;
        // Its own scratch files go to the user's temporary folder: the C library's tmpfile()
        // writes to the root of the drive on Windows, where a teacher may not write.
        options.tmpdir = m_temporaryFolder.data();
        m_workbook = workbook_new_opt(m_file.constData(), &options);
    }
    ~WorkbookWriter()
    {
        // A workbook never closed still owns its memory; closing writes the file, which the
        // caller then removes.
        if (m_workbook)
            workbook_close(m_workbook);
    }
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // Builds the sheet and writes the file; an empty string when all went well.
    QString write()
    {
        if (!m_workbook)
            return QStringLiteral("ブックを作れませんでした。");
        lxw_worksheet *sheet = workbook_add_worksheet(m_workbook, sheetNameFor(m_book.name).toUtf8().constData());
        if (!sheet)
            return QStringLiteral("シート名を付けられませんでした。");
        createFormats();
        layOut(sheet);
        if (const QString error = writeCells(sheet); !error.isEmpty())
            return error;
        if (m_options.notesSheet) {
            if (const QString error = writeNotes(); !error.isEmpty())
                return error;
        }
        const lxw_error closed = workbook_close(m_workbook);
        m_workbook = nullptr;
        return closed == LXW_NO_ERROR ? QString() : libraryError(closed);
    }

private:
    void createFormats()
    {
        m_header = workbook_add_format(m_workbook);
        format_set_bold(m_header);
        format_set_align(m_header, LXW_ALIGN_CENTER);
        format_set_align(m_header, LXW_ALIGN_VERTICAL_CENTER);
        format_set_bg_color(m_header, 0xE8E8E8);
        format_set_border(m_header, LXW_BORDER_THIN);
        m_text = workbook_add_format(m_workbook);
        format_set_text_wrap(m_text);
        format_set_align(m_text, LXW_ALIGN_VERTICAL_TOP);
        format_set_border(m_text, LXW_BORDER_THIN);
        m_number = workbook_add_format(m_workbook);
        format_set_align(m_number, LXW_ALIGN_CENTER);
        format_set_align(m_number, LXW_ALIGN_VERTICAL_TOP);
        format_set_border(m_number, LXW_BORDER_THIN);
        m_date = workbook_add_format(m_workbook);
        format_set_num_format(m_date, "yyyy/mm/dd");
        format_set_align(m_date, LXW_ALIGN_VERTICAL_TOP);
        format_set_border(m_date, LXW_BORDER_THIN);
    }

    // One row per note; the date as a date, so that Excel sorts and filters by it.
    QString writeNotes()
    {
        const QString name = notesSheetNameBeside(sheetNameFor(m_book.name));
        lxw_worksheet *sheet = workbook_add_worksheet(m_workbook, name.toUtf8().constData());
        if (!sheet)
            return QStringLiteral("シート名を付けられませんでした。");
        const QStringList header = notesHeader();
        worksheet_set_column(sheet, 0, 0, 9, nullptr);
        worksheet_set_column(sheet, 1, 1, 20, nullptr);
        worksheet_set_column(sheet, 2, 2, 12, nullptr);
        worksheet_set_column(sheet, 3, 3, 10, nullptr);
        worksheet_set_column(sheet, 4, 4, widthForCharacters(40), nullptr);
        worksheet_freeze_panes(sheet, 1, 0);
        worksheet_repeat_rows(sheet, 0, 0);
        for (int c = 0; c < header.size(); ++c)
            (void)writeText(sheet, 0, c, header[c], m_header);
        lxw_row_t row = 1;
        for (const NoteRef &ref : notesInExportOrder(m_book)) {
            const Pupil &pupil = m_book.pupils[ref.pupil];
            const PupilNote &note = pupil.notes[ref.note];
            if (pupil.number > 0)
                worksheet_write_number(sheet, row, 0, pupil.number, m_number);
            // Excel's dates start in 1900: an earlier one (a typing slip) goes in as it reads.
            lxw_datetime date{note.date.year(), note.date.month(), note.date.day(), 0, 0, 0};
            if (note.date.year() >= 1900 && note.date.year() <= 9999)
                worksheet_write_datetime(sheet, row, 2, &date, m_date);
            else
                (void)writeText(sheet, row, 2, note.date.toString(QStringLiteral("yyyy/MM/dd")), m_date);
            const std::pair<int, QString> cells[] = {{1, pupil.name}, {3, note.tag}, {4, note.text}};
            for (const auto &[column, text] : cells) {
                if (const lxw_error error = writeText(sheet, row, column, text, m_text); error != LXW_NO_ERROR)
                    return cellError(pupil.name, name + QStringLiteral("」の「") + header[column], error);
            }
            ++row;
        }
        return {};
    }

    void layOut(lxw_worksheet *sheet)
    {
        QStringList names, kana;
        for (const Pupil &pupil : m_book.pupils) {
            names.append(pupil.name);
            kana.append(pupil.kana);
        }
        worksheet_set_column(sheet, 0, 0, 9, nullptr);
        worksheet_set_column(sheet, 1, 1, rosterColumnWidth(names, 6, 20), nullptr);
        worksheet_set_column(sheet, 2, 2, rosterColumnWidth(kana, 6, 24), nullptr);
        for (int f = 0; f < m_book.fields.size(); ++f) {
            const auto column = lxw_col_t(RosterColumns + f);
            worksheet_set_column(sheet, column, column, fieldColumnWidth(m_book.fields[f].limit), nullptr);
        }
        worksheet_freeze_panes(sheet, 1, 0);
        // On paper: landscape, as wide as the page, the header on every page.
        worksheet_set_landscape(sheet);
        worksheet_fit_to_pages(sheet, 1, 0);
        worksheet_repeat_rows(sheet, 0, 0);
    }

    QString writeCells(lxw_worksheet *sheet)
    {
        const QStringList header = exportHeader(m_book);
        for (int c = 0; c < header.size(); ++c) {
            if (const lxw_error error = writeText(sheet, 0, c, header[c], m_header); error != LXW_NO_ERROR)
                return cellError(QStringLiteral("見出し"), header[c], error);
        }
        lxw_row_t row = 1;
        for (const int p : pupilsInNumberOrder(m_book)) {
            const Pupil &pupil = m_book.pupils[p];
            if (pupil.number > 0)
                worksheet_write_number(sheet, row, 0, pupil.number, m_number);
            const QStringList cells = exportRow(m_book, p);
            for (int c = 1; c < cells.size(); ++c) {
                if (const lxw_error error = writeText(sheet, row, c, cells[c], m_text); error != LXW_NO_ERROR)
                    return cellError(pupil.name, header.value(c), error);
            }
            ++row;
        }
        return {};
    }

    static lxw_error writeText(lxw_worksheet *sheet, lxw_row_t row, int column, const QString &text,
                               lxw_format *format)
    {
        const QByteArray utf8 = excelCellText(text).toUtf8();
        return worksheet_write_string(sheet, row, lxw_col_t(column), utf8.constData(), format);
    }

    static QString cellError(const QString &who, const QString &column, lxw_error error)
    {
        return QStringLiteral("%1の「%2」を書けませんでした：%3").arg(who, column, libraryError(error));
    }

    // A file name as libxlsxwriter opens it: UTF-8 on Windows (it converts to a wide name
    // there), the file system's encoding elsewhere.
    static QByteArray pathForLibrary(const QString &path)
    {
#ifdef Q_OS_WIN
        return QDir::toNativeSeparators(path).toUtf8();
#else
        return QFile::encodeName(path);
#endif
    }

    const ClassBook &m_book;
    const XlsxOptions m_options;
    QByteArray m_file;
    QByteArray m_temporaryFolder;
    lxw_workbook *m_workbook = nullptr;
    lxw_format *m_header = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_number = nullptr;
    lxw_format *m_date = nullptr;
};

} // namespace

QString excelCellText(const QString &text)
{
    const QString lines = withLineBreaks(text, u"\n");
    QString cell;
    cell.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QChar c = lines[i];
        if (isEscapeAt(lines, i))
            cell += QStringLiteral("_x005F");
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            cell += c.unicode() == 0xFFFE ? QStringLiteral("_xFFFE_") : QStringLiteral("_xFFFF_");
        else
            cell += c;
    }
    return cell;
}

QString sheetNameFor(const QString &className)
{
    static const QStringView forbidden = u"[]:*?/\\";
    static const QStringView fullWidth = u"［］：＊？／＼";
    QString name;
    for (const QChar c : className) {
        if (const qsizetype i = forbidden.indexOf(c); i >= 0)
            name += fullWidth[i];
        else if (c.category() == QChar::Other_Control || c == u'\u2028' || c == u'\u2029')
            name += u' ';
        else
            name += c;
    }
    name = name.trimmed();
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    if (name.size() > SheetNameLimit) {
        name.truncate(SheetNameLimit);
        if (name.back().isHighSurrogate())
            name.chop(1);
    }
    while (name.endsWith(u'\'') || (!name.isEmpty() && name.back().isSpace()))
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("所見");
    if (name.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        return name + QStringLiteral("（所見）");
    return name;
}

double fieldColumnWidth(int limit)
{
    // About five lines for a comment at its limit, between 16 and 40 characters a line.
    constexpr int Lines = 5;
    const int perLine = limit > 0 ? std::clamp((limit + Lines - 1) / Lines, 16, 40) : 30;
    return widthForCharacters(perLine);
}

QString notesSheetNameBeside(const QString &classSheet)
{
    const QString name = QStringLiteral("メモ");
    return classSheet.compare(name, Qt::CaseInsensitive) == 0 ? name + QStringLiteral("（2）") : name;
}

ExportResult exportXlsx(const QString &path, const ClassBook &book, bool overwrite, const XlsxOptions &options)
{
    if (std::optional<ExportResult> blocked = exportBlocked(path, overwrite))
        return *blocked;
    ExportResult result;
    const QString temporary = temporaryPathBeside(path);
    const QString error = WorkbookWriter(temporary, book, options).write();
    if (!error.isEmpty()) {
        QFile::remove(temporary);
        result.status = ExportStatus::Failed;
        result.error = error;
        return result;
    }
    return placeExportFile(temporary, path, overwrite);
}
