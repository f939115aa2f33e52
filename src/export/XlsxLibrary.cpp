#include "XlsxLibrary.h"

#ifndef KOTOBAN_XLSXWRITER_FILE

// Linked (Windows): there from the start.
QString xlsxLibraryProblem() { return {}; }

#else

#include <QLibrary>

#include <xlsxwriter.h>

namespace {

QLibrary &library()
{
    static QLibrary loaded(QStringLiteral(KOTOBAN_XLSXWRITER_FILE));
    return loaded;
}

template<typename Function>
Function resolved(const char *name)
{
    return reinterpret_cast<Function>(library().resolve(name));
}

} // namespace

// The library's function of the name of the one it is used in; null when the library is missing.
// The header's declaration gives the type, so a signature that differs does not compile.
#define KOTOBAN_REAL(name) static const auto real = resolved<decltype(&::name)>(#name)

QString xlsxLibraryProblem()
{
    if (library().load())
        return {};
    return QStringLiteral("Excel 形式を書く部品（%1）を読み込めませんでした: %2")
        .arg(QStringLiteral(KOTOBAN_XLSXWRITER_FILE), library().errorString());
}

// Without the library a workbook cannot be made, so nothing past workbook_new_opt runs.
lxw_workbook *workbook_new_opt(const char *filename, lxw_workbook_options *options)
{
    KOTOBAN_REAL(workbook_new_opt);
    return real ? real(filename, options) : nullptr;
}

lxw_error workbook_close(lxw_workbook *workbook)
{
    KOTOBAN_REAL(workbook_close);
    return real ? real(workbook) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

lxw_worksheet *workbook_add_worksheet(lxw_workbook *workbook, const char *sheetname)
{
    KOTOBAN_REAL(workbook_add_worksheet);
    return real ? real(workbook, sheetname) : nullptr;
}

lxw_format *workbook_add_format(lxw_workbook *workbook)
{
    KOTOBAN_REAL(workbook_add_format);
    return real ? real(workbook) : nullptr;
}

void format_set_bold(lxw_format *format)
{
    KOTOBAN_REAL(format_set_bold);
    if (real)
        real(format);
}

void format_set_text_wrap(lxw_format *format)
{
    KOTOBAN_REAL(format_set_text_wrap);
    if (real)
        real(format);
}

void format_set_align(lxw_format *format, uint8_t alignment)
{
    KOTOBAN_REAL(format_set_align);
    if (real)
        real(format, alignment);
}

void format_set_border(lxw_format *format, uint8_t style)
{
    KOTOBAN_REAL(format_set_border);
    if (real)
        real(format, style);
}

void format_set_bg_color(lxw_format *format, lxw_color_t color)
{
    KOTOBAN_REAL(format_set_bg_color);
    if (real)
        real(format, color);
}

void format_set_num_format(lxw_format *format, const char *num_format)
{
    KOTOBAN_REAL(format_set_num_format);
    if (real)
        real(format, num_format);
}

lxw_error worksheet_set_column(lxw_worksheet *worksheet, lxw_col_t first_col, lxw_col_t last_col, double width,
                               lxw_format *format)
{
    KOTOBAN_REAL(worksheet_set_column);
    return real ? real(worksheet, first_col, last_col, width, format) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

void worksheet_freeze_panes(lxw_worksheet *worksheet, lxw_row_t row, lxw_col_t col)
{
    KOTOBAN_REAL(worksheet_freeze_panes);
    if (real)
        real(worksheet, row, col);
}

lxw_error worksheet_repeat_rows(lxw_worksheet *worksheet, lxw_row_t first_row, lxw_row_t last_row)
{
    KOTOBAN_REAL(worksheet_repeat_rows);
    return real ? real(worksheet, first_row, last_row) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

void worksheet_set_landscape(lxw_worksheet *worksheet)
{
    KOTOBAN_REAL(worksheet_set_landscape);
    if (real)
        real(worksheet);
}

void worksheet_fit_to_pages(lxw_worksheet *worksheet, uint16_t width, uint16_t height)
{
    KOTOBAN_REAL(worksheet_fit_to_pages);
    if (real)
        real(worksheet, width, height);
}

lxw_error worksheet_write_number(lxw_worksheet *worksheet, lxw_row_t row, lxw_col_t col, double number,
                                 lxw_format *format)
{
    KOTOBAN_REAL(worksheet_write_number);
    return real ? real(worksheet, row, col, number, format) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

lxw_error worksheet_write_string(lxw_worksheet *worksheet, lxw_row_t row, lxw_col_t col, const char *string,
                                 lxw_format *format)
{
    KOTOBAN_REAL(worksheet_write_string);
    return real ? real(worksheet, row, col, string, format) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

lxw_error worksheet_write_datetime(lxw_worksheet *worksheet, lxw_row_t row, lxw_col_t col, lxw_datetime *datetime,
                                   lxw_format *format)
{
    KOTOBAN_REAL(worksheet_write_datetime);
    return real ? real(worksheet, row, col, datetime, format) : LXW_ERROR_MEMORY_MALLOC_FAILED;
}

#endif
