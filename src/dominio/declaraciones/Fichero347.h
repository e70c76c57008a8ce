#pragma once
// The agency's file of the 347: a declarant record (type 1), then one
// declared-party record (type 2) per row, each of 500 characters in
// ISO-8859-1 ended by CR LF; texts in capitals without accents (Ñ and Ç
// kept), numbers zero-filled, amounts as sign ("N" or blank) and 15 digits.
#include "dominio/declaraciones/Modelo347.h"

#include <QByteArray>
#include <QString>

class ConexionBD;

struct Declarante347 {
    QString nif, nombre;           // the company's
    QString telefono, contacto;    // who answers the agency's questions
};

// The company's NIF and name from its data. Throws ErrorBD.
Declarante347 LeeDeclarante(ConexionBD& con);

// What stops the file: the missing data, in Spanish; empty when it can be written.
QString FaltaParaFichero(const Declarante347& d);
// Nine digits, blanks between them allowed ("928 12 34 56").
bool TelefonoContactoValido(const QString& telefono);

// "ÁLVAREZ, S.L." -> "ALVAREZ  S L" in `longitud` characters, left-aligned.
QByteArray TextoFichero(const QString& texto, int longitud);
// An amount in 16 characters: -123456 -> "N000000000123456", 350000 -> " 000000000350000".
QByteArray ImporteFichero(qint64 centimos);

// The whole file.
QByteArray Fichero347(const Modelo347& m, const Declarante347& d);
// Writes it at `ruta`, whole or not at all (beside it, then put in its
// place); false with the system's reason in `detalle`.
bool GuardaFichero347(const QString& ruta, const Modelo347& m, const Declarante347& d, QString* detalle);
