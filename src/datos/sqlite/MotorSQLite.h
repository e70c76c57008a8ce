#pragma once
// The embedded engine: one plain SQLite file that any standard tool can read,
// check and write. Dates are stored as ISO text, amounts as real numbers.
#include "datos/motor/Motor.h"
#include "datos/motor/Traductor.h"

#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

struct sqlite3;

class DialectoSQLite : public Dialecto {
public:
    QString LiteralFecha(const QDate& fecha) const override;
    QString OrdenEspanol() const override;
};

class MotorSQLite : public MotorBD {
public:
    enum class Modo {
        Existente,     // the file must exist
        CrearSiFalta,  // a missing or empty file gets the program's tables
        SoloLectura    // the file must exist; nothing is written, not even an upgrade
    };
    // Opens the file, reads its header and schema and (but read only) brings
    // an older layout of the program up to date. Throws ErrorBD; a damaged or
    // foreign file is never written.
    static std::unique_ptr<MotorSQLite> Abrir(const QString& ruta, Modo modo);
    ~MotorSQLite() override;

    const Dialecto& dialecto() const override;
    int Ejecutar(const QString& sql, const std::vector<Valor>& valores) override;
    std::unique_ptr<Registros> Consultar(const QString& sql) override;
    void Cerrar() override;
    bool Abierta() const override { return db_ != nullptr; }
    bool TieneTabla(const char* tabla) override;
    void EstableceEspera(int milisegundos) override;
    void Empieza(ClaseTransaccion clase) override;
    void Confirma() override;
    void Deshaz() noexcept override;
    void IniciaComprobacion(std::function<void(const QString&)> alTerminar, int retardoMs) override;
    void EsperaComprobacion() override;
    void CopiaConsistente(const QString& destino) override;

private:
    MotorSQLite(sqlite3* db, QString ruta);
    void DetieneComprobacion();
    void ReabreSiAdmiteEscritura();

    sqlite3* db_ = nullptr;
    QString ruta_;
    int espera_ = 3000;
    bool soloLectura_ = false;  // the busy wait, kept for a handle opened again
    std::thread comprobacion_;
    // "" sound, the damage found; nothing when the check met a lock and is to be tried again.
    std::shared_future<std::optional<QString>> veredicto_;
    std::function<void(const QString&)> alTerminar_;  // kept for the checks tried again
    std::mutex mutexComprobacion_;
    std::condition_variable despierta_;
    bool sinEsperar_ = false;  // a write or the close cuts the delay short
    bool cerrando_ = false;
    sqlite3* dbComprobacion_ = nullptr;  // to interrupt the check on close
    bool comprobada_ = false;
};
