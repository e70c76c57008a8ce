#include "ordenes/importacion/OrdenImportacion.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/importacion/Importacion.h"

#include <QFile>
#include <QFileInfo>

namespace {

struct ArgumentosImportar {
    QString archivo, mapa;
    bool si = false;
    QString error;
};

ArgumentosImportar Lee(const QStringList& a) {
    ArgumentosImportar r;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i] == QLatin1String("--si")) {
            r.si = true;
        } else if (a[i] == QLatin1String("--mapa")) {
            if (i + 1 >= a.size() || a[i + 1].isEmpty()) {
                r.error = QStringLiteral("Falta el archivo del mapa tras --mapa.");
                return r;
            }
            r.mapa = a[++i];
        } else if (a[i].startsWith(QLatin1String("--")) || !r.archivo.isEmpty()) {
            r.error = QStringLiteral("Argumento desconocido para --importar: ") + a[i];
            return r;
        } else {
            r.archivo = a[i];
        }
    }
    if (r.archivo.isEmpty())
        r.error = QStringLiteral("Falta el archivo que se importa.");
    return r;
}

// The database to write in: it must exist already (a mistyped name is no new database).
bool AbreParaEscribir(ContextoOrden& c) {
    const QString ruta = RutaBaseDatos();
    if (!ConexionBD::EsDireccionServidor(ruta) && !QFileInfo(ruta).isFile())
        return AbreBaseDeOrden(c);  // which says that it is missing
    return AbreBaseDeOrden(c, true);
}

}  // namespace

int OrdenImportar(ContextoOrden& c) {
    const ArgumentosImportar a = Lee(c.argumentos);
    if (!a.error.isEmpty()) {
        c.avisa(a.error);
        return CodigoSalida::UsoIncorrecto;
    }
    if (!FormatoImportable(a.archivo)) {
        c.avisa(QStringLiteral("El archivo que se importa debe acabar en .xlsx, .csv o .txt: ") + a.archivo);
        return CodigoSalida::UsoIncorrecto;
    }
    const ExamenImportacion examen = ExaminaImportacion(a.archivo);
    if (!examen.error.isEmpty()) {
        c.avisa(examen.error);
        return CodigoSalida::Fallo;
    }
    MapaColumnas mapa;
    if (!examen.libros) {
        if (!a.mapa.isEmpty()) {
            QFile f(a.mapa);
            if (!f.open(QIODevice::ReadOnly)) {
                c.avisa(QStringLiteral("No se puede leer el mapa ") + a.mapa + QLatin1Char('.'));
                return CodigoSalida::UsoIncorrecto;
            }
            const LecturaMapa l = LeeMapa(QString::fromUtf8(f.readAll()), examen.cabeceras);
            if (!l.error.isEmpty()) {
                c.avisa(l.error);
                return CodigoSalida::UsoIncorrecto;
            }
            mapa = l.mapa;
        } else {
            // The map kept by the screen for these headers, or what their words say.
            const LecturaMapa guardado = LeeMapa(LeeAjuste(examen.claveMapa, QString()), examen.cabeceras);
            mapa = guardado.error.isEmpty() && guardado.mapa.Falta().isEmpty() ? guardado.mapa : examen.propuesto;
        }
        if (const QString falta = mapa.Falta(); !falta.isEmpty()) {
            c.avisa(QStringLiteral("No se sabe qué columna de ") + a.archivo + QStringLiteral(" da ") + falta +
                    QStringLiteral(": indíquelo en un mapa con --mapa MAPA."));
            return CodigoSalida::UsoIncorrecto;
        }
    }
    if (!(a.si ? AbreParaEscribir(c) : AbreBaseDeOrden(c)) || !AccesoDeOrden(c, AccesoFacturas))
        return CodigoSalida::Fallo;
    Importacion imp = LeeImportacion(a.archivo, mapa);
    if (!imp.error.isEmpty()) {
        c.avisa(imp.error);
        return CodigoSalida::Fallo;
    }
    try {
        MarcaRepetidas(*Conexion, imp);
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
    for (const FilaImportacion& f : imp.filas)
        if (f.estado == FilaImportacion::Estado::Rechazada)
            c.avisa(f.motivo);
    c.escribe(CuentaImportacion(imp));
    if (imp.Rechazadas() > 0) {
        if (a.si)
            c.avisa(QStringLiteral("No se ha importado nada: corrija las filas rechazadas y vuelva a importar el archivo."));
        return CodigoSalida::Fallo;
    }
    if (!a.si)
        return CodigoSalida::Exito;
    try {
        const int grabadas = GrabaImportacion(*Conexion, imp);
        c.escribe(ResumenImportacion(grabadas, imp.Repetidas(), 0));
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion() + QStringLiteral(" No se ha importado nada."));
        return CodigoSalida::Fallo;
    }
    return CodigoSalida::Exito;
}
