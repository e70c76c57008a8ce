#include "dominio/copias/CopiaSeguridadLogica.h"

#include "dominio/copias/Copias.h"
#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"

QString NotaCopia(int indice, const QString& carpeta, const QString& raiz) {
    switch (indice) {
    case 1: return QStringLiteral("Es aconsejable que realice copias de seguridad diarias de sus datos, por si ocurriese algún error bien de la aplicación, bien de errores propios. Tenga en cuenta lo siguiente:");
    case 2: return QStringLiteral(" - Una copia de seguridad correcta es la que se hace en un medio de almacenamiento seguro, como un               CD-ROM, DAT, ZIP o medio similar, que son independientes del sistema.");
    case 3: return QStringLiteral(" - Nunca realice una copia de seguridad en un disquete, ya que son unidades de almacenamiento muy frágiles    y susceptibles de perder toda la información con bastante facilidad.");
    case 4: return QStringLiteral(" - Tampoco confíe en realizar una copia de seguridad en el propio disco duro del sistema como medio                   permanente. Puede usarlo temporalmente por si quiere realizar cambios de los que no está seguro, pero         una avería del disco, un borrado por un virus o cualquier otro acontecimiento puede hacer que pierda todos    sus datos de la manera más rápida.");
    case 5: return QStringLiteral("Recuerde que no debe dejar simplemente los archivos en \"") + carpeta + QStringLiteral("\", debe grabarlos en un medio seguro, sino cada día por el engorro que supone, al menos cada cierto número de días.");
    case 6: return QStringLiteral("Una vez tenga estos datos en consideración, debe saber que este proceso realizará una copia de la base de datos del programa en la ruta \"") + carpeta + QStringLiteral("\", es decir, en la raiz del sistema, y empleará como nombre de archivo \"") + raiz + QStringLiteral("ddmmaa.mdb\", donde ddmmaa será el día, el mes y el año en que se realizó la copia, de forma que disponga de una copia del sistema por día.");
    default: return QString();
    }
}

QString LineaNombreCopia(const QString& nombre) {
    return QStringLiteral("El nombre del archivo para la copia de seguridad de hoy es: ") + nombre;
}

bool RealizaCopiaSeguridad(const QString& origen, const QString& destino,
                           const std::function<void()>& restauraPuntero) {
    bool hecha = false;
    bool restaurado = false;
    auto restaura = [&] {
        if (restauraPuntero && !restaurado)
            restauraPuntero();
        restaurado = true;
    };
    try {
        // A snapshot of the open database: the connection stays as it is.
        CopiaArchivoBD(origen, destino);
        hecha = true;
        Aviso(QStringLiteral("La base de datos se copió correctamente."));
    } catch (const ErrorBD& e) {
        restaura();
        if (e.numero() == CodigoError::PermisoDenegado)
            MuestraMensaje(MensajeBaseEnUso);
        else
            MostrarErrorBD(e);
    }
    // The program stays connected: a connection lost before is opened again.
    if (!Conexion || !Conexion->Abierta())
        ConectarBD();
    restaura();
    return hecha;
}
