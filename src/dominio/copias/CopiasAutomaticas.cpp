#include "dominio/copias/CopiasAutomaticas.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/copias/Copias.h"
#include "datos/BaseDatos.h"
#include "base/Bitacora.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kCuantas = QStringLiteral("CopiasAutomaticas");
const QString kUltima = QStringLiteral("UltimaCopiaAutomatica");
const QString kAvisada = QStringLiteral("AvisoCopiaAutomatica");

const QString kPrefijo = QStringLiteral("-automatica-");

// The usual database keeps the entries it always had.
QString AjusteDeLaBase(const QString& clave, const QString& ruta) {
    const QString raiz = RaizCopias(ruta);
    return raiz == TituloAplicacion ? clave : clave + QLatin1Char('-') + raiz;
}

}  // namespace

int CopiasAutomaticas() {
    const double n = LeeAjusteNumero(kCuantas, kCopiasAutomaticasPorDefecto);
    if (n < 0 || n > kCopiasAutomaticasMaximo || n != static_cast<int>(n))
        return kCopiasAutomaticasPorDefecto;
    return static_cast<int>(n);
}

void GuardaCopiasAutomaticas(int cuantas) { GuardaAjuste(kCuantas, QString::number(cuantas)); }

QString NombreCopiaAutomatica(const QDate& dia, const QString& ruta) {
    return RaizCopias(ruta) + kPrefijo + dia.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".mdb");
}

void PodaCopiasAutomaticas(const QString& carpeta, const QString& ruta, int conservar) {
    const QRegularExpression patron(QLatin1Char('^') + QRegularExpression::escape(RaizCopias(ruta) + kPrefijo) +
                                    QStringLiteral("\\d{8}\\.mdb$"));
    QStringList copias;
    for (const QString& n : QDir(carpeta).entryList(QDir::Files, QDir::Name | QDir::Reversed))
        if (patron.match(n).hasMatch())
            copias << n;
    for (int i = conservar; i < copias.size(); ++i)
        if (QFile::remove(QDir(carpeta).filePath(copias[i])))
            AnotaBitacora(QStringLiteral("Copia automática antigua borrada: ") + copias[i]);
}

CopiaAutomatica HazCopiaAutomatica(const QDate& hoy) {
    const int cuantas = CopiasAutomaticas();
    if (cuantas == 0 || !Conexion || !Conexion->Abierta())
        return CopiaAutomatica::NoToca;
    const QString origen = OrigenCopia();
    const QString ultima = AjusteDeLaBase(kUltima, origen);
    const QString avisada = AjusteDeLaBase(kAvisada, origen);
    if (LeeFecha(LeeAjuste(ultima, QString())) == hoy)
        return CopiaAutomatica::NoToca;
    const QString carpeta = CarpetaCopia();
    try {
        CopiaArchivoBD(origen, carpeta + NombreCopiaAutomatica(hoy, origen), false);
    } catch (const ErrorBD& e) {
        AnotaBitacora(QStringLiteral("Copia automática: ") + e.descripcion());
        if (LeeAjuste(avisada, QString()) != QLatin1String("1")) {
            GuardaAjuste(avisada, QStringLiteral("1"));
            MuestraMensaje(QStringLiteral("No se pudo hacer la copia de seguridad automática al salir: ") +
                               e.descripcion() +
                               QStringLiteral("\n\nEste aviso no se repetirá hasta que una copia automática se haga "
                                              "bien. Puede cambiar el número de copias automáticas en la "
                                              "Configuración de la Aplicación."),
                           Botones::Aceptar, Icono::Exclamacion);
        }
        return CopiaAutomatica::Fallida;
    }
    GuardaAjuste(ultima, EscribeFecha(hoy));
    GuardaAjuste(avisada, QStringLiteral("0"));
    PodaCopiasAutomaticas(carpeta, origen, cuantas);
    return CopiaAutomatica::Hecha;
}
