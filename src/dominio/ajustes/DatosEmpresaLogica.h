#pragma once
// The company data screen without its window: reading the row of
// DATOS_EMPRESA into the boxes and the statement that stores it.
#include <QString>
#include <QStringList>

// The eleven columns in the order of the boxes (their tags).
QStringList ColumnasEmpresa();
// The company's activity as the VAT books carry it (code A/B/..., type,
// IAE heading), optional, in the three boxes after the eleven.
QStringList ColumnasActividad();

// The name stored when the box is left empty.
extern const QString NombreEmpresaPruebas;  // "EMPRESA en PRUEBAS"

// "select * from DATOS_EMPRESA"
QString SqlLeeEmpresa();
// The insert (no row at load) and the update without a where clause (a row
// at load), from the eleven box texts, then the activity's three when given.
// Every quoted value has its apostrophes doubled; an empty box other than the
// name is written as Null.
QString SqlInsertaEmpresa(const QStringList& textos);
QString SqlActualizaEmpresa(const QStringList& textos);

struct CargaEmpresaPantalla {
    bool hayFila = false;  // decides insert or update for the whole opening
    QStringList textos;    // one per box
};
// Reads the first row by the column names the boxes carry in their tags.
// A failure is reported through MostrarErrorBD and leaves the boxes empty.
CargaEmpresaPantalla LeeEmpresaPantalla(const QStringList& etiquetas);

// Executes the insert or the update; a failure is reported through
// MostrarErrorBD. True when the row was stored.
bool GuardaEmpresa(const QStringList& textos, bool insertar);
