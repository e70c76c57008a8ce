#pragma once
// Read-only browsing grids: the common form of a grid and the per-column
// settings a screen puts on top of it, looked up by caption.
#include <QString>
#include <Qt>

class QTableView;

// Vertical scroll bar only, nothing editable, the whole current row marked
// (no mark at all with SinMarco), and each column aligned by the name of its
// data field (AlineacionColumna, ui/common/AlineacionLogica.h).
void FormatearRejilla(QTableView* Rejilla, bool SinMarco);

// The look of the program's lists: no row numbers, rows of 240 twips under a
// header of 270, no wrapped text, and Tab leaving the grid.
void PreparaRejilla(QTableView* rejilla);

// Column index by caption, -1 when none carries it.
int ColumnaPorTitulo(const QTableView* rejilla, const QString& titulo);
// Each does nothing when no column carries the caption.
void AlineaColumna(QTableView* rejilla, const QString& titulo, Qt::Alignment alineacion);
void FormatoColumna(QTableView* rejilla, const QString& titulo, const QString& formato);
void TituloColumna(QTableView* rejilla, const QString& titulo, const QString& nuevo);
