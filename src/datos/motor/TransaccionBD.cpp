#include "datos/motor/TransaccionBD.h"

TransaccionBD::TransaccionBD(MotorBD& motor, ClaseTransaccion clase) : motor_(motor) {
    sesion_ = motor_.Sesion();
    motor_.Empieza(clase);
    abierta_ = true;
}

TransaccionBD::~TransaccionBD() {
    if (abierta_)
        motor_.Deshaz();
}

void TransaccionBD::Comprueba() {
    if (!sesion_.isEmpty() && motor_.Sesion() != sesion_)
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("Se perdió la conexión con el servidor a mitad de la operación: no se ha "
                                     "guardado nada."));
}

void TransaccionBD::Confirma() {
    Comprueba();
    // A commit that fails leaves it to the destructor to undo.
    motor_.Confirma();
    abierta_ = false;
}
