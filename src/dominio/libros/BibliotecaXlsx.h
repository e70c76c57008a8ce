#pragma once
// The workbook library (libxlsxwriter) is loaded at the first workbook
// written, not by every start of the program: its functions are reached
// through a table filled then. The calls keep their names: each one below
// stands for the table's entry.
#include <xlsxwriter.h>

#define FISCALINO_FUNCIONES_XLSX(X)                                                                                  \
    X(format_set_align) X(format_set_bold) X(format_set_italic) X(format_set_num_format) X(format_set_text_wrap)     \
    X(lxw_strerror) X(workbook_add_format) X(workbook_add_worksheet) X(workbook_close) X(workbook_new_opt)           \
    X(worksheet_freeze_panes) X(worksheet_merge_range) X(worksheet_set_column) X(worksheet_write_number)             \
    X(worksheet_write_string)

struct FuncionesXlsx {
#define FISCALINO_DECLARA_XLSX(f) decltype(&::f) f = nullptr;
    FISCALINO_FUNCIONES_XLSX(FISCALINO_DECLARA_XLSX)
#undef FISCALINO_DECLARA_XLSX
};

// The table, the library loaded at the first call. Without the library (the
// reason goes to the log) no workbook can be made: workbook_new_opt answers
// none, as it does for a file it cannot create.
const FuncionesXlsx& BibliotecaXlsx();

#ifndef FISCALINO_BIBLIOTECA_XLSX_SIN_NOMBRES
#define format_set_align (BibliotecaXlsx().format_set_align)
#define format_set_bold (BibliotecaXlsx().format_set_bold)
#define format_set_italic (BibliotecaXlsx().format_set_italic)
#define format_set_num_format (BibliotecaXlsx().format_set_num_format)
#define format_set_text_wrap (BibliotecaXlsx().format_set_text_wrap)
#define lxw_strerror (BibliotecaXlsx().lxw_strerror)
#define workbook_add_format (BibliotecaXlsx().workbook_add_format)
#define workbook_add_worksheet (BibliotecaXlsx().workbook_add_worksheet)
#define workbook_close (BibliotecaXlsx().workbook_close)
#define workbook_new_opt (BibliotecaXlsx().workbook_new_opt)
#define worksheet_freeze_panes (BibliotecaXlsx().worksheet_freeze_panes)
#define worksheet_merge_range (BibliotecaXlsx().worksheet_merge_range)
#define worksheet_set_column (BibliotecaXlsx().worksheet_set_column)
#define worksheet_write_number (BibliotecaXlsx().worksheet_write_number)
#define worksheet_write_string (BibliotecaXlsx().worksheet_write_string)
#endif
