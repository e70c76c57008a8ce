#pragma once
// The listing between dates without its window: the statement, the company
// header lines, the title line and the rows the report consumes.
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

class Registros;

// The listing statement for two date texts, inserted as they stand (any
// apostrophe doubled).
QString ConsultaListado(const QString& desde, const QString& hasta);

// "select * from DATOS_EMPRESA"
QString SqlDatosEmpresa();

struct CabeceraEmpresa {
    QString linea1;  // NOMBRE
    QString linea2;  // DIRECCION
    QString linea3;  // COD_POSTAL LOCALIDAD PROVINCIA
    QString nif;     // CIF, without separators; printed where a document asks for it
};
// From the first row of the company result set; empty lines when there is no row.
CabeceraEmpresa LineasEmpresa(const Registros& rs);

// "entre las fechas " + desde + "  y  " + hasta
QString LineaTitulo(const QString& desde, const QString& hasta);

// One line of the report: a day and its paid (_C) and collected (_V) sums;
// an empty optional is a Null cell.
struct FilaListado {
    QDate fecha;
    std::optional<double> ivaC;
    std::optional<double> totalC;
    std::optional<double> ivaV;
    std::optional<double> totalV;
};
// Copies the rows of the listing result set (by column name). Throws ErrorBD.
std::vector<FilaListado> FilasListado(const Registros& rs);

// The folder "Guardar PDF" proposes: the user's documents folder where there
// is one, else his home folder.
QString CarpetaParaGuardar(const QString& documentos, const QString& personal);
