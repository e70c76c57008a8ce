#pragma once
// The window-free part of the "Liquidación del Trimestre" screen: the quarter
// it proposes, the grid's columns and rows, its captions.
#include "dominio/comun/RejillaLogica.h"

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

// The name proposed for the return's PDF: the model, the year and the
// quarter ("Liquidación 303 2026-3T.pdf"), or the two dates when they are
// not a quarter ("Liquidación 420 01-01-2026 a 15-02-2026.pdf").
QString NombrePdfLiquidacion(const Liquidacion& l);

// The grid's columns: "Casilla", "Concepto", "Importe".
QVector<ColumnaRejilla> ColumnasCasillas();
// One row per box, as the grid shows it (the texts the command writes).
std::unique_ptr<Registros> RegistrosCasillas(const Liquidacion& l);
