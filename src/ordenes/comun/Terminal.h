#pragma once
// The terminal the program was started from, for the commands for scripts.
#include <QString>
#include <optional>

// Writes `pregunta` on the terminal and reads one line without echo. Nothing
// when standard input is not a terminal.
std::optional<QString> LeeSecretoTerminal(const QString& pregunta);
// Writes `pregunta` on the terminal and reads one line as it is typed.
// Nothing when standard input is not a terminal.
std::optional<QString> LeeRespuestaTerminal(const QString& pregunta);
