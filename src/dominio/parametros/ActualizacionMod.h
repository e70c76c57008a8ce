#pragma once
// Bringing an older database up to the program's version.
#include <QString>
#include <QStringList>

extern const QString VersionPrograma;  // "1.0"

// Compares the recorded "Version" with the program's and upgrades when they differ.
// Does nothing at all when the program runs from a network share.
void ComprobarVersion();

// Runs the steps of every known version after the recorded one, in order,
// writing each version once reached. `conocidas` is the list of known
// versions ("1.0" in this program).
void ActualizarVersion11(const QString& registrada, const QStringList& conocidas = {QStringLiteral("1.0")});

// The statements of the step that leads to `version` (none for "1.0").
QStringList PasosVersion(const QString& version);
