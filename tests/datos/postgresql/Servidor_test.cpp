#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "datos/CopiaDatos.h"
#include "base/Mensajes.h"
#include "dominio/facturas/Trimestres.h"

#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <libpq-fe.h>

namespace {

#define SOLO_CON_SERVIDOR()                                              \
    do {                                                                 \
        if (!PruebasEnServidor())                                        \
            GTEST_SKIP() << "sólo con la base de datos en un servidor";  \
    } while (0)

// Runs one statement on the server as its administrator.
void Administra(const QString& direccion, const QString& sql) {
    PGconn* con = PQconnectdb(direccion.toUtf8().constData());
    ASSERT_EQ(PQstatus(con), CONNECTION_OK) << PQerrorMessage(con);
    PGresult* r = PQexec(con, sql.toUtf8().constData());
    EXPECT_TRUE(PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK) << PQerrorMessage(con);
    PQclear(r);
    PQfinish(con);
}

QString Con(const QString& direccion, const char* clave, const QString& valor) {
    QUrl u(direccion);
    if (QLatin1String(clave) == QLatin1String("usuario"))
        u.setUserInfo(valor);
    else
        u.setPath(QLatin1Char('/') + valor);
    return u.toString();
}

}  // namespace

TEST(Servidor, UnaConexionCaidaSeDiceYSeRecuperaEnLaSiguienteAccion) {
    SOLO_CON_SERVIDOR();
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("P", "F-1", "06/12/2007", "21", "121");
    // The server drops every other session of the database, as a restart would.
    Administra(qEnvironmentVariable("FISCALINO_PRUEBAS_POSTGRESQL"),
               "select pg_terminate_backend(pid) from pg_stat_activity where datname = '" +
                   QUrl(RutaBaseDatos()).path().mid(1) + "' and pid <> pg_backend_pid()");
    try {
        Conexion->AbrirRegistros("select * from FACTURAS");
        ADD_FAILURE() << "la conexión caída no se notó";
    } catch (const ErrorBD& err) {
        EXPECT_EQ(err.descripcion(), "Se ha perdido la conexión con el servidor de la base de datos. Vuelva a intentarlo.");
    }
    EXPECT_EQ(CargaLista(*Conexion, "P", "01/12/2007", "31/12/2007")->NumFilas(), 1);
}

// A reconnected instance marks the database again before its first
// statement: another workstation's backup or restore keeps waiting for it,
// and while one runs the instance does not work under it.
TEST(Servidor, TrasReconectarLaInstanciaVuelveAMarcarLaBase) {
    SOLO_CON_SERVIDOR();
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("P", "F-1", "06/12/2007", "21", "121");
    auto otra = ConexionBD::Abrir(RutaBaseDatos());
    const QString otraPid = otra->AbrirRegistros("select pg_backend_pid()")->Campo(0).Texto();
    // The server drops this instance's session, as a restart would, and with it its mark.
    const auto corta = [&] {
        Administra(qEnvironmentVariable("FISCALINO_PRUEBAS_POSTGRESQL"),
                   "select pg_terminate_backend(pid) from pg_stat_activity where datname = '" +
                       QUrl(RutaBaseDatos()).path().mid(1) + "' and pid not in (pg_backend_pid(), " + otraPid + ")");
        // Gone for good: its locks with it.
        for (int i = 0; i < 100 && otra->AbrirRegistros("select count(*) from pg_stat_activity where datname = "
                                                        "current_database() and pid <> pg_backend_pid()")
                                           ->Campo(0)
                                           .Numero() > 0;
             ++i)
            QThread::msleep(20);
        EXPECT_THROW(Conexion->AbrirRegistros("select * from FACTURAS"), ErrorBD);
    };
    const auto exclusiva = [&] {
        for (int i = 0; i < 100; ++i) {
            if (otra->TomaUsoExclusivo())
                return true;
            QThread::msleep(20);
        }
        return false;
    };
    corta();
    EXPECT_EQ(CargaLista(*Conexion, "P", "01/12/2007", "31/12/2007")->NumFilas(), 1);
    EXPECT_FALSE(otra->TomaUsoExclusivo());

    corta();
    ASSERT_TRUE(exclusiva());
    try {
        Conexion->AbrirRegistros("select * from FACTURAS");
        ADD_FAILURE() << "reconectada sin su marca";
    } catch (const ErrorBD& err) {
        EXPECT_EQ(err.descripcion(), "No se puede usar la base de datos porque otro puesto está haciendo una copia de "
                                     "seguridad o una restauración de ella. Espere a que termine y vuelva a intentarlo.");
    }
    otra->SueltaUsoExclusivo();
    EXPECT_EQ(CargaLista(*Conexion, "P", "01/12/2007", "31/12/2007")->NumFilas(), 1);
    EXPECT_FALSE(otra->TomaUsoExclusivo());
}

TEST(Servidor, FallosAlConectarEnCastellanoSinTocarNada) {
    SOLO_CON_SERVIDOR();
    const QString mantenimiento = qEnvironmentVariable("FISCALINO_PRUEBAS_POSTGRESQL");
    EntornoPruebas e;
    const QString ajena = BaseNuevaEnServidor();
    Administra(ajena, "create table CLIENTES (NOMBRE text)");
    const struct {
        QString direccion;
        const char* texto;
    } casos[] = {
        {Con(mantenimiento, "usuario", "nadie"), "El usuario o la contraseña del servidor de la base de datos no son correctos."},
        {Con(mantenimiento, "usuario", "con_clave:mala"), "El usuario o la contraseña del servidor de la base de datos no son correctos."},
        {Con(mantenimiento, "base", "no_existe"), "La base de datos no existe en el servidor."},
        {ajena, "La base de datos del servidor no es de este programa."},
        {"postgresql://fiscalino@/postgres?host=/no/existe", "No se puede conectar con el servidor de la base de datos."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.direccion.toStdString());
        FijaRutaBaseDatos(c.direccion);
        RegistroMensajes r;
        EXPECT_FALSE(ConectarBD());
        ASSERT_EQ(r.cuenta(), 1);
        EXPECT_EQ(r.ultimo().texto,
                  QStringLiteral("Error intentando conectar con la BD. El error fue: ") + QString::fromUtf8(c.texto));
    }
    // The other program's database keeps just its own table.
    FijaRutaBaseDatos(ajena);
    PGconn* con = PQconnectdb(ajena.toUtf8().constData());
    PGresult* r = PQexec(con, "select count(*) from information_schema.tables where table_schema = 'public'");
    EXPECT_STREQ(PQgetvalue(r, 0, 0), "1");
    PQclear(r);
    PQfinish(con);
}

// A file database into a server database and back: every value and the sums the same.
TEST(Servidor, CopiaDeArchivoAServidorYVuelta) {
    SOLO_CON_SERVIDOR();
    EntornoPruebas e;
    const QString servidor = RutaBaseDatos();
    const QString archivo = e.Carpeta() + "/origen.mdb";
    FijaRutaBaseDatos(archivo);
    e.Conecta();
    e.InsertaParametros("IGIC", 7);
    e.InsertaFactura("C", "Álava-1", "29/02/2024", "0,0333333333333", "1,0333333333333", "1", "3,33333333333333");
    e.InsertaFactura("P", "O'Brien", "06/12/2007", "-693.300,943088", "9.695,539415147", "", "21");
    Conexion->Ejecutar("delete from FACTURAS where ID = 1");
    e.InsertaFactura("P", "ÚLTIMA", "31/12/2026", "21", "121", "100", "21");
    auto origen = std::move(Conexion);

    auto destino = ConexionBD::Abrir(servidor, true);
    const QStringList resumen = CopiaBaseDatos(*origen, *destino);
    EXPECT_EQ(resumen.size(), 3);
    EXPECT_TRUE(resumen[0].startsWith("2 facturas (")) << resumen.join('\n').toStdString();
    // A new invoice on the server gets an id after the copied ones.
    destino->Ejecutar("insert into FACTURAS (COD_FACTURA) values ('NUEVA')");
    EXPECT_EQ(destino->AbrirRegistros("select ID from FACTURAS where COD_FACTURA = 'NUEVA'")->Campo(0).Numero(), 4);
    destino->Ejecutar("delete from FACTURAS where COD_FACTURA = 'NUEVA'");
    // Into a database that holds data, nothing is copied.
    EXPECT_THROW(CopiaBaseDatos(*origen, *destino), ErrorBD);

    // And back into a new file: the same rows, cell for cell.
    auto vuelta = ConexionBD::Abrir(QStringLiteral("DBQ=") + e.Carpeta() + "/vuelta.mdb", true);
    EXPECT_EQ(CopiaBaseDatos(*destino, *vuelta), resumen);
    for (const char* t : {"FACTURAS", "PARAMETROS", "DATOS_EMPRESA"}) {
        auto a = origen->AbrirRegistros(QStringLiteral("select * from ") + t);
        auto b = vuelta->AbrirRegistros(QStringLiteral("select * from ") + t);
        ASSERT_EQ(a->NumFilas(), b->NumFilas()) << t;
        for (int f = 0; f < a->NumFilas(); ++f)
            for (int c = 0; c < a->NumColumnas(); ++c)
                EXPECT_EQ(a->Celda(f, c).Texto(), b->Celda(f, c).Texto()) << t << " " << f << " " << c;
    }
}

// The server's marks stand in for the file's lock: a backup finds the
// database in use while another instance is connected, and an instance does
// not start while a backup holds it.
TEST(Servidor, MarcasDeUsoEnElServidor) {
    SOLO_CON_SERVIDOR();
    EntornoPruebas e;
    e.Conecta();  // this instance, with its shared mark
    auto copia = ConexionBD::Abrir(RutaBaseDatos());
    EXPECT_FALSE(copia->TomaUsoExclusivo());
    CierraConexion();
    // The server lets a closed session's locks go a moment after it closes.
    bool libre = false;
    for (int i = 0; i < 100 && !libre; ++i) {
        libre = copia->TomaUsoExclusivo();
        if (!libre)
            QThread::msleep(20);
    }
    ASSERT_TRUE(libre);
    {
        RegistroMensajes r;
        EXPECT_FALSE(ConectarBD());
        ASSERT_EQ(r.cuenta(), 1);
        EXPECT_TRUE(r.ultimo().texto.startsWith("No se puede usar la base de datos porque se está haciendo una copia"));
    }
    copia->SueltaUsoExclusivo();
    EXPECT_TRUE(ConectarBD());
}

// A server's database of an earlier layout gains the later layouts' columns
// when it is opened, its rows kept; opened read-only it is read as it is.
TEST(Servidor, UnaBaseDeUnaVersionAnteriorSeActualiza) {
    SOLO_CON_SERVIDOR();
    const struct {
        int version;
        const char* quita;  // what that layout lacked
    } casos[] = {
        {2, "alter table FACTURAS drop column NIF_TERCERO, drop column NOMBRE_TERCERO, drop column FECHA_OPERACION,"
            " drop column PAIS_TERCERO, drop column TIPO_ID_TERCERO;"
            "alter table DATOS_EMPRESA drop column COD_ACTIVIDAD, drop column TIPO_ACTIVIDAD, drop column EPIGRAFE_IAE;"
            "drop table TERCEROS"},
        {3, "alter table FACTURAS drop column PAIS_TERCERO, drop column TIPO_ID_TERCERO; drop table TERCEROS"},
        {4, "drop table TERCEROS"},
        {5, "drop table TERCEROS; insert into FACTURAS (FECHA_FACTURA, TIPO, NIF_TERCERO, NOMBRE_TERCERO) values"
            " ('2026-03-01', 'P', 'B12345674', 'Nuevo SL'), ('2026-01-10', 'C', 'B12345674', 'Viejo SL')"},
    };
    auto columnas = [](ConexionBD& con) { return con.AbrirRegistros("select * from FACTURAS")->Columnas(); };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.version);
        EntornoPruebas e;
        e.Conecta();
        e.InsertaFactura("C", "C-1", "06/12/2007", "21", "121", "100", "21");
        const QStringList actuales = columnas(*Conexion);
        CierraConexion();
        Administra(RutaBaseDatos(), QString::fromLatin1(c.quita) +
                                        QStringLiteral("; update FISCALINO_VERSION set VERSION = %1").arg(c.version));
        const QStringList antiguas = columnas(*ConexionBD::AbrirSoloLectura(RutaBaseDatos()));
        EXPECT_EQ(antiguas.contains("PAIS_TERCERO"), c.version >= 4);
        EXPECT_EQ(antiguas.contains("NIF_TERCERO"), c.version >= 3);
        e.Conecta();
        EXPECT_EQ(columnas(*Conexion), actuales);
        EXPECT_EQ(Conexion->AbrirRegistros("select VERSION from FISCALINO_VERSION")->Campo(0).Numero(), 6);
        auto t = Conexion->AbrirRegistros("select NIF, NOMBRE from TERCEROS");
        EXPECT_EQ(t->NumFilas(), c.version == 5 ? 1 : 0);
        if (c.version == 5)
            EXPECT_EQ(t->Campo(0).Texto() + "|" + t->Campo(1).Texto(), "B12345674|Nuevo SL");
        auto rs = Conexion->AbrirRegistros("select COD_FACTURA, IMPORTE_TOTAL, PAIS_TERCERO from FACTURAS"
                                           " where NIF_TERCERO is null");
        EXPECT_EQ(rs->NumFilas(), 1);
        EXPECT_EQ(rs->Campo(0).Texto() + "|" + rs->Campo(1).Texto(), "C-1|121");
        EXPECT_TRUE(rs->Campo(2).EsNulo());
        CierraConexion();
    }
}
