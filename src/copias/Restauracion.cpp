#include "copias/Restauracion.h"

#include "copias/Copias.h"
#include "data/AtributosConexion.h"
#include "data/BaseDatos.h"
#include "data/CopiaEntera.h"
#include "data/CopiaDatos.h"
#include "data/MarcaUso.h"
#include "data/comun/Bitacora.h"
#include "data/comun/Formatos.h"
#include "data/comun/Mensajes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QFileInfo>
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

QString NombreCopiaAntesDeRestaurar(const QString& carpeta, const QDateTime& momento) {
    const QString base = QDir(carpeta).filePath(TituloAplicacion + QStringLiteral("-antes-de-restaurar-") +
                                                momento.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString r = base + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(r); ++n)
        r = base + QStringLiteral("-%1.mdb").arg(n);
    return QDir::toNativeSeparators(r);
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
    const QString previa = NombreCopiaAntesDeRestaurar(CarpetaCopia(), QDateTime::currentDateTime());
    try {
        servidor.CopiaConsistente(previa);
    } catch (const ErrorBD& e) {
        throw ErrorBD(e.numero(), QStringLiteral("No se pudo guardar una copia de la base de datos actual antes de "
                                                 "restaurar: ") +
                                      e.descripcion() + kNadaCambiado);
    }
    QTemporaryDir temporal;
    const QString copia = temporal.filePath(QStringLiteral("copia.mdb"));
    try {
        CopiaConsistenteArchivo(elegido, copia);
        auto origen = ConexionBD::Abrir(AtributoConexion(QStringLiteral("DBQ"), copia));
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
    const QString motivo = MotivoNoRestaurable(ExaminaArchivoBD(elegido, true), elegido);
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
    QString previa;
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
        // Byte for byte, with nobody writing: a damaged database is kept as it is.
        previa = NombreCopiaAntesDeRestaurar(CarpetaCopia(), QDateTime::currentDateTime());
        try {
            EscribeCopiaEntera(previa, [&ruta](const QString& t) { CopiaBytes(ruta, t); }, false, ruta);
        } catch (const ErrorBD& e) {
            throw ErrorBD(e.numero(), QStringLiteral("No se pudo guardar una copia de la base de datos actual antes "
                                                     "de restaurar: ") +
                                          e.descripcion() + kNadaCambiado);
        }
    }

    // The engine lets go of the old file; `uso` keeps other instances out.
    const bool conectada = Conexion && Conexion->Abierta();
    CierraConexion();
    try {
        CopiaConsistenteArchivo(elegido, ruta);
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
    // Opening it brings an older layout up to date.
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
