#pragma once
// The pieces the program's screens build alike, so that each looks and
// behaves as the others: the form's face, the bold captions and the lists of
// warnings, the grids over records and the bars' buttons.
#include <QRect>
#include <QString>
#include <QVector>
#include <initializer_list>

class ModeloRegistros;
class QLabel;
class QListWidget;
class QObject;
class QPushButton;
class QTableView;
class QWidget;
struct ColumnaRejilla;

// Names the screen and gives it its title and the forms' 8-point face, for
// which the positions in twips are measured.
void PreparaPantalla(QWidget* pantalla, const QString& nombre, const QString& titulo);
// A caption in bold Tahoma.
QLabel* Rotulo(QWidget* padre, const QString& nombre, const QString& texto = QString());
// A list of warnings in Tahoma, long lines wrapped.
QListWidget* ListaAvisos(QWidget* padre, const QString& nombre);
// Gives the read-only grid a model over records with these columns, in the
// program's look, each column aligned as described; returns the model.
ModeloRegistros* RejillaRegistros(QTableView* rejilla, const QVector<ColumnaRejilla>& columnas);
// A button of a bar, placed in twips.
QPushButton* BotonBarra(QWidget* barra, const QString& nombre, const QString& texto, const QRect& twips);
// Buttons that act on a click without taking the focus, so that the box being
// typed in is checked before any of them acts; `filtro` sees their events.
void BotonesSinFoco(QObject* filtro, std::initializer_list<QPushButton*> botones);
