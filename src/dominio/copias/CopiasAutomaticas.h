#pragma once
// The copy made on leaving the program, once a day for each database, of
// which the last few of each are kept in the backup folder. Its settings live
// in the settings store, section "Config": "CopiasAutomaticas" (how many are
// kept; 0 makes none), "UltimaCopiaAutomatica" (the day of the last one) and
// "AvisoCopiaAutomatica" (a failure already told); for a database other than
// the usual one these two carry "-" and the name of its copies after them.
#include <QDate>
#include <QString>

// How many are kept when the user never said: a week of working days and more.
constexpr int kCopiasAutomaticasPorDefecto = 7;
// The most the configuration screen takes.
constexpr int kCopiasAutomaticasMaximo = 99;

int CopiasAutomaticas();
void GuardaCopiasAutomaticas(int cuantas);

// RaizCopias of the database `ruta` + "-automatica-AAAAMMDD.mdb"
// ("Fiscalino-automatica-20261207.mdb"): sorted by name they are sorted by day.
QString NombreCopiaAutomatica(const QDate& dia, const QString& ruta);

enum class CopiaAutomatica {
    Hecha,
    NoToca,   // switched off, already made today, or nothing to copy
    Fallida   // told to the user the first time, to the log every time
};

// On leaving, with the shared connection still open: a consistent copy of
// the database into the backup folder unless one of it was made on `hoy`,
// then its oldest beyond the number kept are removed. Other instances go on
// working meanwhile. A failure is shown once; the next success clears it.
CopiaAutomatica HazCopiaAutomatica(const QDate& hoy);

// Removes the automatic copies of the database `ruta` in `carpeta` beyond the
// newest `conservar`.
void PodaCopiasAutomaticas(const QString& carpeta, const QString& ruta, int conservar);
