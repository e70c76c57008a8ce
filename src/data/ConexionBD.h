#pragma once
// The database access layer: a connection, statements executed at once, and
// static result sets fetched whole. The engine behind it is SQLite; the
// statements are written in the dialect the rest of the program uses
// (DateValue on day-first dates, regional amounts as quoted text), which the
// layer accepts unchanged. Every failure is thrown as ErrorBD.
#include "data/ErrorBD.h"
#include "data/Valor.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;

// Registers DateValue and the regional conversions the triggers use on a
// handle of the engine. ConexionBD does it on every connection it opens.
void RegistraFuncionesBD(sqlite3* db);

// A static result set: every row is read when it opens.
class Registros {
public:
    Registros(QStringList columnas, std::vector<std::vector<Valor>> filas);

    // True when no row came back (the program reads the first row only).
    bool Fin() const { return numFilas_ == 0; }
    int NumFilas() const { return numFilas_; }
    int NumColumnas() const { return columnas_.size(); }
    const QStringList& Columnas() const { return columnas_; }
    // Column position by name, case-insensitive; -1 when there is none.
    int IndiceColumna(const QString& nombre) const;

    // Field of the current (first) row, by name or zero-based position.
    // Throws ErrorBD for an unknown column or when there is no row.
    const Valor& Campo(const QString& nombre) const;
    const Valor& Campo(int columna) const;
    // Any cell.
    const Valor& Celda(int fila, int columna) const;

    void Cerrar();

private:
    friend class ConexionBD;
    // The cells row after row, as the layer reads them.
    struct Celdas {};
    Registros(Celdas, QStringList columnas, std::vector<Valor> celdas);

    QStringList columnas_;
    std::vector<Valor> celdas_;  // row after row
    int numFilas_ = 0;
};

class ConexionBD {
public:
    // Opens the database named by DBQ= in the connect string. With
    // crearSiFalta, a missing file is created with the program's tables, empty.
    // Throws ErrorBD; a damaged or foreign file is never overwritten.
    static std::unique_ptr<ConexionBD> Abrir(const QString& cadenaConexion, bool crearSiFalta = false);
    ~ConexionBD();
    ConexionBD(const ConexionBD&) = delete;
    ConexionBD& operator=(const ConexionBD&) = delete;

    // Runs one statement at once (insert, update, delete, alter table).
    // A statement that fails leaves the database as it was. Returns the rows
    // an insert, update or delete changed (0 for other statements); the
    // conversions the triggers make are not counted.
    int Ejecutar(const QString& sql);
    // Opens a static, fully fetched result set.
    std::unique_ptr<Registros> AbrirRegistros(const QString& sql);
    void Cerrar();
    // How long a statement waits for another user's lock before it fails.
    void EstableceEspera(int milisegundos);
    bool Abierta() const { return db_ != nullptr; }
    const QString& Ruta() const { return ruta_; }

    // The database file path named by a connect string ("" when none).
    static QString RutaDeCadena(const QString& cadenaConexion);

private:
    ConexionBD(sqlite3* db, QString ruta);
    void ReabreSiAdmiteEscritura();
    sqlite3* db_ = nullptr;
    QString ruta_;
    int espera_;  // the busy wait, kept for a handle opened again
};
