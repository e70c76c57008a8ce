#pragma once
// The database access layer: a connection, statements executed at once, and
// static result sets fetched whole. The statements are written in the
// dialect the rest of the program uses (DateValue on day-first dates,
// regional amounts as quoted text); the layer translates each one into the
// SQL of the engine behind it. Every failure is thrown as ErrorBD.
#include "datos/motor/ErrorBD.h"
#include "datos/motor/Registros.h"
#include "datos/motor/Traductor.h"
#include "datos/motor/Valor.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class MotorBD;

class ConexionBD {
public:
    // Opens the database named by DBQ= in the connect string. With
    // crearSiFalta, a missing file is created with the program's tables, empty.
    // Throws ErrorBD; a damaged or foreign file is never overwritten.
    static std::unique_ptr<ConexionBD> Abrir(const QString& cadenaConexion, bool crearSiFalta = false);
    // Opens an existing database for reading only: nothing is created,
    // upgraded or written, and a write fails as on a write-protected file.
    static std::unique_ptr<ConexionBD> AbrirSoloLectura(const QString& cadenaConexion);
    ~ConexionBD();
    ConexionBD(const ConexionBD&) = delete;
    ConexionBD& operator=(const ConexionBD&) = delete;

    // Runs one statement at once (insert, update, delete, alter table). A
    // statement that fails leaves the database as it was. Returns the rows an
    // insert, update or delete changed (0 for other statements). The first one
    // waits for the verdict of the whole-database check: a damaged database is
    // never written.
    int Ejecutar(const QString& sql);
    // The same with parameters: each "?" of the statement takes the next of
    // `valores`, typed as the value is (never through regional text).
    int Ejecutar(const QString& sql, const std::vector<Valor>& valores);
    // Opens a static, fully fetched result set.
    std::unique_ptr<Registros> AbrirRegistros(const QString& sql);
    void Cerrar();
    // How long a statement waits for another user's lock before it fails.
    void EstableceEspera(int milisegundos);
    bool Abierta() const;
    const QString& Ruta() const { return ruta_; }

    // Starts the whole-database check apart from the user's work, after
    // `retardoMs` (a write cuts the delay short); `alTerminar` (called on
    // another thread) gets "" or the Spanish description of the damage.
    void IniciaComprobacion(std::function<void(const QString&)> alTerminar = nullptr, int retardoMs = 0);
    // A consistent copy of the whole database, written whole or not at all.
    void CopiaConsistente(const QString& destino);

    // The database file path named by a connect string ("" when none).
    static QString RutaDeCadena(const QString& cadenaConexion);

    // The server's marks of use (see MotorBD); a file's are its lock (MarcaUso.h).
    bool TomaMarcaUso();
    bool TomaUsoExclusivo();
    void SueltaUsoExclusivo();

    // True when the database is a server's rather than a file.
    bool EnServidor() const;
    // True when opening it created the program's tables: a database that did
    // not exist yet (a new file, or a server's empty database).
    bool Nueva() const;
    // True when `ruta` is the address of a server database ("postgresql://…").
    static bool EsDireccionServidor(const QString& ruta);

private:
    friend QStringList Traspasa(ConexionBD& origen, ConexionBD& destino, bool sustituir);
    friend class TransaccionBD;
    // The engine, once a write may start (open, and the check has cleared it).
    MotorBD& MotorEscritura();
    ConexionBD(std::unique_ptr<MotorBD> motor, QString ruta);
    std::unique_ptr<MotorBD> motor_;
    Traductor traductor_;
    QString ruta_;
};
