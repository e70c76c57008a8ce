#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "dominio/traslado/Traslado.h"
#include "dominio/ajustes/BaseDatosLogica.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
struct Resultado {
    int salida;
    QString texto, error;
};
Resultado Ejecuta(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral(FISCALINO_PROGRAMA), argumentos);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
}  // namespace

// A file database into another file, or into the server when the tests run
// on one, and the command that does it for scripts.
TEST(Traslado, CopiaEnUnDestinoVacioYSeNiegaEnUnoConDatos) {
    EntornoPruebas e;
    const QString destino = PruebasEnServidor() ? RutaBaseDatos() : e.Carpeta() + "/destino.mdb";
    const QString origen = e.Carpeta() + "/origen.mdb";
    FijaRutaBaseDatos(origen);
    e.Conecta();
    e.InsertaParametros("IGIC", 7);
    e.InsertaFactura("C", "Álava-1", "29/02/2024", "0,03", "1,03", "1", "3");
    e.InsertaFactura("P", "O'Brien", "06/12/2007", "-693.300,94", "9.695,53", "", "21");
    CierraConexion();

    const Resultado r = Ejecuta({"--base-datos", origen, "--copiar-a", destino});
    EXPECT_EQ(r.salida, 0) << r.error.toStdString();
    EXPECT_TRUE(r.texto.startsWith("2 facturas (bases 1,00; cuotas -693.300,91; totales 9.696,56)\n"
                                   "Configuración de la aplicación: 1 registro\nDatos de la empresa: ningún registro\n"))
        << r.texto.toStdString();
    EXPECT_TRUE(r.texto.endsWith(": coinciden con el origen.\n")) << r.texto.toStdString();

    const Resultado otra = Ejecuta({"--base-datos", origen, "--copiar-a", destino});
    EXPECT_EQ(otra.salida, 1);
    EXPECT_EQ(otra.error, "La base de datos de destino ya tiene datos: sólo se copia en una base vacía.\n");
    EXPECT_EQ(Ejecuta({"--base-datos", origen, "--copiar-a", origen}).salida, 2);
    EXPECT_EQ(Ejecuta({"--copiar-a"}).salida, 2);
}

TEST(Traslado, UnOrigenQueNoExisteNoCreaNada) {
    EntornoPruebas e;
    const QString destino = e.Carpeta() + "/destino.mdb";
    const Resultado r = Ejecuta({"--base-datos", e.Carpeta() + "/no.mdb", "--copiar-a", destino});
    EXPECT_EQ(r.salida, 1);
    EXPECT_TRUE(r.error.startsWith("No se encontró el archivo de la base de datos")) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(destino));
    EXPECT_FALSE(QFile::exists(e.Carpeta() + "/no.mdb"));
}

// What the configuration screen's buttons do, without the window.
TEST(Traslado, ProbarYCopiarAlServidorDesdeLaConfiguracion) {
    EntornoPruebas e;
    DatosServidor nadie{"/no/existe", "5432", "fiscalino", "ana", ""};
    EXPECT_EQ(PruebaConexion({"", "5432", "fiscalino", "ana", ""}).mensaje,
              "Indique el servidor, la base de datos y el usuario.");
    EXPECT_EQ(PruebaConexion({"s", "70000", "fiscalino", "ana", ""}).mensaje,
              "El puerto debe ser un número entre 1 y 65535.");
    const ResultadoPrueba sinServidor = PruebaConexion(nadie);
    EXPECT_FALSE(sinServidor.correcta);
    EXPECT_EQ(sinServidor.mensaje,
              "No se pudo conectar con el servidor: No se puede conectar con el servidor de la base de datos.");
    if (!PruebasEnServidor())
        return;
    // The test server: a new empty database, then this computer's data copied into it.
    const QUrl u(RutaBaseDatos());
    const DatosServidor servidor{QUrlQuery(u).queryItemValue("host"), "5432", u.path().mid(1), u.userName(), ""};
    const ResultadoPrueba vacia = PruebaConexion(servidor);
    EXPECT_TRUE(vacia.correcta);
    EXPECT_TRUE(vacia.mensaje.contains("La base de datos está vacía")) << vacia.mensaje.toStdString();
    const QString archivo = e.Carpeta() + "/aqui.mdb";
    FijaRutaBaseDatos(archivo);
    e.Conecta();
    e.InsertaFactura("C", "C-1", "06/12/2007", "21", "121");
    CierraConexion();
    const ResultadoPrueba copia = CopiaDatosAlServidor(archivo, servidor);
    EXPECT_TRUE(copia.correcta) << copia.mensaje.toStdString();
    EXPECT_TRUE(copia.mensaje.startsWith("Datos copiados al servidor; coinciden con los de este equipo:\n1 factura ("));
    EXPECT_EQ(PruebaConexion(servidor).mensaje, "La conexión con el servidor es correcta.");
    EXPECT_FALSE(CopiaDatosAlServidor(archivo, servidor).correcta);
}

// A database of an earlier layout is copied as it is: the newer columns
// arrive empty, the customers and suppliers drawn from its invoices.
TEST(Traslado, UnaBaseDeLaVersionAnteriorSeCopiaEntera) {
    const struct {
        const char* fixture;
        int sinNif, terceros;
    } casos[] = {{"estructura1.mdb", 7, 0}, {"estructura4.mdb", 2, 4}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fixture);
        EntornoPruebas e;
        const QString destino = PruebasEnServidor() ? RutaBaseDatos() : e.Carpeta() + "/destino.mdb";
        QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/") + c.fixture, e.Carpeta() + "/antigua.mdb");
        const QStringList resumen = TrasladaDatos(e.Carpeta() + "/antigua.mdb", destino);
        EXPECT_TRUE(resumen.value(0).startsWith("7 facturas (")) << resumen.join('\n').toStdString();
        FijaRutaBaseDatos(destino);
        e.Conecta();
        EXPECT_EQ(Conexion->AbrirRegistros("select count(*) from FACTURAS where NIF_TERCERO is Null")->Campo(0).Numero(),
                  c.sinNif);
        EXPECT_EQ(Conexion->AbrirRegistros("select count(*) from TERCEROS")->Campo(0).Numero(), c.terceros);
        CierraConexion();
    }
}

// A path is a path, whatever it holds: the copy goes to the file named, never
// to the part of its name before a ";".
TEST(Traslado, ElDestinoSeEscribeConSuNombreEntero) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    const QString origen = e.Carpeta() + "/origen.mdb";
    FijaRutaBaseDatos(origen);
    e.Conecta();
    e.InsertaFactura("C", "C-1", "06/12/2007", "21", "121");
    CierraConexion();
    ASSERT_TRUE(QFile::copy(origen, e.Carpeta() + "/x;y.mdb"));
    const struct {
        const char *origen, *destino;
    } casos[] = {{"origen.mdb", "a;b.mdb"}, {"origen.mdb", "c;DBQ=d.mdb"}, {"origen.mdb", "{e}.mdb"}, {"x;y.mdb", " f.mdb"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.destino);
        const QString destino = e.Carpeta() + "/" + QString::fromUtf8(c.destino);
        const Resultado r =
            Ejecuta({"--base-datos", e.Carpeta() + "/" + QString::fromUtf8(c.origen), "--copiar-a", destino});
        EXPECT_EQ(r.salida, 0) << r.error.toStdString();
        EXPECT_EQ(Sqlite(destino, "select COD_FACTURA from FACTURAS"), "C-1");
    }
    EXPECT_EQ(QDir(e.Carpeta()).entryList({"*.mdb", "a", "c", "x"}, QDir::Files),
              QStringList({" f.mdb", "a;b.mdb", "c;DBQ=d.mdb", "origen.mdb", "x;y.mdb", "{e}.mdb"}));
}

// A copy cut short, at any moment of its writing (the file-size limit ends the
// process there as a kill would), leaves nothing under the destination's
// name; the next copy clears what it left and makes the whole database.
TEST(Traslado, UnaCopiaCortadaNoDejaUnaBaseConElNombreDelDestino) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    const QString origen = e.Carpeta() + "/origen.mdb";
    FijaRutaBaseDatos(origen);
    e.Conecta();
    Conexion->Ejecutar("begin");
    for (int i = 0; i < 2000; ++i)
        e.InsertaFactura("P", QString("F-%1").arg(i), "06/12/2007", "21,00", "121");
    Conexion->Ejecutar("commit");
    CierraConexion();
    const QString destino = e.Carpeta() + "/destino.mdb";
    for (const rlim_t limite : {0, 4096, 20000, 60000, 120000}) {
        SCOPED_TRACE(limite);
        const int r = EnProcesoHijo([&] {
            const rlimit l{limite, limite};
            setrlimit(RLIMIT_FSIZE, &l);
            try {
                TrasladaDatos(origen, destino);
            } catch (const ErrorBD&) {
                return 1;
            }
            return 0;
        });
        EXPECT_EQ(r, -1) << "no se cortó";
        EXPECT_EQ(QDir(e.Carpeta()).entryList({"destino*"}, QDir::Files | QDir::Hidden), QStringList());
    }
    EXPECT_TRUE(TrasladaDatos(origen, destino).value(0).startsWith("2.000 facturas (")) << "la copia no es entera";
    EXPECT_EQ(Sqlite(destino, "pragma integrity_check"), "ok");
    for (const QFileInfo& f : QDir(e.Carpeta()).entryInfoList({".*"}, QDir::Files | QDir::Hidden))
        EXPECT_EQ(f.size(), 0) << f.fileName().toStdString();
}
