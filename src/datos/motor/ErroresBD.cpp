#include "datos/motor/ErroresBD.h"

#include "base/Mensajes.h"

namespace {

const QString TituloErrorBD = QStringLiteral("Error con la Base de Datos");

// The text from `inicio` up to just before the first ")" of the description;
// when no ")" follows the marker the name runs to the end.
QString NombreHastaParentesis(const QString& d, int inicio) {
    if (inicio > d.size())
        return QString();
    int cierre = d.indexOf(QLatin1Char(')'));
    if (cierre < inicio)
        return d.mid(inicio);
    return d.mid(inicio, cierre - inicio);
}

// Where the name begins: two characters after the first "__"; with no "__"
// the position counts as 0 in the one-based reckoning, i.e. the second character.
int TrasSeparador(const QString& d) {
    int p = d.indexOf(QLatin1String("__"));
    return p < 0 ? 1 : p + 2;
}

}  // namespace

void MostrarErrorBD(const ErrorBD& e, bool MensajePropio, QString& texto) {
    const QString& d = e.descripcion();
    if (d.contains(QLatin1String("PK_"))) {
        texto += QStringLiteral("Ese dato ya existe.");
    } else if (d.contains(QLatin1String("__")) && d.contains(QLatin1String("padre")) && d.contains(QLatin1String("FK_"))) {
        int p = d.indexOf(QLatin1String("__"));
        texto += QStringLiteral("No se encontró el dato original en una tabla padre (") + NombreHastaParentesis(d, p + 2) +
                 QStringLiteral(")");
    } else if (d.contains(QLatin1String("__")) && d.contains(QLatin1String("hijo")) && d.contains(QLatin1String("FK_"))) {
        int f = d.indexOf(QLatin1String("FK_"));
        texto += QStringLiteral("No se puede borrar el dato porque se está empleando en la Base de Datos (") +
                 NombreHastaParentesis(d, f + 3) + QStringLiteral(")");
    } else if (!MensajePropio) {
        texto += d;
    }
    if (MensajePropio)
        MuestraMensaje(texto, Botones::Aceptar, Icono::Ninguno);
    else
        MuestraMensaje(QStringLiteral("Se produjo un error: ") + texto, Botones::Aceptar, Icono::Informacion, TituloErrorBD);
}

void MostrarErrorBD(const ErrorBD& e) {
    QString texto;
    MostrarErrorBD(e, false, texto);
}

bool ComprobarErrorBD(const ErrorBD* pendiente, bool Silencioso) {
    if (pendiente == nullptr || pendiente->numero() == 0)
        return false;
    if (Silencioso)
        return true;
    const QString& d = pendiente->descripcion();
    const QString prefijo = QStringLiteral("Se ha producido un error: ");
    if (pendiente->numero() == CodigoError::ArchivoNoEncontrado || pendiente->numero() == CodigoError::DiscoNoPreparado) {
        MuestraMensaje(prefijo + d, Botones::Aceptar, Icono::Ninguno, QStringLiteral("Error de Lectura de Fichero"));
        return true;
    }
    QString texto;
    if (d.contains(QLatin1String("PK_"))) {
        texto = prefijo + QStringLiteral("Ese dato ya existe.");
    } else if (d.contains(QLatin1String("padre")) && d.contains(QLatin1String("FK_"))) {
        texto = prefijo + QStringLiteral("No se encontró el dato original en una tabla padre (") +
                NombreHastaParentesis(d, TrasSeparador(d)) + QStringLiteral(")");
    } else if (d.contains(QLatin1String("hijo")) && d.contains(QLatin1String("FK_"))) {
        texto = prefijo + QStringLiteral("No se puede borrar el dato porque se está empleando en la Base de Datos (") +
                NombreHastaParentesis(d, TrasSeparador(d)) + QStringLiteral(")");
    } else {
        texto = QStringLiteral("Se produjo un error: ") + d;
    }
    MuestraMensaje(texto, Botones::Aceptar, Icono::Informacion, TituloErrorBD);
    return true;
}
