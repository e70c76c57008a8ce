#pragma once
// What a command for scripts gets and gives: its arguments, a way to write
// results and Spanish failures, and the access password asked on a terminal.
// A command never shows a window or a dialog.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace CodigoSalida {
constexpr int Exito = 0;
constexpr int Fallo = 1;
constexpr int UsoIncorrecto = 2;  // the frame writes the usage after the command's message
}  // namespace CodigoSalida

struct ContextoOrden {
    QStringList argumentos;                       // those after the command's name
    std::function<void(const QString&)> escribe;  // one line of results (standard output)
    std::function<void(const QString&)> avisa;    // one line of failure, in Spanish (standard error)
    // Asks for a secret without echo; nothing when there is no terminal to ask on.
    std::function<std::optional<QString>(const QString& pregunta)> pideSecreto;
    // Asks a question and reads the answer; nothing when there is no terminal to ask on.
    std::function<std::optional<QString>(const QString& pregunta)> pideRespuesta;
};

// Opens the database (the usual one, or the one named by --base-datos) for
// reading only, or for writing too, and loads the parameters. A missing file
// is not created when read only. On failure the Spanish message has been
// written; returns false.
bool AbreBaseDeOrden(ContextoOrden& c, bool paraEscribir = false);

// Where a screen would ask for the access password (`guardado` as the
// screen's gate), asks for it on the terminal. False, with the message
// written, when it is refused or there is no terminal to ask on.
bool AccesoDeOrden(ContextoOrden& c, bool guardado);
