#pragma once
// The copy made on leaving the program, once a day, of which the last few
// are kept in the backup folder. Its settings live in the settings store,
// section "Config": "CopiasAutomaticas" (how many are kept; 0 makes none),
// "UltimaCopiaAutomatica" (the day of the last one) and
// "AvisoCopiaAutomatica" (a failure already told).
#include <QDate>
#include <QString>

// How many are kept when the user never said: a week of working days and more.
constexpr int kCopiasAutomaticasPorDefecto = 7;
// The most the configuration screen takes.
constexpr int kCopiasAutomaticasMaximo = 99;

int CopiasAutomaticas();
void GuardaCopiasAutomaticas(int cuantas);

// "Fiscalino-automatica-AAAAMMDD.mdb": sorted by name they are sorted by day.
QString NombreCopiaAutomatica(const QDate& dia);

enum class CopiaAutomatica {
    Hecha,
    NoToca,   // switched off, already made today, or nothing to copy
    Fallida   // told to the user the first time, to the log every time
};

// On leaving, with the shared connection still open: a consistent copy of
// the database into the backup folder unless one was made on `hoy`, then the
// oldest beyond the number kept are removed. Other instances go on working
// meanwhile. A failure is shown once; the next success clears it.
CopiaAutomatica HazCopiaAutomatica(const QDate& hoy);

// Removes the automatic copies in `carpeta` beyond the newest `conservar`.
void PodaCopiasAutomaticas(const QString& carpeta, int conservar);
