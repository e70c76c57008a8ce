#pragma once
// The rates in force by date and tax, and the quarter an invoice is declared
// in: one table and one rule for the editor, the return and the books.
// Rates are hundredths of a percent (2100 is 21 %, 950 is 9,5 %).
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

enum class Impuesto { IVA, IGIC };

// IGIC for the tax word "IGIC" (any case, blanks around it), IVA for any other.
Impuesto ImpuestoDePalabra(const QString& palabra);

// The rates of `impuesto` in force on `fecha`, ascending.
std::vector<qint64> TiposVigentes(Impuesto impuesto, const QDate& fecha);
bool EsTipoVigente(Impuesto impuesto, qint64 tipo, const QDate& fecha);

// A percentage in hundredths; nothing when it has more than two decimals
// (9,009 is no rate of any table).
std::optional<qint64> TipoDePorcentaje(double porcentaje);
// A rate written as the program writes numbers: 2100 -> "21", 950 -> "9,5".
QString TextoTipo(qint64 tipo);

// Base (cents) by rate (hundredths), in cents, halves away from zero, exactly.
qint64 CuotaDeTipo(qint64 base, qint64 tipo);
// The agency refuses a cuota more than a cent away from base by rate; the
// return warns of the same invoices, so both ask here.
bool CuotaDescuadra(qint64 base, qint64 tipo, qint64 cuota);

// The date that places an invoice in its quarter. A collected invoice: its
// operation date when it has one, else its issue date; a rectifying one
// (negative total), its issue date. A paid invoice: its reception date, the
// later of its issue and operation dates. An invalid operation date is none.
QDate FechaDeclaracion(bool cobro, const QDate& fecha, const QDate& fechaOperacion, bool negativa);

// The proposed rate of a new database: 7 for IGIC, 21 for anything else.
int TipoPorDefecto(const QString& palabraImpuesto);
