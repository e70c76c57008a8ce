#pragma once
// Spanish regional formats, whatever the machine's locale: decimal comma,
// "." between thousands, dates day/month/year. The one place for them.
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <optional>

// The literal written for an empty sum; it does not follow the regional settings.
extern const QString SumaVacia;  // "0.00"

// "#,##0.00": 1234.5 -> "1.234,50"; halves away from zero; leading minus.
QString FormatoImporte(double v);
// "0.00": two decimals, decimal comma, no grouping: 100 -> "100,00".
QString FormatoDosDecimales(double v);
// The number FormatoDosDecimales writes: rounded to cents the same way.
double RedondeaDosDecimales(double v);
// "#": rounded to a whole number (halves away from zero), no grouping,
// the empty text when it rounds to zero.
QString FormatoEntero(double v);
// An amount in whole cents, rounded as FormatoImporte rounds it: the cents
// it shows (1.005 -> 101). Exact sums add these, never the doubles.
qint64 Centimos(double v);
// "#,##0.00" of a whole number of hundredths: 123450 -> "1.234,50", 2100 -> "21,00".
QString FormatoCentimos(qint64 centimos);
// "#,##0": rounded to a whole number, "." between thousands: 1234567 -> "1.234.567".
QString FormatoEnteroAgrupado(double v);
// Plain text form of a number: shortest general form, up to 15 significant
// digits, decimal comma, no grouping: 121 -> "121", 83.06 -> "83,06".
QString TextoNumero(double v);

// Reads a number written the Spanish way: optional sign, "." between
// thousands (ignored), "," before the decimals. Blanks around it are allowed.
// The literal "0.00" reads as zero. Nothing for a text that is not a number.
std::optional<double> LeeNumero(const QString& texto);
// Reads a number as files store it, whatever the locale: optional sign,
// digits, a decimal point and an exponent, no grouping ("1234.5", "-1E-3").
// Nothing for anything else.
std::optional<double> LeeNumeroConPunto(QByteArrayView texto);

// Reads a date day first: day, month and year separated by "/", "-" or ".".
// One- and two-digit years: 0..29 -> 2000..2029, 30..99 -> 1930..1999.
// Nothing for a text that is not a calendar date (30/02/2008).
std::optional<QDate> LeeFecha(const QString& texto);
// Expands a one- or two-digit year by the 2029/1930 window.
int ExpandeAnio(int anio, int digitos);

// "dd/mm/yyyy".
QString EscribeFecha(const QDate& d);
// "ddmmyy".
QString FechaCompacta(const QDate& d);
// "Lunes, 3 de Marzo de 2008".
QString FechaLarga(const QDate& d);

// Spanish names with their first letter in upper case.
QString NombreDia(const QDate& d);
QString NombreMes(int mes);
