#include "datos/ConexionBD.h"

#include "datos/AtributosConexion.h"
#include "datos/motor/TransaccionBD.h"
#include "datos/postgresql/MotorPostgreSQL.h"
#include "datos/sqlite/MotorSQLite.h"

ConexionBD::ConexionBD(std::unique_ptr<MotorBD> motor, QString ruta)
    : motor_(std::move(motor)), traductor_(motor_->dialecto()), ruta_(std::move(ruta)) {}

ConexionBD::~ConexionBD() { Cerrar(); }

QString ConexionBD::RutaDeCadena(const QString& cadena) {
    return ValorAtributoConexion(cadena, QStringLiteral("DBQ"));
}

namespace {
QString RutaObligada(const QString& cadenaConexion) {
    if (MotorPostgreSQL::EsDireccion(cadenaConexion))
        return cadenaConexion;
    const QString ruta = ConexionBD::RutaDeCadena(cadenaConexion);
    if (ruta.isEmpty())
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("La cadena de conexión no indica el archivo de la base de datos."));
    return ruta;
}

// A server's consistent copy is a new database file of the same layout.
std::unique_ptr<MotorBD> AbreArchivoNuevo(const QString& ruta) {
    return MotorSQLite::Abrir(ruta, MotorSQLite::Modo::CrearSiFalta);
}
}  // namespace

std::unique_ptr<ConexionBD> ConexionBD::Abrir(const QString& cadenaConexion, bool crearSiFalta) {
    const QString ruta = RutaObligada(cadenaConexion);
    if (MotorPostgreSQL::EsDireccion(ruta))
        return std::unique_ptr<ConexionBD>(new ConexionBD(MotorPostgreSQL::Abrir(ruta, false, AbreArchivoNuevo), ruta));
    return std::unique_ptr<ConexionBD>(
        new ConexionBD(MotorSQLite::Abrir(ruta, crearSiFalta ? MotorSQLite::Modo::CrearSiFalta : MotorSQLite::Modo::Existente),
                       ruta));
}

std::unique_ptr<ConexionBD> ConexionBD::AbrirSoloLectura(const QString& cadenaConexion) {
    const QString ruta = RutaObligada(cadenaConexion);
    if (MotorPostgreSQL::EsDireccion(ruta))
        return std::unique_ptr<ConexionBD>(new ConexionBD(MotorPostgreSQL::Abrir(ruta, true, AbreArchivoNuevo), ruta));
    return std::unique_ptr<ConexionBD>(new ConexionBD(MotorSQLite::Abrir(ruta, MotorSQLite::Modo::SoloLectura), ruta));
}

namespace {
ErrorBD Cerrada() {
    return ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
}
}  // namespace

int ConexionBD::Ejecutar(const QString& sql) { return Ejecutar(sql, {}); }

int ConexionBD::Ejecutar(const QString& sql, const std::vector<Valor>& valores) {
    if (!Abierta())
        throw Cerrada();
    const QString traducida = traductor_.Traduce(sql);
    motor_->EsperaComprobacion();
    return motor_->Ejecutar(traducida, valores);
}

MotorBD& ConexionBD::MotorEscritura() {
    if (!Abierta())
        throw Cerrada();
    motor_->EsperaComprobacion();
    return *motor_;
}

std::unique_ptr<Registros> ConexionBD::AbrirRegistros(const QString& sql) {
    if (!Abierta())
        throw Cerrada();
    return motor_->Consultar(traductor_.Traduce(sql));
}

void ConexionBD::Cerrar() {
    if (motor_)
        motor_->Cerrar();
}

void ConexionBD::EstableceEspera(int milisegundos) {
    if (motor_)
        motor_->EstableceEspera(milisegundos);
}

bool ConexionBD::Abierta() const { return motor_ && motor_->Abierta(); }

void ConexionBD::IniciaComprobacion(std::function<void(const QString&)> alTerminar, int retardoMs) {
    if (Abierta())
        motor_->IniciaComprobacion(std::move(alTerminar), retardoMs);
}

void ConexionBD::CopiaConsistente(const QString& destino) {
    if (!Abierta())
        throw Cerrada();
    motor_->CopiaConsistente(destino);
}

bool ConexionBD::EnServidor() const { return MotorPostgreSQL::EsDireccion(ruta_); }

bool ConexionBD::Nueva() const { return motor_ && motor_->Nueva(); }

bool ConexionBD::EsDireccionServidor(const QString& ruta) { return MotorPostgreSQL::EsDireccion(ruta); }

bool ConexionBD::TomaMarcaUso() { return Abierta() && motor_->TomaMarcaUso(); }

bool ConexionBD::TomaUsoExclusivo() { return Abierta() && motor_->TomaUsoExclusivo(); }

void ConexionBD::SueltaUsoExclusivo() {
    if (Abierta())
        motor_->SueltaUsoExclusivo();
}

// The guard lives on the engine seam; on a connection it takes the engine
// the connection writes with.
TransaccionBD::TransaccionBD(ConexionBD& con) : TransaccionBD(con.MotorEscritura()) {}
