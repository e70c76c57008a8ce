#pragma once
// The Spanish wording of the database engine's failures. The engine's own
// text is English: it only helps to pick the wording (and goes to the log),
// it never reaches the user.
#include <QString>

// `codigo` is the engine's primary result code, `mensaje` its own text.
QString TextoErrorMotor(int codigo, const QString& mensaje);
