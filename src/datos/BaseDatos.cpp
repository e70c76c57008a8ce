#include "datos/BaseDatos.h"

#include "datos/AtributosConexion.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "datos/motor/ErroresBD.h"
#include "datos/MarcaUso.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

QString RutaAplicacion;
std::unique_ptr<ConexionBD> Conexion;
const QString IdEscritorio = QStringLiteral("es.fiscalino.Fiscalino");


void EstableceRutaAplicacion(const QString& carpeta) {
    QString r = QDir::toNativeSeparators(carpeta);
    const QChar sep = QDir::separator();
    if (!r.endsWith(sep))
        r += sep;
    RutaAplicacion = r;
}

QString EligeRutaBaseDatos(const QString& junto, bool existeJunto, bool carpetaEscribible,
                           const QString& enUsuario, bool existeEnUsuario, bool instalado) {
    if (enUsuario.isEmpty())
        return junto;
    // The system's program folder is shared by every user and belongs to the
    // package manager, even where root could write in it.
    if (instalado)
        return enUsuario;
    if (existeJunto)
        return junto;
    // A database already kept for the user wins over a new empty one beside
    // the program, or its data would seem lost once the folder turns writable.
    if (existeEnUsuario)
        return enUsuario;
    return carpetaEscribible ? junto : enUsuario;
}

bool ProgramaInstalado(const QString& carpetaPrograma) {
    QDir d(carpetaPrograma);
    if (d.dirName() != QLatin1String("bin") || !d.cdUp())
        return false;
    return d.cd(QStringLiteral("share")) && d.cd(QStringLiteral("applications")) &&
           d.exists(IdEscritorio + QStringLiteral(".desktop"));
}

namespace {
QString& rutaFijada() {
    static QString r;
    return r;
}
}  // namespace

void FijaRutaBaseDatos(const QString& ruta) {
    if (ruta.isEmpty() || ConexionBD::EsDireccionServidor(ruta))
        rutaFijada() = ruta;
    else
        rutaFijada() = QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

QString RutaBaseDatos() { return rutaFijada().isEmpty() ? RutaBaseDatosHabitual() : rutaFijada(); }

QString RutaBaseDatosHabitual() {
    const QString nombre = NombrePrograma + QStringLiteral(".mdb");
    const QString junto = RutaAplicacion + nombre;
    const QFileInfo carpeta(RutaAplicacion);
    const QString usuario = CarpetaDatosUsuario();
    const QString enUsuario = usuario.isEmpty() ? QString() : usuario + nombre;
    const QString ruta = EligeRutaBaseDatos(junto, QFileInfo::exists(junto), carpeta.isDir() && carpeta.isWritable(),
                                            enUsuario, !enUsuario.isEmpty() && QFileInfo::exists(enUsuario),
                                            ProgramaInstalado(RutaAplicacion));
    if (ruta != junto)
        QDir().mkpath(usuario);
    return ruta;
}

namespace {

// The name of a server's database, as the address gives it.
QString NombreBaseServidor(const QString& direccion) {
    const QUrl url(direccion);
    QString base = url.path(QUrl::FullyDecoded).mid(1);
    if (base.isEmpty())
        base = QUrlQuery(url).queryItemValue(QStringLiteral("dbname"), QUrl::FullyDecoded);
    if (base.isEmpty())
        base = url.userName(QUrl::FullyDecoded);  // the server's own default
    return base;
}

// QFileInfo takes two files that do not exist for the same one.
bool MismoArchivo(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists())
        return x == y;
    return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}

// What no file name can hold on either system.
QString NombreDeArchivo(QString nombre) {
    static const QRegularExpression prohibido(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    nombre.replace(prohibido, QStringLiteral("_"));
    return nombre.trimmed();
}

}  // namespace

QString RaizCopias(const QString& ruta) {
    const bool servidor = ConexionBD::EsDireccionServidor(ruta);
    if (!servidor && MismoArchivo(ruta, RutaBaseDatosHabitual()))
        return TituloAplicacion;
    const QFileInfo archivo(ruta);
    QString raiz = NombreDeArchivo(servidor ? NombreBaseServidor(ruta) : archivo.completeBaseName());
    if (raiz.isEmpty())
        raiz = servidor ? QStringLiteral("servidor") : QStringLiteral("base");
    // Where names differ only in case the file system may take them for one.
    if (raiz.compare(TituloAplicacion, Qt::CaseInsensitive) == 0) {
        const QString carpeta =
            servidor ? QStringLiteral("servidor") : NombreDeArchivo(archivo.absoluteDir().dirName());
        raiz += QLatin1Char('-') + (carpeta.isEmpty() ? QStringLiteral("otra") : carpeta);
    }
    return raiz;
}

QString NombreCopiaSeguridad(const QDate& dia, const QString& ruta) {
    return RaizCopias(ruta) + FechaCompacta(dia) + QStringLiteral(".mdb");
}

QString CadenaConexion() {
    return QStringLiteral("Driver={SQLite3 ODBC Driver};") + AtributoConexion(QStringLiteral("DBQ"), RutaBaseDatos()) +
           QStringLiteral(";UID=Administrador;PWD=");
}

void AvisaFalloConexion(const QString& descripcion) {
    MuestraMensaje(QStringLiteral("Error intentando conectar con la BD. El error fue: ") + descripcion, Botones::Aceptar,
                   Icono::Critico);
}

namespace {

void AvisaCopiaEnCurso() {
    MuestraMensaje(QStringLiteral("No se puede usar la base de datos porque se está haciendo una copia de seguridad "
                                  "de ella. Espere a que termine la copia y vuelva a arrancar el programa."),
                   Botones::Aceptar, Icono::Critico);
}

// Without its in-use mark an instance could write beside a copy being made.
// A server keeps its own marks.
bool MarcaOAviso(const QString& ruta) {
    if (ConexionBD::EsDireccionServidor(ruta) || TomaMarcaUso(ruta))
        return true;
    AvisaCopiaEnCurso();
    return false;
}

bool MarcaServidorOAviso() {
    if (Conexion->TomaMarcaUso())
        return true;
    AvisaCopiaEnCurso();
    return false;
}

}  // namespace

namespace {

void AvisaError(const ErrorBD& e) {
    if (e.descripcion().contains(QStringLiteral("El nombre del origen de datos no se encontró")))
        MuestraMensaje(QStringLiteral("No tiene usted configurado correctamente el equipo. El driver ODBC no fue "
                                      "creado. A continuación se ejecutará el programa de configuración."),
                       Botones::Aceptar, Icono::Critico);
    else
        AvisaFalloConexion(e.descripcion());
}

}  // namespace

bool ConectarBD() {
    Conexion.reset();
    SueltaMarcaUso();
    const QString cadena = CadenaConexion();
    // An existing file is marked before it is opened, since opening may
    // already write (the upgrade of an older layout).
    const QString ruta = ConexionBD::RutaDeCadena(cadena);
    const bool existia = QFileInfo(ruta).isFile();
    if (existia && !MarcaOAviso(ruta))
        return false;
    try {
        Conexion = ConexionBD::Abrir(cadena, true);
        if ((!existia && !MarcaOAviso(Conexion->Ruta())) || (Conexion->EnServidor() && !MarcaServidorOAviso())) {
            Conexion.reset();
            return false;
        }
        return true;
    } catch (const ErrorBD& e) {
        Conexion.reset();
        SueltaMarcaUso();
        AvisaError(e);
        return false;
    }
}

bool ConectarBDSoloLectura() {
    Conexion.reset();
    SueltaMarcaUso();
    const QString cadena = CadenaConexion();
    try {
        Conexion = ConexionBD::AbrirSoloLectura(cadena);
        return true;
    } catch (const ErrorBD& e) {
        Conexion.reset();
        AvisaError(e);
        return false;
    }
}

ConexionBD& ConexionAbierta() {
    if (!Conexion || !Conexion->Abierta())
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("No hay conexión con la base de datos."));
    return *Conexion;
}

void CierraConexion() {
    try {
        if (Conexion)
            Conexion->Cerrar();
    } catch (...) {
    }
    Conexion.reset();
    SueltaMarcaUso();
}
