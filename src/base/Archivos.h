#pragma once
// File operations every layer relies on for "whole or absent".
#include <QString>

// Puts `temporal` in the place of `destino` in one step, replacing an earlier
// file, so that the destination is always either the old file or the whole
// new one. On failure `detalle` gets the system's reason.
bool ReemplazaArchivo(const QString& temporal, const QString& destino, QString* detalle = nullptr);
