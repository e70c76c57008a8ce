#include "dominio/copias/Restauracion.h"

#include "dominio/copias/Copias.h"
#include "datos/AtributosConexion.h"
#include "datos/BaseDatos.h"
#include "datos/motor/Esquema.h"
#include "datos/sqlite/CopiaEntera.h"
#include "datos/CopiaDatos.h"
#include "datos/MarcaUso.h"
#include "base/Bitacora.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "base/Programa.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <memory>

namespace {

const QString kNadaCambiado = QStringLiteral(" No se ha cambiado nada.");

QString Entrecomillado(const QString& archivo) {
    return QLatin1Char('"') + QDir::toNativeSeparators(archivo) + QLatin1Char('"');
}

// A restore that cannot be completed puts back what there was.
void VuelveALaAnterior(const QString& ruta, const QString& previa) {
    if (previa.isEmpty()) {
        QFile::remove(ruta);
        return;
    }
    EscribeCopiaEntera(ruta, [&previa](const QString& t) { CopiaBytes(previa, t); }, false, ruta);
    ConectarBD();
}

}  // namespace

QString MotivoNoRestaurable(const ExamenArchivoBD& examen, const QString& archivo) {
    const QString nombre = Entrecomillado(archivo);
    switch (examen.estado) {
    case EstadoArchivoBD::Valida: return QString();
    case EstadoArchivoBD::NoEncontrada: return QStringLiteral("No se encontró el archivo ") + nombre + QLatin1Char('.');
    case EstadoArchivoBD::Ilegible: return QStringLiteral("No se puede leer el archivo ") + nombre + QLatin1Char('.');
    case EstadoArchivoBD::Ajena:
        return QStringLiteral("El archivo ") + nombre + QStringLiteral(" no es una copia de la base de datos de ") +
               TituloAplicacion + QLatin1Char('.');
    case EstadoArchivoBD::MasReciente:
        return QStringLiteral("El archivo ") + nombre + QStringLiteral(" es de una versión más reciente del programa.");
    case EstadoArchivoBD::Danada: return QStringLiteral("El archivo ") + nombre + QStringLiteral(" está dañado.");
    }
    return QString();
}

QString DescribeCopia(const QString& archivo, const ExamenArchivoBD& examen) {
    QString r = QStringLiteral("la copia ") + Entrecomillado(QFileInfo(archivo).fileName());
    if (examen.facturas == 0)
        return r + QStringLiteral(" (sin facturas)");
    const QString ultima = examen.ultimaFactura.isValid() ? EscribeFecha(examen.ultimaFactura) : QString();
    if (examen.facturas == 1)
        return r + QStringLiteral(" (1 factura") + (ultima.isEmpty() ? QString() : QStringLiteral(", del ") + ultima) +
               QLatin1Char(')');
    return r + QStringLiteral(" (") + FormatoEnteroAgrupado(static_cast<double>(examen.facturas)) + QStringLiteral(" facturas") +
           (ultima.isEmpty() ? QString() : QStringLiteral(", la última del ") + ultima) + QLatin1Char(')');
}

namespace {

// What names the safety copies of the database at `ruta`: the program's title
// for the usual database, its own file's name for another, the title and the
// database's name on a server.
QString NombreDeLaBase(const QString& ruta) {
    if (ConexionBD::EsDireccionServidor(ruta)) {
        const QString base = QUrl(ruta).path().mid(1);
        return base.isEmpty() ? TituloAplicacion : TituloAplicacion + QLatin1Char('-') + base;
    }
    const QString nombre = QFileInfo(ruta).completeBaseName();
    return nombre.compare(NombrePrograma, Qt::CaseInsensitive) == 0 ? TituloAplicacion : nombre;
}

QString PrefijoAntesDeRestaurar(const QString& rutaBD) {
    return NombreDeLaBase(rutaBD) + QStringLiteral("-antes-de-restaurar-");
}

// The database in use, written by `escribe` into a dated safety copy; then
// the oldest of its kind beyond the few kept go.
QString GuardaCopiaPrevia(const QString& ruta, const std::function<void(const QString&)>& escribe) {
    const QString previa = NombreCopiaAntesDeRestaurar(CarpetaCopia(), ruta, QDateTime::currentDateTime());
    try {
        escribe(previa);
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo guardar una copia de la base de datos actual antes de "
                                                 "restaurar: ") +
                                      e.descripcion() + kNadaCambiado);
    }
    PodaCopiasDeSeguridad(CarpetaCopia(), PrefijoAntesDeRestaurar(ruta));
    return previa;
}

// The copy as it will be put in place: one of an earlier layout is brought up
// to date apart first, so that one the upgrade refuses changes nothing.
QString PreparaCopia(const QString& elegido, bool actualizar, const QTemporaryDir& temporal) {
    if (!actualizar)
        return elegido;
    const QString copia = temporal.filePath(QStringLiteral("copia.mdb"));
    try {
        if (!temporal.isValid())
            throw ErrorBD(CodigoCopia::Escritura, QStringLiteral("No se pudo crear una carpeta temporal."));
        CopiaConsistenteArchivo(elegido, copia);
        ConexionBD::Abrir(AtributoConexion(QStringLiteral("DBQ"), copia))->Cerrar();
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo restaurar la copia: ") + e.descripcion() + kNadaCambiado);
    }
    return copia;
}

// What would refuse the restore once the safety copy is written is asked
// first: a new file in the database's folder, and room for it and for the
// safety copy.
void CompruebaSitio(const QString& ruta, const QString& copia) {
    const QString carpeta = QDir::toNativeSeparators(QFileInfo(ruta).absolutePath());
    {
        QTemporaryFile prueba(QDir(carpeta).filePath(QStringLiteral(".") + TituloAplicacion + QStringLiteral("-XXXXXX")));
        if (!prueba.open())
            throw ErrorBD(CodigoCopia::Escritura,
                          QStringLiteral("No se puede escribir en la carpeta de la base de datos ") + carpeta +
                              QStringLiteral(". Compruebe que puede escribir en ella.") + kNadaCambiado);
    }
    const QStorageInfo base(carpeta), copias(CarpetaCopia());
    const qint64 nueva = QFileInfo(copia).size(), previa = QFileInfo(ruta).size();
    const bool mismoDisco = base.rootPath() == copias.rootPath() && base.device() == copias.device();
    const bool falta = mismoDisco ? base.bytesAvailable() >= 0 && base.bytesAvailable() < nueva + previa
                                  : (base.bytesAvailable() >= 0 && base.bytesAvailable() < nueva) ||
                                        (copias.bytesAvailable() >= 0 && copias.bytesAvailable() < previa);
    if (falta)
        throw ErrorBD(CodigoCopia::Escritura,
                      QStringLiteral("No queda espacio libre suficiente en el disco para guardar la base de datos "
                                     "actual y restaurar la copia.") +
                          kNadaCambiado);
}

}  // namespace

QString NombreCopiaAntesDeRestaurar(const QString& carpeta, const QString& rutaBD, const QDateTime& momento) {
    return QDir::toNativeSeparators(NombreNuevaCopia(QDir(carpeta).filePath(
        PrefijoAntesDeRestaurar(rutaBD) + momento.toString(QStringLiteral("yyyyMMdd-HHmmss")))));
}

namespace {

// A server's data is replaced in one transaction by the copy's, brought up to
// date first in a file of its own; the server's exclusive mark keeps the other
// workstations out, and the data it replaces is kept first as a dated file.
QString RestauraEnServidor(const QString& elegido) {
    ConexionBD& servidor = ConexionAbierta();
    if (!servidor.TomaUsoExclusivo())
        throw ErrorBD(CodigoError::PermisoDenegado, MensajeBaseEnUso);
    struct Suelta {
        ConexionBD& c;
        ~Suelta() { c.SueltaUsoExclusivo(); }
    } suelta{servidor};
    QTemporaryDir temporal;
    const QString copia = PreparaCopia(elegido, true, temporal);
    std::unique_ptr<ConexionBD> origen;
    try {
        origen = ConexionBD::Abrir(AtributoConexion(QStringLiteral("DBQ"), copia));
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo restaurar la copia: ") + e.descripcion() + kNadaCambiado);
    }
    const QString previa =
        GuardaCopiaPrevia(servidor.Ruta(), [&servidor](const QString& destino) { servidor.CopiaConsistente(destino); });
    try {
        SustituyeDatos(*origen, servidor);
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo restaurar la copia: ") + e.descripcion() + kNadaCambiado);
    }
    AnotaBitacora(QStringLiteral("Restaurada la copia ") + elegido + QStringLiteral(" en ") + servidor.Ruta() +
                  QStringLiteral("; la anterior, en ") + previa);
    return previa;
}

}  // namespace

QString RestauraCopia(const QString& archivo) {
    const QString elegido = QDir::toNativeSeparators(QFileInfo(archivo).absoluteFilePath());
    const ExamenArchivoBD examen = ExaminaArchivoBD(elegido, true);
    const QString motivo = MotivoNoRestaurable(examen, elegido);
    if (!motivo.isEmpty())
        throw ErrorBD(CodigoError::BaseDatos, motivo + kNadaCambiado);
    const QString ruta = OrigenCopia();
    if (ConexionBD::EsDireccionServidor(ruta))
        return RestauraEnServidor(elegido);
    if (QFileInfo(ruta) == QFileInfo(elegido))
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("El archivo elegido es la propia base de datos en uso.") + kNadaCambiado);

    const bool habia = QFileInfo(ruta).isFile();
    std::unique_ptr<UsoExclusivo> uso;
    if (habia) {
        uso = std::make_unique<UsoExclusivo>(ruta);
        if (!uso->Abierto())
            throw ErrorBD(CodigoCopia::Escritura,
                          QStringLiteral("No se puede leer el archivo de la base de datos: ") + ruta + kNadaCambiado);
        if (!uso->Conseguido())
            throw ErrorBD(CodigoError::PermisoDenegado, MensajeBaseEnUso);
        // A journal left by a session that did not end holds changes the
        // engine would apply to whatever file it finds under this name.
        if (QFileInfo(ruta + QStringLiteral("-journal")).size() > 0)
            throw ErrorBD(CodigoError::BaseDatos,
                          QStringLiteral("La base de datos tiene cambios a medio guardar de una sesión que no terminó "
                                         "bien. Abra el programa una vez y vuelva a intentarlo.") +
                              kNadaCambiado);
    }
    QTemporaryDir temporal;
    const QString copia = PreparaCopia(elegido, examen.version < VersionEstructura, temporal);
    CompruebaSitio(ruta, copia);
    // Byte for byte, with nobody writing: a damaged database is kept as it is.
    const QString previa =
        habia ? GuardaCopiaPrevia(ruta,
                                  [&ruta](const QString& destino) {
                                      EscribeCopiaEntera(destino, [&ruta](const QString& t) { CopiaBytes(ruta, t); },
                                                         false, ruta);
                                  })
              : QString();

    // The engine lets go of the old file; `uso` keeps other instances out.
    const bool conectada = Conexion && Conexion->Abierta();
    CierraConexion();
    try {
        // The copy was checked whole before anything changed.
        CopiaConsistenteArchivo(copia, ruta, false);
    } catch (const ErrorBD& e) {
        uso.reset();
        if (conectada)
            ConectarBD();
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo restaurar la copia: ") + e.descripcion() + kNadaCambiado);
    }
    AnotaBitacora(QStringLiteral("Restaurada la copia ") + elegido + QStringLiteral(" en ") + ruta +
                  (previa.isEmpty() ? QString() : QStringLiteral("; la anterior, en ") + previa));
    if (uso)
        uso->Libera();
    if (ConectarBD())
        return previa;
    try {
        VuelveALaAnterior(ruta, previa);
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("La copia restaurada no se puede abrir y no se pudo volver a poner "
                                                 "la base de datos anterior: ") +
                                      e.descripcion() + QStringLiteral(" La base de datos anterior está guardada en ") +
                                      previa + QLatin1Char('.'));
    }
    throw ErrorBD(CodigoError::BaseDatos,
                  QStringLiteral("La copia restaurada no se puede abrir: se ha vuelto a poner la base de datos anterior."));
}
