#include "data/BaseDatos.h"

#include "data/AtributosConexion.h"
#include "data/comun/Formatos.h"
#include "data/comun/Mensajes.h"
#include "data/ErroresBD.h"
#include "data/MarcaUso.h"

#include <QDir>
#include <QFileInfo>

QString RutaAplicacion;
std::unique_ptr<ConexionBD> Conexion;
const QString IdEscritorio = QStringLiteral("es.fiscalino.Fiscalino");

// Amounts, percentage and date carry a BLOB affinity so that the engine never
// reads a Spanish text like '1.234' as a number of its own; the triggers of the
// connection layer turn the texts into typed values.
const char* const EsquemaBD = R"SQL(
create table FACTURAS (
  ID integer primary key autoincrement,
  COD_FACTURA varchar(50),
  FECHA_FACTURA date blob,
  IMPORTE_NETO double blob,
  IVA double blob,
  IMPORTE_IVA double blob,
  IMPORTE_TOTAL double blob,
  DESCRIPCION varchar(255),
  TIPO char(1)
);
create table PARAMETROS (
  PALABRA_CLAVE varchar(50),
  IVA smallint,
  OPCION_IVA varchar(8),
  FRASE_FINAL text,
  ACCESO_FACTURAS char(1),
  ACCESO_INFORMES char(1)
);
create table DATOS_EMPRESA (
  NOMBRE varchar(40),
  DESCRIPCION varchar(100),
  CIF varchar(15),
  DIRECCION varchar(60),
  LOCALIDAD varchar(30),
  COD_POSTAL varchar(5),
  PROVINCIA varchar(30),
  TLFN varchar(15),
  FAX varchar(15),
  EMAIL varchar(40),
  WEB varchar(40)
)
)SQL";

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

QString RutaBaseDatos() {
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

QString NombreCopiaSeguridad(const QDate& dia) {
    return TituloAplicacion + FechaCompacta(dia) + QStringLiteral(".mdb");
}

QString CadenaConexion() {
    return QStringLiteral("Driver={SQLite3 ODBC Driver};") + AtributoConexion(QStringLiteral("DBQ"), RutaBaseDatos()) +
           QStringLiteral(";UID=Administrador;PWD=");
}

namespace {

// Without its in-use mark an instance could write beside a copy being made.
bool MarcaOAviso(const QString& ruta) {
    if (TomaMarcaUso(ruta))
        return true;
    MuestraMensaje(QStringLiteral("No se puede usar la base de datos porque se está haciendo una copia de seguridad "
                                  "de ella. Espere a que termine la copia y vuelva a arrancar el programa."),
                   Botones::Aceptar, Icono::Critico);
    return false;
}

}  // namespace

bool ConectarBD() {
    Conexion.reset();
    SueltaMarcaUso();
    const QString cadena = CadenaConexion();
    // An existing file is marked before it is opened, since opening may
    // already write (the conversions of an older database).
    const QString ruta = ConexionBD::RutaDeCadena(cadena);
    const bool existia = QFileInfo(ruta).isFile();
    if (existia && !MarcaOAviso(ruta))
        return false;
    try {
        Conexion = ConexionBD::Abrir(cadena, true);
        if (!existia && !MarcaOAviso(Conexion->Ruta())) {
            Conexion.reset();
            return false;
        }
        return true;
    } catch (const ErrorBD& e) {
        Conexion.reset();
        SueltaMarcaUso();
        if (e.descripcion().contains(QStringLiteral("El nombre del origen de datos no se encontró")))
            MuestraMensaje(QStringLiteral("No tiene usted configurado correctamente el equipo. El driver ODBC no fue "
                                          "creado. A continuación se ejecutará el programa de configuración."),
                           Botones::Aceptar, Icono::Critico);
        else
            MuestraMensaje(QStringLiteral("Error intentando conectar con la BD. El error fue: ") + e.descripcion(),
                           Botones::Aceptar, Icono::Critico);
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
