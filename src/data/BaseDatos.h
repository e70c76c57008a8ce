#pragma once
// The database file, its tables and the one shared connection.
#include "data/ConexionBD.h"
#include "data/comun/Programa.h"

#include <QDate>
#include <QString>
#include <memory>

// The program's folder, always ending in the platform's separator.
extern QString RutaAplicacion;
// The one shared connection; empty before start-up and after a failed ConectarBD.
extern std::unique_ptr<ConexionBD> Conexion;

// Sets RutaAplicacion from a folder, appending the separator when missing.
void EstableceRutaAplicacion(const QString& carpeta);

// RutaAplicacion + NombrePrograma + ".mdb"; when the program's folder is not
// writable and holds no database, the same name in the per-user data folder.
QString RutaBaseDatos();
// The decision behind RutaBaseDatos: beside the program when the file is
// there; else the per-user one when that exists; else beside the program when
// its folder is writable, or in the per-user folder when it is not.
QString EligeRutaBaseDatos(const QString& junto, bool existeJunto, bool carpetaEscribible,
                           const QString& enUsuario, bool existeEnUsuario);

// The backup copy's file name: "Fiscalino" + ddmmyy + ".mdb".
QString NombreCopiaSeguridad(const QDate& dia);

// "Driver={SQLite3 ODBC Driver};DBQ=<file>;UID=Administrador;PWD="
QString CadenaConexion();

// Opens Conexion (creating a new, empty database where none exists yet).
// On failure shows the Spanish message and returns false.
bool ConectarBD();

// The shared connection; throws ErrorBD when there is none (a failed
// reconnection), so that a screen reports it instead of crashing.
ConexionBD& ConexionAbierta();

// Closes and releases the shared connection, ignoring any failure.
void CierraConexion();

// The statements that create the three tables of a new database.
extern const char* const EsquemaBD;
