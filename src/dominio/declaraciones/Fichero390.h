#pragma once
// The agency's import file of the 390 for its online form (record design of
// 2025): the envelope `<T3900EEEE0A0000>`, its `<AUX>` block, then pages
// 01000 (identification), 02000, 02B00, 03000, 04000 and 06000, each of its
// fixed length, in ISO-8859-1 without line ends. Amounts are 17 characters,
// zero-filled, 15 integers and 2 decimals, a negative one with "N" first.
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/declaraciones/Modelo390.h"

#include <QByteArray>

// -123,45 -> "N0000000000012345".
QByteArray Importe390(qint64 centimos);

// The pages and their lengths, in the file's order.
struct Pagina390 {
    const char* codigo;
    int longitud;
};
extern const Pagina390 kPaginas390[6];

// What stops the file: the company's NIF or name missing, in Spanish; empty when it can be written.
QString FaltaParaFichero390(const Declarante347& d);

// The whole file: `declara347` marks that the company files the 347 this
// year; `version` is the program's, in four characters.
QByteArray Fichero390(const Modelo390& m, const Declarante347& d, bool declara347, const QString& version);
// The same, the declarant and whether the year has a Modelo 347 read from the
// database; empty, with the Spanish reason in `falta`, when the declarant's
// data are not enough. Throws ErrorBD.
QByteArray LeeFichero390(ConexionBD& con, const Modelo390& m, const QString& version, QString* falta);
