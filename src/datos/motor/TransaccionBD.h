#pragma once
// Several statements stored together or not at all: what is written between
// the start and Confirma() is undone when the transaction ends without it
// (a failure, an exception, a cancelled import). A killed program leaves the
// engine to undo it. Every transaction of the program is one of these.
#include "datos/motor/Motor.h"

#include <QString>

class ConexionBD;

class TransaccionBD {
public:
    // Starts a write on the connection, once the whole-database check has
    // cleared it; a file takes its write lock at once, so that another
    // instance's writing is met here and not halfway. Throws ErrorBD.
    explicit TransaccionBD(ConexionBD& con);
    // The same on an engine itself (its own upgrade, a copy between engines).
    explicit TransaccionBD(MotorBD& motor, ClaseTransaccion clase = ClaseTransaccion::Escritura);
    // Undoes what was not confirmed; never throws.
    ~TransaccionBD();
    TransaccionBD(const TransaccionBD&) = delete;
    TransaccionBD& operator=(const TransaccionBD&) = delete;

    // Throws ErrorBD when the server's connection was lost since the start:
    // the server undid the transaction, and the connection opened again
    // would store the next statements one by one. Call it before each write.
    void Comprueba();
    // Stores everything. Throws ErrorBD, and then nothing is stored.
    void Confirma();

private:
    MotorBD& motor_;
    QString sesion_;  // the server's process serving the transaction
    bool abierta_ = false;
};
