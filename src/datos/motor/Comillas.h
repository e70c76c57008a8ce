#pragma once
// Turning values into SQL text.
#include "datos/motor/Valor.h"

#include <QString>

// Every apostrophe doubled.
QString DoblarComillas(const QString& texto);

// "Null" for Null or the empty text; otherwise the text itself when EsNumero,
// else the text between apostrophes. Apostrophes inside are not doubled here:
// callers pass free text through DoblarComillas first (or use ValorSQL).
QString TextoSQL(const QString& valor, bool EsNumero);
QString TextoSQL(const Valor& valor, bool EsNumero);

// The rule for every quoted value the program writes: apostrophes doubled,
// then TextoSQL with EsNumero false. Text without apostrophes comes out
// exactly as TextoSQL gives it.
QString ValorSQL(const QString& texto);

// A number in plain C notation with 17 significant digits, which an engine
// reads back as the very same double: 1234.5599999999999, 21.
QString LiteralNumero(double v);

// A plain SQL test that `columna` still holds `valor` as it was read, Null
// included: "COL is Null" for Null, otherwise "=" with the value as a literal
// (texts quoted, apostrophes doubled; numbers with a point and enough digits
// to give back the same double; dates through DateValue on day-first text).
QString CondicionIgualSQL(const QString& columna, const Valor& valor);
