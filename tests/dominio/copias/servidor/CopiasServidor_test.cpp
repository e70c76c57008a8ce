// The backup and the restore of a database kept on a PostgreSQL server: the
// copy is a dated file of the program, and restoring one replaces the
// server's data in one go. Only where the tests run on a server.
#include "ApoyoPruebas.h"

#include "arranque/Arranque.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Copias.h"
#include "ordenes/copias/OrdenesCopia.h"
#include "dominio/copias/Restauracion.h"
#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "base/Mensajes.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/copias/CopiaSeguridadLogica.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class CopiasServidor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PruebasEnServidor())
            GTEST_SKIP() << "sólo con la base de datos en un servidor";
        e.Conecta();
        EstableceCarpetaCopia(e.Carpeta());
        e.InsertaParametros("IGIC", 7);
        e.InsertaFactura("C", "C-1", "06/12/2007", "21", "121", "100", "21");
    }
    void TearDown() override { EstableceCarpetaCopia(QString()); }
    int Facturas() { return static_cast<int>(Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Numero()); }
    EntornoPruebas e;
};

}  // namespace

TEST_F(CopiasServidor, LaCopiaEsUnArchivoQueLaRestauracionDevuelveAlServidor) {
    const QString copia = e.Carpeta() + "/Fiscalino071226.mdb";
    CopiaArchivoBD(RutaBaseDatos(), copia, true);
    EXPECT_EQ(Sqlite(copia, "select COD_FACTURA, FECHA_FACTURA, IMPORTE_TOTAL from FACTURAS; pragma integrity_check"),
              "C-1|2007-12-06|121.0\nok");

    e.InsertaFactura("P", "P-1", "07/12/2007", "21", "121");
    Conexion->Ejecutar("delete from FACTURAS where COD_FACTURA = 'C-1'");
    const QString previa = RestauraCopia(copia);
    EXPECT_EQ(Facturas(), 1);
    EXPECT_EQ(CargaLista(*Conexion, "C", "01/12/2007", "31/12/2007")->Campo("COD_FACTURA").Texto(), "C-1");
    // What the restore replaced is kept as a file too.
    EXPECT_EQ(Sqlite(previa, "select COD_FACTURA from FACTURAS"), "P-1");
}

// The copy is one snapshot: "Realiza Copia" copies beside another
// workstation, as the command and the copy on leaving do; only the restore,
// which replaces the data under it, waits for it to leave.
TEST_F(CopiasServidor, OtroPuestoConectadoNoImpideLaCopiaSinoLaRestauracion) {
    auto otra = ConexionBD::Abrir(RutaBaseDatos());
    ASSERT_TRUE(otra->TomaMarcaUso());
    RegistroMensajes r;
    const QString copia = CarpetaCopia() + NombreCopiaSeguridad(QDate(2026, 12, 7), OrigenCopia());
    EXPECT_TRUE(RealizaCopiaSeguridad(OrigenCopia(), copia));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, "La base de datos se copió correctamente.");
    EXPECT_EQ(Sqlite(copia, "select COD_FACTURA from FACTURAS"), "C-1");

    Conexion->Ejecutar("delete from FACTURAS");
    try {
        RestauraCopia(copia);
        ADD_FAILURE() << "restaurada con otro puesto conectado";
    } catch (const ErrorBD& e) {
        EXPECT_EQ(e.descripcion(), MensajeBaseEnUso);
    }
    EXPECT_EQ(Facturas(), 0);
    otra.reset();
    QString previa;
    for (int i = 0; i < 100 && previa.isEmpty(); ++i) {
        try {
            previa = RestauraCopia(copia);
        } catch (const ErrorBD&) {
            QThread::msleep(20);  // the other workstation's session ends a moment after it closes
        }
    }
    EXPECT_EQ(Facturas(), 1);
}

TEST_F(CopiasServidor, UnaCopiaDeLaPrimeraVersionSeRestauraAlDia) {
    QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/estructura1.mdb"), e.Carpeta() + "/antigua.mdb");
    RestauraCopia(e.Carpeta() + "/antigua.mdb");
    EXPECT_EQ(Facturas(), 7);
    EXPECT_EQ(Conexion->AbrirRegistros("select OPCION_IVA from PARAMETROS")->Campo(0).Texto(), "IGIC");
    // A file that is not a copy of the program changes nothing.
    QFile f(e.Carpeta() + "/ajena.mdb");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
    f.close();
    EXPECT_THROW(RestauraCopia(f.fileName()), ErrorBD);
    EXPECT_EQ(Facturas(), 7);
}

// Scripts restore into the server as the screen does, behind the same password.
TEST_F(CopiasServidor, LaOrdenRestaurarDevuelveLaCopiaAlServidor) {
    const QString copia = e.Carpeta() + "/Fiscalino071226.mdb";
    CopiaArchivoBD(RutaBaseDatos(), copia, true);
    Conexion->Ejecutar("update PARAMETROS set PALABRA_CLAVE = " + ValorSQL(CodificarClave(true, "secreto")));
    e.InsertaFactura("P", "P-1", "07/12/2007", "21", "121");
    CierraConexion();
    const struct {
        const char* clave;
        int codigo;
        int facturas;
    } casos[] = {{"Secreto", 1, 2}, {"secreto", 0, 1}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.clave);
        OrdenDePrueba o({copia, "--si"});
        o.clave = QString::fromUtf8(c.clave);
        EXPECT_EQ(OrdenRestaurar(o.c), c.codigo) << o.errores.join('\n').toStdString();
        CierraConexion();
        EXPECT_EQ(o.errores, c.codigo ? QStringList{"Contraseña no válida."} : QStringList());
        ASSERT_TRUE(ConectarBD());
        EXPECT_EQ(Facturas(), c.facturas);
        CierraConexion();
        if (c.codigo == 0) {
            ASSERT_EQ(o.salida.size(), 2);
            EXPECT_EQ(o.salida[0], "Restaurada la copia \"Fiscalino071226.mdb\" (1 factura, del 06/12/2007) en " +
                                       RutaBaseDatos());
            EXPECT_TRUE(o.salida[1].startsWith("La base de datos anterior se guardó en ")) << o.salida[1].toStdString();
        }
    }
}

// A new database on the server is a first run: the copies at hand are
// offered once, and the one chosen takes the place of the empty tables. A
// database that exists is never offered them again.
TEST(PrimeraVezEnServidor, SeOfrecenLasCopiasSoloALaBaseNueva) {
    if (!PruebasEnServidor())
        GTEST_SKIP() << "sólo con la base de datos en un servidor";
    EntornoPruebas e;
    const QString servidor = RutaBaseDatos();
    FijaRutaBaseDatos(e.Carpeta() + "/antes.mdb");
    e.Conecta();
    e.InsertaParametros("IGIC", 7);
    e.InsertaFactura("C", "C-1", "06/12/2007", "21", "121", "100", "21");
    const QString copia = CarpetaCopia() + "Fiscalino061207.mdb";
    CopiaArchivoBD(OrigenCopia(), copia);
    CierraConexion();
    FijaRutaBaseDatos(servidor);

    RegistroMensajes r;
    r.Responde(Respuesta::Si);
    QStringList restauradas;
    Arranque ganchos;
    ganchos.restauraPrimeraVez = [&] {
        try {
            restauradas << RestauraCopia(copia);
            return true;
        } catch (const ErrorBD& fallo) {
            restauradas << fallo.descripcion();
            return false;
        }
    };
    for (int arranque = 1; arranque <= 2; ++arranque) {
        SCOPED_TRACE(arranque);
        EXPECT_EQ(Main(ganchos), FinArranque::VentanaAbierta);
        EXPECT_EQ(r.cuenta(), 1);
        EXPECT_EQ(r.ultimo().titulo, "Primera ejecución - CONFIGURACIÓN");
        EXPECT_EQ(restauradas.size(), 1);
        EXPECT_EQ(OpcionIva, "IGIC");
        EXPECT_EQ(Conexion->AbrirRegistros("select COD_FACTURA from FACTURAS")->Campo(0).Texto(), "C-1");
        CierraConexion();
    }
}
