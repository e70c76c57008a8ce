#include "ApoyoPruebas.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Copias.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "base/Bitacora.h"
#include "dominio/facturas/Facturas.h"

#include <QDirIterator>
#include <QFile>
#include <QCoreApplication>
#include <QUrl>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sys/wait.h>
#include <unistd.h>

EntornoPruebas::EntornoPruebas() {
    CierraConexion();
    NombrePrograma = QStringLiteral("Fiscalino");
    EstableceRutaAplicacion(dir_.path());
    EstableceCarpetaAjustes(dir_.path() + QStringLiteral("/ajustes"));
    EstableceCarpetaDatosUsuario(dir_.path() + QStringLiteral("/usuario"));
    EstableceArchivoBitacora(QString());
    // Copies, the automatic ones on leaving too, never reach the user's home folder.
    QDir(dir_.path()).mkdir(QStringLiteral("copias"));
    EstableceCarpetaCopia(dir_.path() + QStringLiteral("/copias"));
    PalabraClave.clear();
    IvaPorDefecto = 0;
    OpcionIva.clear();
    FraseFinal.clear();
    AccesoFacturas = false;
    AccesoInformes = false;
    // On the server, each environment gets a database of its own, empty.
    FijaRutaBaseDatos(PruebasEnServidor() ? BaseNuevaEnServidor() : QString());
}

EntornoPruebas::~EntornoPruebas() {
    CierraConexion();
    FijaRutaBaseDatos(QString());
}

bool PruebasEnServidor() { return !qEnvironmentVariableIsEmpty("FISCALINO_PRUEBAS_POSTGRESQL"); }

namespace {
// The address of another database on the same server: the path of the
// address names the database.
QString OtraBase(const QString& direccion, const QString& base) {
    QUrl url(direccion);
    url.setPath(QLatin1Char('/') + base);
    return url.toString();
}
}  // namespace

void CreaDisparador(const QString& nombre, const QString& tabla, const QString& suceso, const QString& mensaje) {
    const QString accion = mensaje.isEmpty() ? QStringLiteral("ignore")
                                             : QStringLiteral("abort, '") + mensaje + QLatin1Char('\'');
    if (!PruebasEnServidor()) {
        Conexion->Ejecutar(QStringLiteral("create trigger %1 before %2 on %3 begin select raise(%4); end")
                               .arg(nombre, suceso, tabla, accion));
        return;
    }
    const QString cuerpo = mensaje.isEmpty() ? QStringLiteral("return null;")
                                             : QStringLiteral("raise exception '%1';").arg(mensaje);
    Conexion->Ejecutar(QStringLiteral("create function %1_F() returns trigger language plpgsql as $f$ begin %2 end $f$")
                           .arg(nombre, cuerpo));
    Conexion->Ejecutar(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1_F()")
                           .arg(nombre, suceso, tabla));
}

void BorraDisparador(const QString& nombre, const QString& tabla) {
    Conexion->Ejecutar(PruebasEnServidor() ? QStringLiteral("drop trigger %1 on %2").arg(nombre, tabla)
                                           : QStringLiteral("drop trigger %1").arg(nombre));
}

QString BaseNuevaEnServidor() {
    static int cuenta = 0;
    const QString mantenimiento = qEnvironmentVariable("FISCALINO_PRUEBAS_POSTGRESQL");
    const QString base = QStringLiteral("prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++cuenta);
    PGconn* con = PQconnectdb(mantenimiento.toUtf8().constData());
    if (PQstatus(con) != CONNECTION_OK)
        qFatal("no hay servidor de pruebas: %s", PQerrorMessage(con));
    PGresult* r = PQexec(con, ("create database " + base).toUtf8().constData());
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        qFatal("no se pudo crear %s: %s", qPrintable(base), PQerrorMessage(con));
    PQclear(r);
    PQfinish(con);
    return OtraBase(mantenimiento, base);
}

QString EntornoPruebas::RutaBD() const { return RutaAplicacion + NombrePrograma + QStringLiteral(".mdb"); }

QString EntornoPruebas::Bitacora() const {
    QFile f(ArchivoBitacora());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void EntornoPruebas::Conecta() { ASSERT_TRUE(ConectarBD()); }

void EntornoPruebas::InsertaParametros(const QString& opcionIva, int iva) {
    Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS (PALABRA_CLAVE, IVA, OPCION_IVA, FRASE_FINAL, "
                                      "ACCESO_FACTURAS, ACCESO_INFORMES) values (Null, %1, '%2', Null, 'N', 'N')")
                           .arg(iva)
                           .arg(opcionIva));
}

void EntornoPruebas::InsertaFactura(const QString& tipo, const QString& codigo, const QString& fecha,
                                    const QString& iva, const QString& total, const QString& neto,
                                    const QString& pct) {
    CamposFactura c{codigo, fecha, iva, total, neto, pct, QString()};
    Conexion->Ejecutar(SqlInsertaFactura(c, tipo == QLatin1String("C") ? TipoCobros : TipoPagos));
}

void PrintTo(const QString& texto, std::ostream* os) { *os << '"' << texto.toStdString() << '"'; }

int ComoUsuarioCorriente(const QString& carpeta, const std::function<int()>& prueba) {
    const uid_t nadie = 65534;
    const bool raiz = geteuid() == 0;
    if (raiz) {
        QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        if (chown(QFile::encodeName(carpeta).constData(), nadie, nadie) != 0)
            return -1;
        while (it.hasNext())
            if (chown(QFile::encodeName(it.next()).constData(), nadie, nadie) != 0)
                return -1;
    }
    return EnProcesoHijo([&] {
        if (raiz && (setgid(nadie) != 0 || setuid(nadie) != 0))
            return 99;
        return prueba();
    });
}

int EnProcesoHijo(const std::function<int()>& prueba) {
    const pid_t hijo = fork();
    if (hijo == 0)
        _exit(prueba());
    int estado = 0;
    if (hijo < 0 || waitpid(hijo, &estado, 0) != hijo)
        return -1;
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

QString Sqlite(const QString& archivo, const QString& sql) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {archivo, sql});
    if (!p.waitForFinished(10000))
        return QStringLiteral("(sin respuesta)");
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

OrdenDePrueba::OrdenDePrueba(const QStringList& argumentos) {
    c.argumentos = argumentos;
    c.escribe = [this](const QString& t) { salida << t; };
    c.avisa = [this](const QString& t) { errores << t; };
    c.pideSecreto = [this](const QString&) { return clave; };
    c.pideRespuesta = [this](const QString&) { return respuesta; };
}

QByteArray ContenidoArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void HazArchivoMalo(ArchivoMalo tipo, const QString& base, const QString& destino) {
    QFile::remove(destino);
    const QByteArray bytes = ContenidoArchivo(base);
    ASSERT_GT(bytes.size(), 8192);
    QByteArray r;
    switch (tipo) {
    case ArchivoMalo::Truncado: r = bytes.left(bytes.size() / 2); break;
    case ArchivoMalo::Azar:
        for (int i = 0; i < bytes.size(); ++i)
            r.append(static_cast<char>((i * 7919 + 13) % 251));
        break;
    case ArchivoMalo::Ajeno:
        ASSERT_EQ(Sqlite(destino, QStringLiteral("create table CLIENTES (NOMBRE text); insert into CLIENTES values ('x')")),
                  QString());
        return;
    case ArchivoMalo::MasReciente:
        ASSERT_TRUE(QFile::copy(base, destino));
        ASSERT_EQ(Sqlite(destino, QStringLiteral("pragma user_version = 99")), QString());
        return;
    case ArchivoMalo::Vacio: break;
    case ArchivoMalo::Danado: {
        r = bytes;
        const int pagina = 4096 * (bytes.size() / 4096 / 2);
        r.replace(pagina, 4096, QByteArray(4096, '\x5a'));
        break;
    }
    }
    QFile f(destino);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(r), r.size());
}

// The shell keeps the locked descriptor and becomes `sleep`, so killing it frees the lock.
OtraInstancia::OtraInstancia(const QString& ruta, bool copiando) {
    const QString bloqueo = copiando ? QStringLiteral("-x") : QStringLiteral("-s");
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 9<\"$1\"; flock %1 9; echo listo; exec sleep 30").arg(bloqueo),
                                   QStringLiteral("sh"), ruta});
    p.waitForReadyRead(10000);
}

OtraInstancia::~OtraInstancia() {
    p.kill();
    p.waitForFinished(5000);
}

bool OtraInstancia::Lista() { return p.readAll().contains("listo"); }
