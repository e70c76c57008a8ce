#pragma once
// The program's command line: the database to use, and the commands for
// scripts, which run without windows:
//   Fiscalino [--base-datos FICHERO]
//   Fiscalino [--base-datos FICHERO] --ORDEN ARGUMENTOS...
//   Fiscalino --ayuda | --help
//   Fiscalino --version
// A command prints its results on standard output and its failures, in
// Spanish, on standard error; it ends with 0 on success, 1 on failure and 2
// on wrong usage, and never shows a dialog.
#include <QString>
#include <QStringList>

struct LineaOrdenes {
    QString baseDatos;       // --base-datos, "" for the usual database
    QString orden;           // "--liquidacion", "--ayuda", "--version"...; "" to start the windows
    QStringList argumentos;  // the command's own
    QString error;           // wrong usage: what is wrong
    bool HayOrden() const { return !orden.isEmpty() || !error.isEmpty(); }
};

LineaOrdenes LeeLineaOrdenes(const QStringList& argumentos);

// The usage text (Spanish), every command with its arguments.
QString TextoUso();

// Runs the command of `linea` (or reports its wrong usage) and returns the
// process's exit status. Makes its own application object, without windows
// (on the offscreen platform when none is set).
int EjecutaLineaOrdenes(const LineaOrdenes& linea, int argc, char** argv);
