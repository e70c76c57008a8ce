#pragma once
// Spanish tax identifiers (DNI, NIE and the CIF of companies) and their
// control character. Foreign identifiers exist: a NIF that fails is warned
// about, never refused.
#include <QString>

// Letters in upper case, every separator (blank, hyphen, dot, slash...) gone.
QString NormalizaNif(const QString& texto);

enum class ClaseNif { Vacio, Dni, Nie, Cif, Otro };

struct ComprobacionNif {
    ClaseNif clase = ClaseNif::Vacio;
    bool valido = true;  // false for a wrong control character and for Otro
    // What the control character should be: "Z", "4", or "4 o D" where the
    // CIF's first letter admits both; empty for Otro and Vacio.
    QString esperado;
};
// Checks a NIF as NormalizaNif leaves it.
ComprobacionNif CompruebaNif(const QString& nif);

// Why the books cannot take the NIF of `quien` ("cliente", "proveedor") as
// it is, as a clause of a Spanish sentence ("la letra de control del NIF del
// cliente (12345678A) debería ser Z"); empty when it is right or empty.
QString MotivoNif(const QString& nif, const QString& quien);
// The editor's warning for a NIF that fails; empty when it is right or empty.
QString AvisoNif(const QString& nif);
