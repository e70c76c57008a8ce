#pragma once
// Database failures turned into the program's Spanish messages.
#include "datos/motor/ErrorBD.h"

#include <QString>

// Shows the failure `e`. With MensajePropio the caller's text (extended in
// place with the key-violation explanation, if any) is shown alone, without
// icon; otherwise "Se produjo un error: " + text under "Error con la Base de Datos".
void MostrarErrorBD(const ErrorBD& e, bool MensajePropio, QString& texto);
// The same with an empty text of the caller's.
void MostrarErrorBD(const ErrorBD& e);

// True when `pendiente` holds a failure (number not 0), after showing its
// message unless Silencioso. False, showing nothing, when none is pending.
bool ComprobarErrorBD(const ErrorBD* pendiente, bool Silencioso);
