#include "ordenes/declaraciones/ArgumentosDeclaracion.h"

#include "dominio/declaraciones/Modelo347.h"
#include "ordenes/comun/Orden.h"

std::optional<ArgumentosDeclaracion> LeeArgumentosDeclaracion(ContextoOrden& c) {
    ArgumentosDeclaracion a;
    QString error;
    a.anio = LeeAnioOrden(c.argumentos.value(0), &error);
    if (!a.anio) {
        c.avisa(error);
        return std::nullopt;
    }
    a.salida = c.argumentos.value(1);
    a.pdf = a.salida.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    // Only a .pdf or .txt name: a slip of the hand must not write over the database or another file.
    if (c.argumentos.size() > 1 && !a.pdf && !a.salida.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        c.avisa(QStringLiteral("El archivo de salida debe terminar en .pdf o .txt: ") + a.salida);
        return std::nullopt;
    }
    return a;
}
