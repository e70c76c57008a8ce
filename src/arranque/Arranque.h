#pragma once
// The start-up sequence. The screens plug into it through these hooks; a hook
// left empty is passed over.
#include <functional>

struct Arranque {
    std::function<void()> muestraDatosEmpresa;   // modal, first run
    std::function<void()> muestraParametros;     // modal, first run
    // No database yet but copies in the backup folder: the restore screen,
    // modal. True when it restored one (and connected to it).
    std::function<bool()> restauraPrimeraVez;
    // Shows the main window (not modal); then applies width and height in
    // twips and the state (0 normal, 1 minimised, 2 maximised).
    std::function<void()> muestraVentanaPrincipal;
    std::function<void(double ancho, double alto, int estado)> aplicaTamano;
    // Ends the program from its event loop: the whole-database check, run
    // once the main window shows, found the database damaged.
    std::function<void()> terminaPrograma;
};

enum class FinArranque {
    SinConexion,   // ConectarBD failed: end the program
    PrimeraVez,    // first run done: end the program
    VentanaAbierta // the program lives in its windows
};

// RutaAplicacion must be set before. Runs the sequence up to the main window,
// and starts the whole-database check behind it.
FinArranque Main(const Arranque& ganchos);
