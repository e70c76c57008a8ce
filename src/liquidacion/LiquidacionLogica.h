#pragma once
// The window-free part of the "Liquidación del Trimestre" screen: the quarter
// it proposes, the grid's columns and rows, its captions.
#include "ui/common/RejillaLogica.h"

#include <QDate>
#include <QString>
#include <memory>

class Registros;
struct Liquidacion;

namespace TextoLiquidacion {
extern const QString Titulo;      // "Liquidación del Trimestre"
extern const QString NoImpresa;   // "No se pudo imprimir la liquidación."
extern const QString Pide;        // what the screen says before its first calculation
}  // namespace TextoLiquidacion

// The grid's columns: "Casilla", "Concepto", "Importe".
QVector<ColumnaRejilla> ColumnasCasillas();
// One row per box, as the grid shows it (the texts the command writes).
std::unique_ptr<Registros> RegistrosCasillas(const Liquidacion& l);
