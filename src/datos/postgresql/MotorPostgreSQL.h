#pragma once
// The server engine: one PostgreSQL database shared by several workstations,
// through libpq. Dates are `date`, amounts `numeric`, identities generated.
#include "datos/motor/Motor.h"

#include <functional>
#include <memory>
#include "datos/motor/Traductor.h"

struct pg_conn;

class DialectoPostgreSQL : public Dialecto {
public:
    QString LiteralFecha(const QDate& fecha) const override;
    QString LiteralNumero(double numero) const override;
    QString OrdenEspanol() const override;
    QString Parametro(int n) const override;
};

class MotorPostgreSQL : public MotorBD {
public:
    // Connects to the database of a `postgresql://` address; an empty database
    // gets the program's tables, an older one is brought up to date, one of
    // another program is refused. Throws ErrorBD (in Spanish).
    // `abreArchivoNuevo` makes the file database a consistent copy is written
    // into: the engine of files is not this engine's business.
    using AbreArchivo = std::function<std::unique_ptr<MotorBD>(const QString& ruta)>;
    static std::unique_ptr<MotorPostgreSQL> Abrir(const QString& direccion, bool soloLectura,
                                                  AbreArchivo abreArchivoNuevo);
    ~MotorPostgreSQL() override;

    const Dialecto& dialecto() const override;
    int Ejecutar(const QString& sql, const std::vector<Valor>& valores) override;
    std::unique_ptr<Registros> Consultar(const QString& sql) override;
    void Cerrar() override;
    bool Abierta() const override { return con_ != nullptr; }
    void EstableceEspera(int milisegundos) override;
    void Empieza(ClaseTransaccion clase) override;
    void Deshaz() noexcept override;
    QString Sesion() override;
    bool TieneTabla(const char* tabla) override;
    bool TomaMarcaUso() override;
    bool TomaUsoExclusivo() override;
    void SueltaUsoExclusivo() override;
    // The server keeps its own pages sound: there is nothing to check apart.
    void IniciaComprobacion(std::function<void(const QString&)> alTerminar, int) override;
    void EsperaComprobacion() override {}
    void CopiaConsistente(const QString& destino) override;

    // True when `cadena` names a server database.
    static bool EsDireccion(const QString& cadena);

private:
    explicit MotorPostgreSQL(pg_conn* con);
    void Actualiza();
    void SincronizaIdentidades() override;
    // A connection dropped since the last statement is opened again first.
    void Reconecta();
    pg_conn* con_ = nullptr;
    bool soloLectura_ = false;
    int espera_ = 3000;
    bool marcaUso_ = false;  // this instance holds the shared in-use mark
    bool sinMarca_ = false;  // a reconnection has not got it back yet
    AbreArchivo abreArchivoNuevo_;
};
