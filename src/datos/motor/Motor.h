#pragma once
// One database engine behind the connection: it runs statements already
// translated into its own SQL. Nothing of the engine shows in this interface.
#include "datos/motor/Registros.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class Dialecto;

// How a transaction reads and writes (see TransaccionBD).
enum class ClaseTransaccion {
    Escritura,   // takes the write lock at its start
    Instantanea  // reads one consistent state of the whole database, writes nothing
};

class MotorBD {
public:
    virtual ~MotorBD() = default;
    virtual const Dialecto& dialecto() const = 0;
    // Runs one statement; returns how many rows it changed. The statement's
    // parameters (written as the dialect says) take `valores` in order.
    virtual int Ejecutar(const QString& sql, const std::vector<Valor>& valores = {}) = 0;
    virtual std::unique_ptr<Registros> Consultar(const QString& sql) = 0;
    virtual void Cerrar() = 0;
    virtual bool Abierta() const = 0;
    virtual void EstableceEspera(int milisegundos) = 0;
    // Whether the database holds the table (one of an earlier layout, opened
    // only to read, lacks the later ones). Fails nothing when it does not.
    virtual bool TieneTabla(const char* tabla) = 0;

    // The transaction's own statements, for TransaccionBD only. Deshaz never
    // throws: a lost connection or a failed statement has undone it already.
    virtual void Empieza(ClaseTransaccion clase) = 0;
    virtual void Confirma() { Ejecutar(QStringLiteral("commit")); }
    virtual void Deshaz() noexcept = 0;
    // What names the session serving the transaction ("" for a file): another
    // one means the server lost the connection and undid the transaction.
    virtual QString Sesion() { return QString(); }

    // The whole-database check, run apart so that start-up does not wait for
    // it, after `retardoMs`; `alTerminar` gets "" when the database is sound,
    // or a Spanish description of the damage (called on another thread).
    virtual void IniciaComprobacion(std::function<void(const QString&)> alTerminar, int retardoMs) = 0;
    // Waits for the check (starting it when it was not); throws ErrorBD when
    // the database is damaged, so that nothing is written to it.
    virtual void EsperaComprobacion() = 0;

    // A consistent copy of the whole database in `destino`, written whole
    // or not at all.
    virtual void CopiaConsistente(const QString& destino) = 0;
    // After rows were copied in with their own ids: the next new row gets an
    // id above them.
    virtual void SincronizaIdentidades() {}

    // The marks a server keeps for its sessions (a file is marked by its own
    // lock, outside the engine): every instance holds the shared mark while it
    // is connected; a backup or a restore needs the exclusive one, granted only
    // when no other instance holds a mark. Neither waits.
    virtual bool TomaMarcaUso() { return true; }
    virtual bool TomaUsoExclusivo() { return true; }
    virtual void SueltaUsoExclusivo() {}

    // True when opening it created the program's tables.
    bool Nueva() const { return nueva_; }

protected:
    bool nueva_ = false;
};
