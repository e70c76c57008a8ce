#pragma once
// What the year's declarations take on the command line: AÑO [SALIDA.pdf|SALIDA.txt].
#include <QString>
#include <optional>

struct ContextoOrden;

struct ArgumentosDeclaracion {
    int anio = 0;
    QString salida;  // empty: the lines on standard output
    bool pdf = false;
};

// The year and the output, or nothing after telling the wrong use.
std::optional<ArgumentosDeclaracion> LeeArgumentosDeclaracion(ContextoOrden& c);
