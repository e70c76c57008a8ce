#include "dominio/copias/RestaurarCopiaLogica.h"

#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Restauracion.h"
#include "datos/BaseDatos.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"

#include <QFileInfo>
#include <cmath>

const QString TituloRestaurar = QStringLiteral("Restaurar Copia");

QStringList TitulosColumnasCopias() {
    return {QStringLiteral("Copia"), QStringLiteral("Fecha"), QStringLiteral("Tamaño"), QStringLiteral("Facturas"),
            QStringLiteral("Última factura")};
}

namespace {

QString Estado(const ExamenArchivoBD& e) {
    switch (e.estado) {
    case EstadoArchivoBD::Valida: return FormatoEnteroAgrupado(static_cast<double>(e.facturas));
    case EstadoArchivoBD::NoEncontrada:
    case EstadoArchivoBD::Ilegible: return QStringLiteral("no se puede leer");
    case EstadoArchivoBD::Ajena: return QStringLiteral("no es una copia");
    case EstadoArchivoBD::MasReciente: return QStringLiteral("versión más reciente");
    case EstadoArchivoBD::Danada: return QStringLiteral("dañada");
    }
    return QString();
}

}  // namespace

QStringList FilaCopia(const CopiaEncontrada& c) {
    const double kb = std::ceil(static_cast<double>(c.bytes) / 1024.0);
    return {c.nombre,
            EscribeFecha(c.fecha.date()) + QLatin1Char(' ') + c.fecha.time().toString(QStringLiteral("HH:mm")),
            FormatoEnteroAgrupado(kb) + QStringLiteral(" KB"), Estado(c.examen),
            c.examen.estado == EstadoArchivoBD::Valida && c.examen.ultimaFactura.isValid()
                ? EscribeFecha(c.examen.ultimaFactura)
                : QString()};
}

PreguntaRestaurar PreparaRestaurar(const QString& archivo) {
    const ExamenArchivoBD examen = ExaminaArchivoBD(archivo, false);
    PreguntaRestaurar r;
    r.motivo = MotivoNoRestaurable(examen, archivo);
    if (!r.motivo.isEmpty()) {
        r.motivo += QStringLiteral(" No se ha cambiado nada.");
        return r;
    }
    if (!QFileInfo(OrigenCopia()).isFile()) {
        r.pregunta = QStringLiteral("¿Desea restaurar ") + DescribeCopia(archivo, examen) + QLatin1Char('?');
        return r;
    }
    r.pregunta = QStringLiteral("¿Desea sustituir la base de datos actual por ") + DescribeCopia(archivo, examen) +
                 QStringLiteral("?\n\nAntes se guardará una copia de la base de datos actual en ") + CarpetaCopia() +
                 QLatin1Char('.');
    return r;
}

namespace {

// The restored database's own parameters from now on (its password among them).
void RecargaParametros() {
    try {
        auto rs = ConexionAbierta().AbrirRegistros(QStringLiteral("select * from ") + QStringLiteral("PARAMETROS"));
        if (!rs->Fin())
            CargaParametros(*rs);
    } catch (const ErrorBD&) {
        // The screens report the missing table when they read it.
    }
}

}  // namespace

bool RestauraConAvisos(const QString& archivo, const std::function<void(bool)>& ocupado) {
    const auto puntero = [&](bool si) {
        if (ocupado)
            ocupado(si);
    };
    const PreguntaRestaurar p = PreparaRestaurar(archivo);
    if (!p.motivo.isEmpty()) {
        MuestraMensaje(p.motivo, Botones::Aceptar, Icono::Exclamacion, TituloRestaurar);
        return false;
    }
    if (MuestraMensaje(p.pregunta, Botones::SiNo, Icono::Pregunta, TituloRestaurar, Respuesta::No) != Respuesta::Si)
        return false;
    puntero(true);
    QString previa;
    try {
        previa = RestauraCopia(archivo);
    } catch (const ErrorBD& e) {
        puntero(false);
        if (e.numero() == CodigoError::PermisoDenegado)
            MuestraMensaje(MensajeBaseEnUso);
        else
            MuestraMensaje(e.descripcion(), Botones::Aceptar, Icono::Exclamacion, TituloRestaurar);
        return false;
    }
    RecargaParametros();
    puntero(false);
    MuestraMensaje(QStringLiteral("La copia se restauró correctamente.") +
                       (previa.isEmpty() ? QString()
                                         : QStringLiteral("\n\nLa base de datos anterior se guardó en ") + previa +
                                               QLatin1Char('.')),
                   Botones::Aceptar, Icono::Informacion, TituloRestaurar);
    return true;
}
