#pragma once
// A copy of a database file written whole or not at all: whatever happens
// to the process (a full disk, a kill, a power cut), the destination is
// either the file it was before or the whole new copy.
#include "datos/motor/ErrorBD.h"

#include <QString>
#include <functional>

// Run-time error numbers the messages of a copy tell apart.
namespace CodigoCopia {
constexpr int Escritura = 75;        // path/file access error
constexpr int SinCarpeta = 76;       // path not found
}  // namespace CodigoCopia

// Writes `destino`. `llena` writes the content into the temporary file whose
// path it gets: a hidden file beside `destino`, kept locked while it is
// written so that another copy's clean-up leaves it alone. The file is then
// synced, checked with the engine's integrity check (unless `comprobar` is
// false: the faithful copy of a file that may itself be damaged), given the
// permissions of `permisosDe` (when named) and renamed over `destino` in one
// step. Temporary files that interrupted copies left in that folder go first.
// Throws ErrorBD: SinCarpeta, Escritura (the system's words go to the log),
// or the failure `llena` throws.
void EscribeCopiaEntera(const QString& destino, const std::function<void(const QString& temporal)>& llena,
                        bool comprobar = true, const QString& permisosDe = QString());

// `llena` for a byte-for-byte copy of `origen` (which nobody may be writing).
void CopiaBytes(const QString& origen, const QString& temporal);

// The failure of writing a copy into `carpeta`; the system's `detalle` goes to the log.
ErrorBD ErrorEscrituraCopia(const QString& carpeta, const QString& detalle);

// How many safety copies of each kind (before a restore, before an upgrade)
// are kept of each database.
constexpr int kCopiasDeSeguridadConservadas = 3;

// The path of a new dated copy: `base` + ".mdb", or, when copies of that
// name exist, `base` + "-N.mdb" with N above all of theirs, so that the names
// sort in the order the copies were written.
QString NombreNuevaCopia(const QString& base);

// Removes the oldest of the safety copies in `carpeta` named `prefijo`, a date
// (and time) stamp, maybe "-N", and ".mdb", beyond the newest `conservar`.
// The newest one the engine finds sound stays, however old it is.
void PodaCopiasDeSeguridad(const QString& carpeta, const QString& prefijo,
                           int conservar = kCopiasDeSeguridadConservadas);
