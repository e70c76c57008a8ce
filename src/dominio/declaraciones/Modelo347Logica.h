#pragma once
// What the 347's screen and printed page share without windows: their
// texts, the totals of each key, the grid's rows and the names proposed for
// its files.
#include "dominio/comun/RejillaLogica.h"
#include "dominio/declaraciones/Modelo347.h"

#include <QVector>
#include <memory>

class Registros;

namespace TextoModelo347 {
extern const QString Titulo;     // "Declaración Anual de Operaciones con Terceros (Modelo 347)"
extern const QString NoImpreso;  // "No se pudo imprimir el Modelo 347."
extern const QString Pide;       // what the screen says before its first calculation
extern const QString SinDeclarados;  // "Ningún tercero pasa de 3.005,06 € en el año."
}  // namespace TextoModelo347

// The sum of the rows of one key.
struct TotalClave347 {
    QChar clave;
    int declarados = 0;
    qint64 total = 0;
    std::array<qint64, 4> trimestres{};
};
// One per key present, in the rows' order.
std::vector<TotalClave347> TotalesPorClave(const Modelo347& m);
// "Clave B: entregas de bienes y servicios (Cobros)"
QString NombreClave347(QChar clave);
// "Total clave B, 3 declarados"
QString TextoTotalClave(const TotalClave347& t);
// The screen's line: "Total clave B, 3 declarados: 9.000,00 (1T 2.000,00; 2T 4.000,00; 3T 0,00; 4T 3.000,00)";
// without rows, that none passes the threshold.
QStringList LineasTotales347(const Modelo347& m);
// The year proposed: the one before today's, which February's filing declares.
int AnioPropuesto347(const QDate& hoy);

// "Modelo 347 2026.pdf"; the agency's file "Modelo 347 2026.txt".
QString NombrePdf347(int anio);
QString NombreFichero347(int anio);
// "Se ha guardado el archivo del Modelo 347 de 2026 en RUTA: 3 declarados."
QString TextoFicheroGuardado347(const Modelo347& m, const QString& ruta);

// The grid's columns: key, NIF, name, province, country, total and the four quarters.
QVector<ColumnaRejilla> Columnas347();
// One row per declared counterparty and key, the texts the command writes.
std::unique_ptr<Registros> Registros347(const Modelo347& m);

// The year the screen's box holds: "2026", "26"; 0 with the reason otherwise.
int LeeAnioDeclaracion(const QString& texto, QString* error);
