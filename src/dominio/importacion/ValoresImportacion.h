#pragma once
// Values as other programs write them: amounts with a decimal comma or
// point, dates day first or ISO, the type of invoice in words.
#include <QChar>
#include <QDate>
#include <QString>
#include <optional>

// An amount written as text: a sign, digits grouped by threes or not, the
// decimals after `decimal` (',' or '.'); blanks and "€" around it are
// allowed. Where the text shows its own decimal separator unmistakably
// ("12,50", "1.234,5", "1,234.56") that one is used; "1.234" and "1,234" go
// by `decimal`. Nothing for anything else ("12,3,4").
std::optional<double> LeeImporteTexto(const QString& texto, QChar decimal = QLatin1Char(','));
// The decimal separator a text shows unmistakably; a null QChar when none.
QChar DecimalEvidente(const QString& texto);

// dd/mm/yyyy, d/m/yy (also with "-" or "."), or ISO yyyy-mm-dd (a time
// after it is allowed). Nothing for anything else.
std::optional<QDate> LeeFechaTexto(const QString& texto);

// "C", "Cobros", "Cobro", "Emitida", "Expedida", "Venta", "Ingreso" are
// Cobros (true); "P", "Pagos", "Pago", "Recibida", "Compra", "Gasto" are
// Pagos; any case, with or without accents or a final "s".
std::optional<bool> LeeTipoTexto(const QString& texto);
