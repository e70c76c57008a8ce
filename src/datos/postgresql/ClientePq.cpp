#define FISCALINO_CLIENTE_PQ_SIN_NOMBRES
#include "datos/postgresql/ClientePq.h"

#include "datos/motor/ErrorBD.h"
#include "base/Bitacora.h"

#include <QLibrary>

const FuncionesPq& ClientePq() {
    static QString fallo;
    static const FuncionesPq tabla = [] {
        FuncionesPq t;
        QLibrary biblioteca(QStringLiteral(FISCALINO_SONAME_PQ));
        if (!biblioteca.load()) {
            fallo = biblioteca.errorString();
            return t;
        }
        // Loaded for the rest of the process: the table points into it.
#define FISCALINO_RESUELVE_PQ(f)                                                                                     \
    t.f = reinterpret_cast<decltype(t.f)>(biblioteca.resolve(#f));                                                   \
    if (!t.f)                                                                                                        \
        fallo = biblioteca.errorString();
        FISCALINO_FUNCIONES_PQ(FISCALINO_RESUELVE_PQ)
#undef FISCALINO_RESUELVE_PQ
        return t;
    }();
    if (!fallo.isEmpty()) {
        AnotaBitacora(QStringLiteral("Cliente de PostgreSQL: ") + fallo);
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("No se puede conectar con el servidor: falta la biblioteca cliente de PostgreSQL "
                                     "(libpq). Instale el paquete libpq5."));
    }
    return tabla;
}
