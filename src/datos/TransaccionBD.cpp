#include "datos/TransaccionBD.h"

#include "datos/ConexionBD.h"

namespace {
QString Sesion(ConexionBD& con) {
    return con.AbrirRegistros(QStringLiteral("select pg_backend_pid()"))->Campo(0).Texto();
}
}  // namespace

TransaccionBD::TransaccionBD(ConexionBD& con) : con_(con) {
    if (con_.EnServidor())
        sesion_ = Sesion(con_);
    con_.Ejecutar(con_.EnServidor() ? QStringLiteral("begin") : QStringLiteral("begin immediate"));
    abierta_ = true;
}

TransaccionBD::~TransaccionBD() {
    if (!abierta_)
        return;
    try {
        con_.Ejecutar(QStringLiteral("rollback"));
    } catch (const ErrorBD&) {
        // A lost connection has undone it already.
    }
}

void TransaccionBD::Comprueba() {
    if (con_.EnServidor() && Sesion(con_) != sesion_)
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("Se perdió la conexión con el servidor a mitad de la operación: no se ha "
                                     "guardado nada."));
}

void TransaccionBD::Confirma() {
    Comprueba();
    // A commit that fails leaves it to the destructor to undo.
    con_.Ejecutar(QStringLiteral("commit"));
    abierta_ = false;
}
