#include "arranque/LineaOrdenes.h"

#include "arranque/Programa.h"

#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/BaseDatosElegida.h"
#include "ordenes/copias/OrdenesCopia.h"
#include "ordenes/declaraciones/OrdenModelo347.h"
#include "ordenes/declaraciones/OrdenModelo390.h"
#include "datos/BaseDatos.h"
#include "base/Bitacora.h"
#include "base/Mensajes.h"
#include "ordenes/importacion/OrdenImportacion.h"
#include "ordenes/liquidacion/OrdenLiquidacion.h"
#include "ordenes/libros/OrdenLibros.h"
#include "ordenes/comun/Orden.h"
#include "ordenes/comun/Terminal.h"
#include "ordenes/traslado/OrdenTraslado.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace {

// One command for scripts: adding one is its function and a line here.
struct DefinicionOrden {
    const char* nombre;
    const char* argumentos;  // as the usage shows them
    int minimo, maximo;      // how many arguments it takes
    int (*ejecuta)(ContextoOrden&);
};

const DefinicionOrden kOrdenes[] = {
    {"--copiar-a", "DESTINO", 1, 1, OrdenCopiarA},
    {"--version", "", 0, 0, nullptr},
    {"--ayuda", "", 0, 0, nullptr},
    {"--help", "", 0, 0, nullptr},
    {"--liquidacion", "AÑO TRIMESTRE [SALIDA.pdf]", 2, 3, OrdenLiquidacion},
    {"--libros", "AÑO [TRIMESTRE] SALIDA.xlsx|SALIDA.csv", 2, 3, OrdenLibros},
    {"--347", "AÑO [SALIDA.pdf|SALIDA.txt]", 1, 2, OrdenModelo347},
    {"--390", "AÑO [SALIDA.pdf|SALIDA.txt]", 1, 2, OrdenModelo390},
    {"--copia", "[CARPETA]", 0, 1, OrdenCopia},
    {"--restaurar", "FICHERO [--si]", 1, 2, OrdenRestaurar},
    {"--importar", "FICHERO [--mapa MAPA] [--si]", 1, 4, OrdenImportar},
};

// A command that prints no document needs neither the display platform nor
// its fonts: the return without its PDF, which scripts run over many files,
// and the year's declarations without their printed page.
bool NoDibuja(const LineaOrdenes& l) {
    const bool pdf = l.argumentos.value(1).endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    return (l.orden == QLatin1String("--liquidacion") && l.argumentos.size() < 3) ||
           ((l.orden == QLatin1String("--347") || l.orden == QLatin1String("--390")) && !pdf);
}

const DefinicionOrden* Busca(const QString& nombre) {
    for (const DefinicionOrden& d : kOrdenes)
        if (nombre == QLatin1String(d.nombre))
            return &d;
    return nullptr;
}

void Linea(FILE* f, const QString& texto) {
    const QByteArray u = texto.toUtf8();
    std::fwrite(u.constData(), 1, static_cast<size_t>(u.size()), f);
    std::fputc('\n', f);
    std::fflush(f);
}

}  // namespace

LineaOrdenes LeeLineaOrdenes(const QStringList& argumentos) {
    LineaOrdenes l;
    for (int i = 1; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (!l.orden.isEmpty()) {
            l.argumentos << a;
        } else if (a == QLatin1String("--base-datos")) {
            if (i + 1 >= argumentos.size() || argumentos[i + 1].isEmpty()) {
                l.error = QStringLiteral("Falta el archivo de la base de datos tras --base-datos.");
                return l;
            }
            l.baseDatos = argumentos[++i];
        } else if (a.startsWith(QLatin1String("--base-datos="))) {
            l.baseDatos = a.mid(13);
        } else if (Busca(a)) {
            l.orden = a;
        } else {
            l.error = QStringLiteral("Opción desconocida: ") + a;
            return l;
        }
    }
    if (const DefinicionOrden* d = l.orden.isEmpty() ? nullptr : Busca(l.orden)) {
        if (l.argumentos.size() < d->minimo || l.argumentos.size() > d->maximo)
            l.error = QStringLiteral("Número de argumentos incorrecto para ") + l.orden + QLatin1Char('.');
    }
    return l;
}

QString TextoUso() {
    QString t = QStringLiteral("Uso:\n  Fiscalino [--base-datos FICHERO]\n");
    for (const DefinicionOrden& d : kOrdenes)
        if (d.ejecuta)
            t += QStringLiteral("  Fiscalino [--base-datos FICHERO] ") + QLatin1String(d.nombre) +
                 (QByteArray(d.argumentos).isEmpty() ? QString() : QLatin1Char(' ') + QString::fromUtf8(d.argumentos)) +
                 QLatin1Char('\n');
    t += QStringLiteral("  Fiscalino --ayuda | --help\n  Fiscalino --version");
    return t;
}

int EjecutaLineaOrdenes(const LineaOrdenes& linea, int argc, char** argv) {
    if (!linea.error.isEmpty()) {
        Linea(stderr, linea.error);
        Linea(stderr, TextoUso());
        return CodigoSalida::UsoIncorrecto;
    }
    if (linea.orden == QLatin1String("--version")) {
        Linea(stdout, QStringLiteral("Fiscalino ") + VersionPrograma);
        return CodigoSalida::Exito;
    }
    if (linea.orden == QLatin1String("--ayuda") || linea.orden == QLatin1String("--help")) {
        Linea(stdout, TextoUso());
        return CodigoSalida::Exito;
    }
    // No display needed: the printed documents are drawn offscreen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own Spanish failures only; Qt's
    // notes go to the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& texto) {
        AnotaBitacora(QStringLiteral("Qt: ") + texto);
    });
    const std::unique_ptr<QCoreApplication> app(NoDibuja(linea) ? new QCoreApplication(argc, argv)
                                                                : new QGuiApplication(argc, argv));
    FijaNombreYCarpeta();
    // Whatever a command's code would show goes to standard error instead.
    InstalaPresentador([](const Mensaje& m) {
        Linea(stderr, m.texto);
        return m.porDefecto;
    });
    FijaRutaBaseDatos(linea.baseDatos.isEmpty() ? BaseDatosElegida() : linea.baseDatos);
    ContextoOrden c;
    c.argumentos = linea.argumentos;
    c.escribe = [](const QString& t) { Linea(stdout, t); };
    c.avisa = [](const QString& t) { Linea(stderr, t); };
    c.pideSecreto = LeeSecretoTerminal;
    c.pideRespuesta = LeeRespuestaTerminal;
    const int r = Busca(linea.orden)->ejecuta(c);
    CierraConexion();
    // A command that finds its arguments wrong has said why; the usage follows.
    if (r == CodigoSalida::UsoIncorrecto)
        Linea(stderr, TextoUso());
    return r;
}
