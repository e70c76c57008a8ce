#pragma once
// File operations every layer relies on for "whole or absent".
#include <QByteArray>
#include <QString>

// Puts `temporal` in the place of `destino` in one step, replacing an earlier
// file, so that the destination is always either the old file or the whole
// new one. On failure `detalle` gets the system's reason.
bool ReemplazaArchivo(const QString& temporal, const QString& destino, QString* detalle = nullptr);
// Writes `datos` as the file `ruta`, whole or not at all: written beside it,
// then put in its place, so an earlier file stays as it was on a failure.
// On failure `detalle` gets the system's reason.
bool EscribeArchivoEntero(const QString& ruta, const QByteArray& datos, QString* detalle = nullptr);
