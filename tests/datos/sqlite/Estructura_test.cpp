#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "dominio/facturas/Trimestres.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything a user keeps in the file, as the standard tool writes it out:
// the columns of the earlier layouts, which an upgrade must carry unchanged.
const char* const kTodo =
    "select ID, COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL, DESCRIPCION, TIPO,"
    " typeof(IMPORTE_NETO), typeof(IVA), typeof(IMPORTE_IVA), typeof(IMPORTE_TOTAL) from FACTURAS order by ID;"
    "select * from PARAMETROS;"
    "select NOMBRE, DESCRIPCION, CIF, DIRECCION, LOCALIDAD, COD_POSTAL, PROVINCIA, TLFN, FAX, EMAIL, WEB from DATOS_EMPRESA;"
    "select * from sqlite_sequence;";

// What the third and fourth layouts added, on every row.
const char* const kNuevas =
    "select count(*), count(NIF_TERCERO), count(NOMBRE_TERCERO), count(FECHA_OPERACION), count(PAIS_TERCERO),"
    " count(TIPO_ID_TERCERO) from FACTURAS;"
    "select count(*), count(COD_ACTIVIDAD), count(TIPO_ACTIVIDAD), count(EPIGRAFE_IAE) from DATOS_EMPRESA;";
// What the third layout keeps, to be carried unchanged from a file of that layout.
const char* const kDe3 =
    "select ID, NIF_TERCERO, NOMBRE_TERCERO, FECHA_OPERACION from FACTURAS order by ID;"
    "select COD_ACTIVIDAD, TIPO_ACTIVIDAD, EPIGRAFE_IAE from DATOS_EMPRESA;";
const char* const kDe4 = "select ID, PAIS_TERCERO, TIPO_ID_TERCERO from FACTURAS order by ID;";
// The invoices' columns and every index, with its key and its condition: an
// upgraded file must end as a new one begins.
const char* const kForma =
    "select name, type from pragma_table_info('FACTURAS') order by cid;"
    "select l.name, l.partial, i.name from pragma_index_list('FACTURAS') l, pragma_index_info(l.name) i"
    " order by l.name, i.seqno;"
    "select sql from sqlite_master where name = 'FACTURAS_OPERACION';";

QString Copia(const EntornoPruebas& e, const char* fixture) {
    const QString origen = QStringLiteral(FISCALINO_FIXTURES "/") + fixture;
    EXPECT_TRUE(QFile::copy(origen, e.RutaBD()));
    QFile::setPermissions(e.RutaBD(), QFile::ReadOwner | QFile::WriteOwner);
    return origen;
}

QStringList Codigos(ConexionBD& con, const QString& tipo, const QString& desde, const QString& hasta) {
    auto rs = CargaLista(con, tipo, desde, hasta);
    QStringList r;
    for (int i = 0; i < rs->NumFilas(); ++i)
        r << rs->Celda(i, rs->IndiceColumna("COD_FACTURA")).Texto();
    return r;
}

}  // namespace

TEST(Estructura, LaBaseDeUnaVersionAnteriorSeActualizaSinPerderNada) {
    SOLO_CON_ARCHIVO();
    const struct {
        const char* fixture;
        const char* contiene;  // something the user typed, to be sure the file is not empty
        const char* triggers;  // the earlier layout's own conversion triggers, kept in the safety copy
        const char* nuevas;    // kNuevas on the upgraded file
        const char* columna;   // the first column the layout lacks (for the fourth, its dates' type)
        int version;
        const char* terceros;  // the customers and suppliers the invoices name
    } casos[] = {
        {"estructura1.mdb", "Ferretería O'Donnell", "2", "@|0|0|0|0|0\n1|0|0|0", "NIF_TERCERO", 1, ""},
        {"estructura2.mdb", "Talleres Ibáñez SL", "0", "9|0|0|0|0|0\n1|0|0|0", "NIF_TERCERO", 2, ""},
        {"estructura3.mdb", "Talleres Ibáñez SL", "0", "7|5|5|2|0|0\n1|1|1|1", "PAIS_TERCERO", 3,
         "12345678Z|Ana Pérez||||null\nA58818501|Suministros Ñandú SA||||null\nB12345674|Talleres O'Hara SL||||null\n"
         "FR12345678901|Société Dupont||||null"},
        {"estructura4.mdb", "Talleres Ibáñez SL", "0", "7|5|5|2|4|1\n1|1|1|1", "FECHA_FACTURA|text", 4,
         "12345678Z|Ana Pérez|ES|||null\nA58818501|Suministros Ñandú SA||||null\nB12345674|Talleres O'Hara SL|ES|||null\n"
         "FR12345678901|Société Dupont|FR|02||null"},
    };
    QString forma;
    {
        EntornoPruebas e;
        e.Conecta();
        CierraConexion();
        forma = Sqlite(e.RutaBD(), kForma);
    }
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fixture);
        EntornoPruebas e;
        const QString origen = Copia(e, c.fixture);
        const QString antes = Sqlite(origen, kTodo);
        ASSERT_TRUE(antes.contains(QString::fromUtf8(c.contiene))) << antes.toStdString();
        const QString antesDe3 = Sqlite(origen, kDe3);
        const QString antesDe4 = Sqlite(origen, kDe4);
        const QString filas = Sqlite(origen, "select count(*) from FACTURAS");
        RegistroMensajes r;
        ASSERT_TRUE(ConectarBD());
        EXPECT_EQ(r.cuenta(), 0);
        CierraConexion();

        EXPECT_EQ(Sqlite(e.RutaBD(), kTodo), antes);
        if (c.version >= 3)
            EXPECT_EQ(Sqlite(e.RutaBD(), kDe3), antesDe3);
        if (c.version >= 4)
            EXPECT_EQ(Sqlite(e.RutaBD(), kDe4), antesDe4);
        EXPECT_EQ(Sqlite(e.RutaBD(), kForma), forma);
        // Every date is the text it was.
        EXPECT_EQ(Sqlite(e.RutaBD(), "select count(*) from FACTURAS where typeof(FECHA_FACTURA) not in ('text', 'null')"
                                     " or typeof(FECHA_OPERACION) not in ('text', 'null')"),
                  "0");
        EXPECT_EQ(Sqlite(e.RutaBD(), kNuevas), QString::fromUtf8(c.nuevas).replace("@", filas));
        EXPECT_EQ(Sqlite(e.RutaBD(), "pragma integrity_check; pragma user_version; "
                                     "select count(*) from sqlite_master where type = 'trigger' or sql like '%DateValue%'"),
                  "ok\n6\n0");
        EXPECT_EQ(Sqlite(e.RutaBD(), "select *, typeof(COD_POSTAL) from TERCEROS order by NIF"),
                  QString::fromUtf8(c.terceros));
        // The safety copy holds the file as it was, in its old layout.
        const QStringList copias = QDir(e.Carpeta()).entryList({"Fiscalino-antes-de-actualizar-*.mdb"});
        ASSERT_EQ(copias.size(), 1) << copias.join(' ').toStdString();
        const QString copia = e.Carpeta() + "/" + copias[0];
        EXPECT_EQ(Sqlite(copia, kTodo), antes);
        EXPECT_EQ(Sqlite(copia, "select count(*) from sqlite_master where type = 'trigger'"), c.triggers);
        EXPECT_FALSE(Sqlite(copia, "pragma table_info(FACTURAS)").contains(c.columna));
        // Opened again, nothing more happens.
        ASSERT_TRUE(ConectarBD());
        CierraConexion();
        EXPECT_EQ(QDir(e.Carpeta()).entryList({"*.mdb"}).size(), 2);
    }
}

// A file of the fifth layout gains its customers and suppliers, each named
// as its latest invoice with a name names it.
TEST(Estructura, LaSextaVersionTomaLosTercerosDeLasFacturas) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    CierraConexion();
    Sqlite(e.RutaBD(),
           "drop table TERCEROS; pragma user_version = 5;"
           "insert into FACTURAS (FECHA_FACTURA, TIPO, NIF_TERCERO, NOMBRE_TERCERO, PAIS_TERCERO, TIPO_ID_TERCERO) values"
           " ('2026-01-10', 'C', 'B12345674', 'Viejo SL', null, null),"
           " ('2026-03-01', 'P', 'B12345674', 'Nuevo SL', 'PT', '02'),"
           " ('2026-02-01', 'C', 'B12345674', 'Intermedio SL', null, null),"
           " ('2026-04-01', 'C', 'B12345674', null, null, null),"
           " ('2026-04-01', 'C', ' b12345674', null, null, null),"
           " ('2026-05-01', 'C', '', 'Sin NIF', null, null),"
           " ('2026-05-01', 'C', null, 'Sin NIF', null, null)");
    ASSERT_EQ(Sqlite(e.RutaBD(), "select count(*) from sqlite_master where name = 'TERCEROS'"), "0");
    ASSERT_TRUE(ConectarBD());
    CierraConexion();
    EXPECT_EQ(Sqlite(e.RutaBD(), "pragma user_version; select * from TERCEROS"), "6\nB12345674|Nuevo SL|PT|02|");
}

// Every start whose upgrade stops writes its safety copy first: only the
// newest few stay beside the database.
TEST(Estructura, UnaActualizacionQueSeRepiteNoAmontonaCopias) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    Copia(e, "estructura1.mdb");
    // A value the upgrade cannot convert stops it every time.
    ASSERT_EQ(Sqlite(e.RutaBD(), "drop trigger FACTURAS_TIPOS_UPDATE; drop index FACTURAS_TIPO_FECHA; "
                                 "drop index FACTURAS_FECHA; update FACTURAS set FECHA_FACTURA = '31/12/2026' "
                                 "where ID = (select min(ID) from FACTURAS)"),
              "");
    const QByteArray antes = Contenido(e.RutaBD());
    for (int vez = 0; vez < 5; ++vez) {
        RegistroMensajes r;
        EXPECT_FALSE(ConectarBD());
    }
    const QStringList copias = QDir(e.Carpeta()).entryList({"Fiscalino-antes-de-actualizar-*.mdb"}, QDir::Files, QDir::Name);
    const QString dia = QDate::currentDate().toString("yyyyMMdd");
    EXPECT_EQ(copias, QStringList({"Fiscalino-antes-de-actualizar-" + dia + "-3.mdb",
                                   "Fiscalino-antes-de-actualizar-" + dia + "-4.mdb",
                                   "Fiscalino-antes-de-actualizar-" + dia + "-5.mdb"}));
    EXPECT_EQ(Contenido(e.RutaBD()), antes);
}

TEST(Estructura, LaHerramientaEstandarEscribeFilasQueElProgramaMuestra) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    CierraConexion();
    EXPECT_EQ(Sqlite(e.RutaBD(), "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, "
                                 "IMPORTE_TOTAL, TIPO) values ('X','2026-01-15',100,21,21,121,'C');"
                                 "pragma integrity_check"),
              "ok");
    e.Conecta();
    EXPECT_EQ(Codigos(*Conexion, "C", "01/01/2026", "31/03/2026"), QStringList{"X"});
    QStringList sumas{"", "", "", ""};
    CalculaTotales(*Conexion, "C", "01/01/2026", "31/03/2026", sumas);
    EXPECT_EQ(sumas.mid(2), QStringList({"21,00", "121,00"}));
}

TEST(Estructura, UnaBaseQueNoSeReconoceNoSeToca) {
    SOLO_CON_ARCHIVO();
    const struct {
        const char* caso;
        const char* preparacion;
        bool conecta;
    } casos[] = {
        // Another version: a table lacks a column. The program opens it as it is.
        {"otra versión", "create table FACTURAS (ID integer primary key, COD_FACTURA varchar(50), FECHA_FACTURA date);"
                         "create table PARAMETROS (IVA smallint); create table DATOS_EMPRESA (NOMBRE varchar(40));",
         true},
        // The earlier layout with a value the upgrade cannot carry: nothing half-done.
        {"valor sin convertir", nullptr, false},
        {"versión más reciente", "create table T (A); pragma user_version = 99;", false},
        // The second layout without a table the upgrade changes: the added columns go again.
        {"tabla que falta", nullptr, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        EntornoPruebas e;
        if (c.preparacion) {
            Sqlite(e.RutaBD(), c.preparacion);
        } else if (QByteArray(c.caso) == "tabla que falta") {
            Copia(e, "estructura2.mdb");
            Sqlite(e.RutaBD(), "drop table DATOS_EMPRESA");
        } else {
            Copia(e, "estructura1.mdb");
            Sqlite(e.RutaBD(), "drop trigger FACTURAS_TIPOS_INSERT; drop index FACTURAS_TIPO_FECHA; drop index FACTURAS_FECHA;"
                               "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA) values ('Z', '06/12/2007')");
        }
        const QByteArray antes = Contenido(e.RutaBD());
        RegistroMensajes r;
        EXPECT_EQ(ConectarBD(), c.conecta);
        CierraConexion();
        EXPECT_EQ(Contenido(e.RutaBD()), antes);
        EXPECT_EQ(r.cuenta(), c.conecta ? 0 : 1);
    }
}

TEST(Estructura, CodigosDelMismoDiaEnOrdenDeDiccionario) {
    EntornoPruebas e;
    e.Conecta();
    for (const char* codigo : {"b-1", "Zamora", "Álava", "A-1", "ábaco", "a-1", "Ñu", "Oca", "Nube"})
        e.InsertaFactura("P", QString::fromUtf8(codigo), "06/12/2007", "1", "2");
    EXPECT_EQ(Codigos(*Conexion, "P", "06/12/2007", "06/12/2007"),
              QStringList({"a-1", "A-1", "ábaco", "Álava", "b-1", "Nube", "Ñu", "Oca", "Zamora"}));
}
