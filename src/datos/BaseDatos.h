#pragma once
// The database file, its tables and the one shared connection.
#include "datos/ConexionBD.h"
#include "base/Programa.h"

#include <QDate>
#include <QString>
#include <memory>

// The program's folder, always ending in the platform's separator.
extern QString RutaAplicacion;
// The one shared connection; empty before start-up and after a failed ConectarBD.
extern std::unique_ptr<ConexionBD> Conexion;

// Sets RutaAplicacion from a folder, appending the separator when missing.
void EstableceRutaAplicacion(const QString& carpeta);

// The name of the program's desktop entry and metadata, without extension.
extern const QString IdEscritorio;

// A database named by the user (the command line) instead of the usual one;
// the empty text goes back to the usual one.
void FijaRutaBaseDatos(const QString& ruta);

// The database named by FijaRutaBaseDatos; otherwise RutaAplicacion + NombrePrograma + ".mdb"; the same name in the per-user data
// folder for an installed program, and when the program's folder is not
// writable and holds no database.
QString RutaBaseDatos();
// The decision behind RutaBaseDatos: for an installed program the per-user
// file; else beside the program when the file is there; else the per-user one
// when that exists; else beside the program when its folder is writable, or in
// the per-user folder when it is not. Beside the program when there is no
// per-user folder at all.
QString EligeRutaBaseDatos(const QString& junto, bool existeJunto, bool carpetaEscribible,
                           const QString& enUsuario, bool existeEnUsuario, bool instalado);
// True when the program in `carpetaPrograma` was installed: it sits in a
// "bin" folder whose sibling "share/applications" holds its desktop entry.
// Root may write anywhere, so writability alone cannot tell.
bool ProgramaInstalado(const QString& carpetaPrograma);

// The database RutaBaseDatos gives when none was named.
QString RutaBaseDatosHabitual();
// What the copies of the database `ruta` (a file or a server's address) are
// named after, so that copies of different databases never share a name:
// the application title for the usual database; otherwise the file's name
// without extension, or the server's database name. A name that only the
// letter case tells from the title gets the folder's name ("-servidor" for a
// server) after it.
QString RaizCopias(const QString& ruta);
// The backup copy's file name: RaizCopias + ddmmyy + ".mdb"
// ("Fiscalino061226.mdb" for the usual database).
QString NombreCopiaSeguridad(const QDate& dia, const QString& ruta);

// "Driver={SQLite3 ODBC Driver};DBQ=<file>;UID=Administrador;PWD="
QString CadenaConexion();

// Opens Conexion (creating a new, empty database where none exists yet).
// On failure shows the Spanish message and returns false.
bool ConectarBD();
// Opens Conexion on an existing database for reading only (the commands for
// scripts): a missing file is not created. On failure shows the Spanish
// message and returns false.
bool ConectarBDSoloLectura();

// The message of a connection that failed, with the failure's description.
void AvisaFalloConexion(const QString& descripcion);

// The shared connection; throws ErrorBD when there is none (a failed
// reconnection), so that a screen reports it instead of crashing.
ConexionBD& ConexionAbierta();

// Closes and releases the shared connection, ignoring any failure.
void CierraConexion();
