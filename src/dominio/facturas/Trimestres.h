#pragma once
// The quarter browser's rules: quarter dates, typed years and dates, the
// list and sums statements, sums and differences.
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class ConexionBD;
class Registros;

struct RangoFechas {
    QString desde;
    QString hasta;
};

extern const QStringList NombresTrimestre;  // "1º Trimestre" .. "4º Trimestre"

// From and to texts of quarter 0..3 of the year text; nothing for any other index.
std::optional<RangoFechas> FechasTrimestre(int indice, const QString& anio);
// 0..3.
int TrimestreDeFecha(const QDate& fecha);
// The quarter whose return and books are made on `hoy`: the last one ended
// (the fourth of the year before, from January to March). The screens that
// ask for a quarter propose it.
struct PeriodoPropuesto {
    QString anio;
    int trimestre;  // 0..3
};
PeriodoPropuesto UltimoTrimestreTerminado(const QDate& hoy);
// "7" -> "2007", "99" -> "1999", "" -> ""; a text that does not form a date
// with "01/01/" in front is kept as it is.
QString CompletaAnio(const QString& anio);
// "1/2/07" -> "01/02/2007"; "" -> ""; nothing when it is not a date.
std::optional<QString> NormalizaFecha(const QString& texto);

QString SqlListaFacturas(const QString& tipo, const QString& desde, const QString& hasta);
QString SqlSumasFacturas(const QString& tipo, const QString& desde, const QString& hasta);

// 2 for "C", 0 for any other type.
int PrimerIndiceSuma(const QString& tipo);

// Opens the list of one type (static, read-only). Throws ErrorBD.
std::unique_ptr<Registros> CargaLista(ConexionBD& con, const QString& tipo, const QString& desde, const QString& hasta);
// Writes the type's two sum texts into sumas (size 4): "#,##0.00", or "0.00"
// for an empty sum. Throws ErrorBD.
void CalculaTotales(ConexionBD& con, const QString& tipo, const QString& desde, const QString& hasta,
                    QStringList& sumas);
// Collected minus paid, from the sums as shown: {VAT, total}, "#,##0.00".
QStringList CalculaDiferencias(const QStringList& sumas);
