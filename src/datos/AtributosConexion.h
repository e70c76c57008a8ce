#pragma once
// The attributes of a connect string ("Clave=valor;Clave=valor"), written and
// read as ODBC does: a value holding ";", "=", a brace or blanks at its ends
// goes between braces, each "}" inside doubled.
#include <QString>

// "Clave=valor", the value braced when it needs it.
QString AtributoConexion(const QString& clave, const QString& valor);

// The value of `clave` (any letter case) in a connect string, unbraced;
// "" when the string does not name it.
QString ValorAtributoConexion(const QString& cadena, const QString& clave);
