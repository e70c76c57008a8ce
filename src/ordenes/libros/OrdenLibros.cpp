#include "ordenes/libros/OrdenLibros.h"

#include "base/Bitacora.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/libros/LibrosRegistroLogica.h"
#include "dominio/parametros/Parametros.h"

#include <QTemporaryFile>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The workbook library writes its own complaints, in English, to standard
// error, where this command puts its Spanish ones: while it works they go to
// the log. Only here, in a process without windows, is the standard error
// redirected; the screen writes on a worker thread and leaves it alone.
class QuejasALaBitacora {
public:
    QuejasALaBitacora() {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        if (archivo_.open()) {
            guardado_ = dup(STDERR_FILENO);
            if (guardado_ >= 0)
                dup2(archivo_.handle(), STDERR_FILENO);
        }
#endif
    }
    ~QuejasALaBitacora() {
#ifdef Q_OS_UNIX
        if (guardado_ < 0)
            return;
        std::fflush(stderr);
        dup2(guardado_, STDERR_FILENO);
        close(guardado_);
        archivo_.seek(0);
        const QString quejas = QString::fromLocal8Bit(archivo_.readAll()).trimmed();
        if (!quejas.isEmpty())
            AnotaBitacora(QStringLiteral("libxlsxwriter: ") + quejas);
#endif
    }
    QuejasALaBitacora(const QuejasALaBitacora&) = delete;
    QuejasALaBitacora& operator=(const QuejasALaBitacora&) = delete;

private:
    QTemporaryFile archivo_;
    int guardado_ = -1;
};

}  // namespace

int OrdenLibros(ContextoOrden& c) {
    const QStringList& a = c.argumentos;
    const auto anio = LeeAnioLibros(a.value(0));
    if (!anio) {
        c.avisa(TextoLibros::AnioNoValido.chopped(1) + QStringLiteral(": ") + a.value(0));
        return CodigoSalida::UsoIncorrecto;
    }
    std::optional<int> trimestre = -1;
    if (a.size() == 3) {
        trimestre = LeeTrimestreLibros(a[1]);
        if (!trimestre) {
            c.avisa(QStringLiteral("El trimestre debe ser 1, 2, 3 o 4: ") + a[1]);
            return CodigoSalida::UsoIncorrecto;
        }
    }
    const QString salida = a.last();
    const auto formato = FormatoDeArchivo(salida);
    if (!formato) {
        c.avisa(QStringLiteral("El archivo de salida debe acabar en .xlsx o en .csv: ") + salida);
        return CodigoSalida::UsoIncorrecto;
    }
    if (!AbreBaseDeOrden(c) || !AccesoDeOrden(c, AccesoInformes))
        return CodigoSalida::Fallo;
    DatosLibros datos;
    try {
        datos = LeeDatosLibros(*Conexion, *anio, *trimestre, ImpuestoDePalabra(OpcionIva));
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
    if (datos.impuesto == Impuesto::IGIC)
        c.avisa(TextoLibros::SoloIva);
    const std::vector<IncidenciaLibro> incidencias = IncidenciasLibros(datos.facturas, datos.impuesto);
    if (!incidencias.empty()) {
        c.avisa(TextoLibros::CabeceraIncidencias);
        for (const IncidenciaLibro& i : incidencias)
            c.avisa(QStringLiteral("  ") + LineaIncidencia(i));
        c.avisa(TextoLibros::PieIncidenciasOrden);
    }
    ResultadoLibros r;
    {
        const QuejasALaBitacora quejas;
        r = EscribeLibros(salida, *formato, datos);
    }
    if (r.estado != ResultadoLibros::Estado::Hecho) {
        c.avisa(r.error);
        return CodigoSalida::Fallo;
    }
    c.escribe(ResumenLibros(datos, r.archivos));
    if (const QString aviso = AvisoTamanoLibros(r.archivos, *formato); !aviso.isEmpty())
        c.avisa(aviso);
    return CodigoSalida::Exito;
}
