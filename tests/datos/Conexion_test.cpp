#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/listado/Listado.h"

#include <functional>
#include <gtest/gtest.h>
#include <cmath>
#include <sqlite3.h>

namespace {

int Filas(const QString& donde = QString()) {
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS") + donde);
    return static_cast<int>(rs->Campo(0).Numero());
}

QString IdDe(const QString& codigo) {
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select ID from FACTURAS where COD_FACTURA = ") + ValorSQL(codigo));
    return rs->Campo(0).Texto();
}

std::unique_ptr<Registros> Lee(const QString& id) { return Conexion->AbrirRegistros(SqlLeeFactura(id)); }

// Every column of a row, as text, to compare a row before and after.
QStringList Fila(const QString& id) {
    auto rs = Lee(id);
    QStringList l;
    for (int c = 0; c < rs->NumColumnas(); ++c)
        l << rs->Campo(c).Texto();
    return l;
}

class Conexion_ : public ::testing::Test {
protected:
    void SetUp() override { e.Conecta(); }
    EntornoPruebas e;
};

}  // namespace

TEST_F(Conexion_, EjemploInsertadoSeLeeConSusTipos) {
    const CamposFactura c{"F-7", "06/12/2007", "21,00", "121", "100", "21", ""};
    Conexion->Ejecutar(SqlInsertaFactura(c, TipoPagos));
    auto rs = Lee(IdDe("F-7"));
    ASSERT_FALSE(rs->Fin());
    EXPECT_EQ(rs->Campo("FECHA_FACTURA").tipo(), Valor::Tipo::Fecha);
    EXPECT_EQ(rs->Campo("FECHA_FACTURA").Fecha(), QDate(2007, 12, 6));
    EXPECT_EQ(rs->Campo("FECHA_FACTURA").Texto(), "06/12/2007");
    for (const char* col : {"IMPORTE_IVA", "IMPORTE_TOTAL", "IMPORTE_NETO", "IVA"})
        EXPECT_TRUE(rs->Campo(col).EsNumero()) << col;
    EXPECT_DOUBLE_EQ(rs->Campo("IMPORTE_IVA").Numero(), 21);
    EXPECT_DOUBLE_EQ(rs->Campo("IMPORTE_TOTAL").Numero(), 121);
    EXPECT_DOUBLE_EQ(rs->Campo("IMPORTE_NETO").Numero(), 100);
    EXPECT_DOUBLE_EQ(rs->Campo("IVA").Numero(), 21);
    EXPECT_EQ(rs->Campo("IMPORTE_IVA").Texto(), "21");
    EXPECT_TRUE(rs->Campo("DESCRIPCION").EsNulo());
    EXPECT_EQ(rs->Campo("TIPO").Texto(), "P");
    EXPECT_EQ(rs->Campo("COD_FACTURA").Texto(), "F-7");
}

TEST_F(Conexion_, ImportesRegionalesSeGuardanComoNumeros) {
    const struct {
        QString texto;
        double numero;
    } casos[] = {{"1.234,56", 1234.56}, {"-17,44", -17.44}, {"0,5", 0.5}, {"1.000.000", 1000000}, {"7", 7}};
    for (const auto& k : casos) {
        const QString codigo = QStringLiteral("N") + k.texto;
        Conexion->Ejecutar(SqlInsertaFactura({codigo, "01/01/2008", k.texto, k.texto, k.texto, "4", ""}, TipoCobros));
        auto rs = Lee(IdDe(codigo));
        for (const char* col : {"IMPORTE_IVA", "IMPORTE_TOTAL", "IMPORTE_NETO"}) {
            EXPECT_EQ(rs->Campo(col).tipo(), Valor::Tipo::Decimal) << col;
            EXPECT_DOUBLE_EQ(rs->Campo(col).Numero(), k.numero) << k.texto.toStdString();
        }
    }
}

TEST_F(Conexion_, ActualizaYBorra) {
    e.InsertaFactura("P", "F-1", "06/12/2007", "21,00", "121", "100", "21");
    e.InsertaFactura("P", "F-2", "07/12/2007", "10", "110");
    const QString id = IdDe("F-1");
    Conexion->Ejecutar(
        SqlActualizaFactura({"F-1b", "1-2-08", "1.234,50", "7.000", "5.765,50", "21", "Con descripción"}, TipoCobros, id));
    auto rs = Lee(id);
    EXPECT_EQ(rs->Campo("COD_FACTURA").Texto(), "F-1b");
    EXPECT_EQ(rs->Campo("FECHA_FACTURA").Fecha(), QDate(2008, 2, 1));
    EXPECT_DOUBLE_EQ(rs->Campo("IMPORTE_IVA").Numero(), 1234.5);
    EXPECT_DOUBLE_EQ(rs->Campo("IMPORTE_TOTAL").Numero(), 7000);
    EXPECT_EQ(rs->Campo("DESCRIPCION").Texto(), "Con descripción");
    EXPECT_EQ(rs->Campo("TIPO").Texto(), "C");
    // Emptied fields become Null, and an empty type too.
    Conexion->Ejecutar(SqlActualizaFactura({"F-1b", "", "", "", "", "", ""}, "", id));
    rs = Lee(id);
    for (const char* col : {"FECHA_FACTURA", "IMPORTE_IVA", "IMPORTE_TOTAL", "IMPORTE_NETO", "IVA", "DESCRIPCION", "TIPO"})
        EXPECT_TRUE(rs->Campo(col).EsNulo()) << col;
    EXPECT_EQ(NombreTipo(rs->Campo("TIPO")), "Pagos");

    Conexion->Ejecutar(SqlBorraFactura(id));
    EXPECT_TRUE(Lee(id)->Fin());
    EXPECT_EQ(Filas(), 1);
}

TEST_F(Conexion_, EjecutarCuentaLasFilasCambiadas) {
    const CamposFactura c{"F-1", "06/12/2007", "21", "121", "100", "21", ""};
    EXPECT_EQ(Conexion->Ejecutar(SqlInsertaFactura(c, TipoPagos)), 1);
    EXPECT_EQ(Conexion->Ejecutar(SqlInsertaFactura(c, TipoCobros)), 1);
    const struct {
        const char* sql;
        int filas;
    } casos[] = {
        // The conversion the trigger makes after the update is not counted.
        {"update FACTURAS set DESCRIPCION = 'x' where TIPO = 'P'", 1},
        {"update FACTURAS set DESCRIPCION = 'y'", 2},
        {"update FACTURAS set DESCRIPCION = 'z' where ID = -1", 0},
        {"create table OTRA (A integer)", 0},
        {"delete from FACTURAS where ID = -1", 0},
        {"delete from FACTURAS", 2},
    };
    for (const auto& k : casos)
        EXPECT_EQ(Conexion->Ejecutar(k.sql), k.filas) << k.sql;
}

TEST_F(Conexion_, CondicionIgualReconoceCadaValorLeido) {
    // Amounts among them whose shortest written form the engine reads back
    // as a neighbouring double.
    e.InsertaFactura("P", "O'Brien", "06/12/2007", "-693.300,943088", "9.695,539415147", "", "21");
    e.InsertaFactura("C", "X-2", "", "0,1", "56.068,81983471075", "83,06", "");
    Conexion->Ejecutar("insert into FACTURAS (COD_FACTURA, DESCRIPCION) values ('', '')");
    auto ids = Conexion->AbrirRegistros("select ID from FACTURAS");
    ASSERT_EQ(ids->NumFilas(), 3);
    for (int f = 0; f < ids->NumFilas(); ++f) {
        const QString id = ids->Celda(f, 0).Texto();
        auto rs = Lee(id);
        for (int c = 0; c < rs->NumColumnas(); ++c) {
            const QString col = rs->Columnas()[c];
            const Valor& v = rs->Campo(c);
            SCOPED_TRACE(col.toStdString() + " = " + v.Texto().toStdString());
            const QString donde = QStringLiteral(" where ID = ") + id + QStringLiteral(" and ");
            EXPECT_EQ(Filas(donde + CondicionIgualSQL(col, v)), 1);
            // Another value, Null where there was one, or the next double no longer matches.
            const Valor otro = v.EsNulo() ? Valor::DeTexto("x") : Valor::Nulo();
            EXPECT_EQ(Filas(donde + CondicionIgualSQL(col, otro)), 0);
            if (v.tipo() == Valor::Tipo::Decimal) {
                const Valor siguiente = Valor::DeDecimal(std::nextafter(v.decimal(), 1e300));
                EXPECT_EQ(Filas(donde + CondicionIgualSQL(col, siguiente)), 0);
            }
        }
    }
}

TEST_F(Conexion_, ValorQueNoConvierteNoEscribeNada) {
    e.InsertaFactura("P", "F-1", "06/12/2007", "21,00", "121", "100", "21");
    const QString id = IdDe("F-1");
    const QStringList antes = Fila(id);
    const CamposFactura bueno{"F-9", "06/12/2007", "21,00", "121", "100", "21", "x"};
    const struct {
        int campo;
        QString valor;
    } casos[] = {{2, "12,3,4"}, {3, "1,2,3"}, {4, "cien"}, {5, "2l"}, {1, "30/02/2008"}, {1, "mañana"}, {1, "2008"}};
    for (const auto& k : casos) {
        CamposFactura c = bueno;
        c[static_cast<size_t>(k.campo)] = k.valor;
        for (bool nueva : {true, false}) {
            SCOPED_TRACE(k.valor.toStdString() + (nueva ? " insert" : " update"));
            try {
                Conexion->Ejecutar(nueva ? SqlInsertaFactura(c, TipoPagos) : SqlActualizaFactura(c, TipoCobros, id));
                ADD_FAILURE() << "accepted";
            } catch (const ErrorBD& err) {
                EXPECT_EQ(err.numero(), 13);
                EXPECT_TRUE(err.descripcion().startsWith("No coinciden los tipos: '" + k.valor + "'"))
                    << err.descripcion().toStdString();
            }
            EXPECT_EQ(Filas(), 1);
            EXPECT_EQ(Fila(id), antes);
        }
    }
}

TEST_F(Conexion_, ApostrofesSeGuardanIntactos) {
    const CamposFactura c{"O'Brien's", "06/12/2007", "21", "121", "", "", "a'b ' c"};
    const QString sql = SqlInsertaFactura(c, TipoPagos);
    EXPECT_TRUE(sql.contains("'O''Brien''s'")) << sql.toStdString();
    Conexion->Ejecutar(sql);
    auto rs = Conexion->AbrirRegistros("select * from FACTURAS");
    ASSERT_EQ(rs->NumFilas(), 1);
    EXPECT_EQ(rs->Campo("COD_FACTURA").Texto(), "O'Brien's");
    EXPECT_EQ(rs->Campo("DESCRIPCION").Texto(), "a'b ' c");
    // A quote cannot reach another row through the update either.
    e.InsertaFactura("P", "OTRA", "01/01/2008", "1", "2");
    const QString id = rs->Campo("ID").Texto();
    Conexion->Ejecutar(SqlActualizaFactura({"x' where 1=1 --", "06/12/2007", "21", "121", "", "", ""}, TipoPagos, id));
    EXPECT_EQ(Lee(id)->Campo("COD_FACTURA").Texto(), "x' where 1=1 --");
    EXPECT_EQ(Filas(" where COD_FACTURA = 'OTRA'"), 1);
}

TEST_F(Conexion_, ListasDelTrimestreEnOrdenDeCalendarioConExtremos) {
    // Inserted out of order; day-first text order would differ from the calendar.
    const char* fechas[][2] = {{"P-fuera1", "31/03/2007"}, {"P-b", "02/05/2007"}, {"P-a", "10/04/2007"},
                               {"P-fin", "30/06/2007"},   {"P-ini", "01/04/2007"}, {"P-fuera2", "01/07/2007"},
                               {"P-2", "02/05/2007"},     {"P-1", "02/05/2007"}};
    for (auto& f : fechas)
        e.InsertaFactura("P", f[0], f[1], "1,50", "10");
    e.InsertaFactura("C", "C-1", "15/05/2007", "1.234,5", "7.000");
    auto rs = CargaLista(*Conexion, "P", "01/04/2007", "30/06/2007");
    QStringList codigos;
    for (int i = 0; i < rs->NumFilas(); ++i)
        codigos << rs->Celda(i, rs->IndiceColumna("COD_FACTURA")).Texto();
    EXPECT_EQ(codigos, QStringList({"P-ini", "P-a", "P-1", "P-2", "P-b", "P-fin"}));

    QStringList sumas{"", "", "", ""};
    CalculaTotales(*Conexion, "P", "01/04/2007", "30/06/2007", sumas);
    CalculaTotales(*Conexion, "C", "01/04/2007", "30/06/2007", sumas);
    EXPECT_EQ(sumas, QStringList({"9,00", "60,00", "1.234,50", "7.000,00"}));
    EXPECT_EQ(CalculaDiferencias(sumas), QStringList({"1.225,50", "6.940,00"}));

    QStringList vacias{"x", "x", "x", "x"};
    CalculaTotales(*Conexion, "P", "01/01/2009", "31/03/2009", vacias);
    CalculaTotales(*Conexion, "C", "01/01/2009", "31/03/2009", vacias);
    EXPECT_EQ(vacias, QStringList({"0.00", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(CalculaDiferencias(vacias), QStringList({"0,00", "0,00"}));
    EXPECT_TRUE(CargaLista(*Conexion, "C", "01/01/2009", "31/03/2009")->Fin());
}

TEST_F(Conexion_, ListadoPorDiaConUnLadoNulo) {
    e.InsertaFactura("P", "F-7", "06/12/2007", "21,00", "121", "100", "21");
    e.InsertaFactura("P", "F-8", "06/12/2007", "4", "104");
    e.InsertaFactura("C", "C-1", "06/12/2007", "1.234,50", "7.000,00");
    e.InsertaFactura("C", "C-2", "07/12/2007", "10", "110");
    e.InsertaFactura("P", "F-9", "31/12/2007", "1", "2");
    e.InsertaFactura("C", "C-3", "01/01/2008", "1", "2");
    auto rs = Conexion->AbrirRegistros(ConsultaListado("06/12/2007", "31/12/2007"));
    EXPECT_EQ(rs->Columnas(), QStringList({"FECHA_FACTURA", "IMPORTE_IVA_C", "IMPORTE_TOTAL_C", "IMPORTE_IVA_V",
                                           "IMPORTE_TOTAL_V"}));
    EXPECT_EQ(rs->Celda(0, 0).tipo(), Valor::Tipo::Fecha);
    EXPECT_EQ(rs->Celda(0, 0).Texto(), "06/12/2007");
    auto filas = FilasListado(*rs);
    ASSERT_EQ(filas.size(), 3u);
    EXPECT_EQ(filas[0].fecha, QDate(2007, 12, 6));
    EXPECT_DOUBLE_EQ(*filas[0].ivaC, 25);
    EXPECT_DOUBLE_EQ(*filas[0].totalC, 225);
    EXPECT_DOUBLE_EQ(*filas[0].ivaV, 1234.5);
    EXPECT_DOUBLE_EQ(*filas[0].totalV, 7000);
    EXPECT_EQ(filas[1].fecha, QDate(2007, 12, 7));
    EXPECT_FALSE(filas[1].ivaC || filas[1].totalC);
    EXPECT_DOUBLE_EQ(*filas[1].totalV, 110);
    EXPECT_EQ(filas[2].fecha, QDate(2007, 12, 31));
    EXPECT_FALSE(filas[2].ivaV || filas[2].totalV);
    EXPECT_TRUE(rs->Celda(2, 3).EsNulo());

    EXPECT_EQ(Conexion->AbrirRegistros(ConsultaListado("07/12/2007", "07/12/2007"))->NumFilas(), 1);
    // A date box that is not a date: the conversion failure the listing reports as such.
    for (const QString& sql : {ConsultaListado("31/02/2007", "31/12/2007"), ConsultaListado("01/12/2007", ""),
                               SqlListaFacturas("P", "01/01/2007", "hoy")}) {
        try {
            Conexion->AbrirRegistros(sql);
            ADD_FAILURE() << sql.toStdString();
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.numero(), 13) << err.descripcion().toStdString();
        }
    }
    EXPECT_TRUE(Conexion->AbrirRegistros(ConsultaListado("31/12/2007", "01/12/2007"))->Fin());
}

TEST_F(Conexion_, RangosDeFechasUsanElIndice) {
    SOLO_CON_ARCHIVO();
    auto plan = [](const QString& sql) {
        auto rs = Conexion->AbrirRegistros("explain query plan " + sql);
        QString t;
        for (int i = 0; i < rs->NumFilas(); ++i)
            t += rs->Celda(i, 3).Texto() + "\n";
        return t;
    };
    const QString lista = plan(SqlListaFacturas("P", "01/04/2007", "30/06/2007"));
    EXPECT_TRUE(lista.contains("INDEX FACTURAS_TIPO_FECHA")) << lista.toStdString();
    const QString sumas = plan(SqlSumasFacturas("C", "01/04/2007", "30/06/2007"));
    EXPECT_TRUE(sumas.contains("COVERING INDEX FACTURAS_TIPO_FECHA")) << sumas.toStdString();
    const QString listado = plan(ConsultaListado("01/01/2007", "31/12/2007"));
    EXPECT_FALSE(listado.contains("SCAN FACTURAS")) << listado.toStdString();
}

TEST_F(Conexion_, AlterTableAnadeColumnas) {
    Conexion->Ejecutar("alter table PARAMETROS  add PRECIO_COD_BARRAS char(1)");
    Conexion->Ejecutar("alter table DATOS_EMPRESA add OTRO varchar(20)");
    e.InsertaParametros();
    Conexion->Ejecutar("update PARAMETROS   set PRECIO_COD_BARRAS = 'N'     , OPCION_IVA = 'IVA'");
    auto rs = Conexion->AbrirRegistros("select * from PARAMETROS");
    EXPECT_EQ(rs->Campo("PRECIO_COD_BARRAS").Texto(), "N");
    EXPECT_GE(Conexion->AbrirRegistros("select * from DATOS_EMPRESA")->IndiceColumna("OTRO"), 0);
}

TEST_F(Conexion_, RegistrosPorNombreYPosicion) {
    auto vacio = Conexion->AbrirRegistros("select * from PARAMETROS");
    EXPECT_TRUE(vacio->Fin());
    EXPECT_THROW(vacio->Campo(0), ErrorBD);
    e.InsertaParametros("IGIC", 7);
    auto rs = Conexion->AbrirRegistros("select * from PARAMETROS");
    EXPECT_EQ(rs->Campo("opcion_iva").Texto(), "IGIC");
    EXPECT_EQ(rs->Campo(1).Numero(), 7);
    EXPECT_EQ(rs->Campo(1).tipo(), Valor::Tipo::Entero);
    try {
        rs->Campo("NO_EXISTE");
        ADD_FAILURE();
    } catch (const ErrorBD& err) {
        EXPECT_EQ(err.numero(), 3265);
    }
    EXPECT_THROW(rs->Celda(0, 99), ErrorBD);
}

TEST_F(Conexion_, FallosDelMotorEnCastellano) {
    SOLO_CON_ARCHIVO();
    auto falla = [](const QString& sql) -> QString {
        try {
            Conexion->Ejecutar(sql);
        } catch (const ErrorBD& err) {
            return err.descripcion();
        }
        return QStringLiteral("sin error");
    };
    Conexion->Ejecutar("insert into FACTURAS (ID, COD_FACTURA) values (1, 'A')");
    sqlite3* otro = nullptr;
    ASSERT_EQ(sqlite3_open(e.RutaBD().toUtf8().constData(), &otro), SQLITE_OK);
    const struct {
        const char* caso;
        std::function<void()> antes, despues;
        QString sql, texto, ingles;
    } casos[] = {
        {"sintaxis", {}, {}, "selec nada", "La base de datos no entiende la sentencia.", "syntax error"},
        {"carácter nulo", {}, {}, QStringLiteral("update FACTURAS set DESCRIPCION = 'a") + QChar(0) + "b'",
         "La base de datos no entiende la sentencia.", "unrecognized token"},
        {"tabla", {}, {}, "select * from NO_EXISTE", "No se encontró la tabla NO_EXISTE en la base de datos.",
         "no such table: NO_EXISTE"},
        {"columna", {}, {}, "update FACTURAS set NADA = 1", "No se encontró la columna NADA en la base de datos.",
         "no such column: NADA"},
        {"restricción", {}, {}, "insert into FACTURAS (ID, COD_FACTURA) values (1, 'B')",
         "Se ha incumplido una restricción de la base de datos.", "UNIQUE constraint failed"},
        {"sólo lectura", [] { Conexion->Ejecutar("pragma query_only = 1"); },
         [] { Conexion->Ejecutar("pragma query_only = 0"); }, "delete from FACTURAS",
         "La base de datos es de sólo lectura: no se pueden guardar cambios. Compruebe que el archivo y su carpeta "
         "admiten escritura.",
         "attempt to write a readonly database"},
        {"disco lleno", [] { Conexion->Ejecutar("pragma max_page_count = 1"); }, {},
         "insert into DATOS_EMPRESA (NOMBRE) values ('" + QString(8000, 'x') + "')",
         "El disco está lleno: no se pudo guardar en la base de datos.", "database or disk is full"},
        {"bloqueada",
         [&] {
             ASSERT_EQ(sqlite3_exec(otro, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
             Conexion->EstableceEspera(50);
         },
         [&] { sqlite3_exec(otro, "rollback", nullptr, nullptr, nullptr); }, "delete from FACTURAS",
         "La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a intentarlo.",
         "database is locked"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        if (c.antes)
            c.antes();
        EXPECT_EQ(falla(c.sql), c.texto);
        if (c.despues)
            c.despues();
        // The engine's own words go to the log only.
        EXPECT_TRUE(e.Bitacora().contains(c.ingles)) << e.Bitacora().toStdString();
    }
    sqlite3_close(otro);
    EXPECT_EQ(Filas(), 1);
    // Two statements at once are refused and neither runs.
    EXPECT_TRUE(falla("delete from FACTURAS; delete from PARAMETROS").contains("sólo se admite una sentencia"));
    EXPECT_EQ(Filas(), 1);
    // A trigger's own message reaches the user as its author wrote it.
    CreaDisparador("NO_BORRAR", "FACTURAS", "delete", "No se borra.");
    EXPECT_EQ(falla("delete from FACTURAS"), "No se borra.");
    // A closed connection.
    Conexion->Cerrar();
    EXPECT_THROW(Conexion->Ejecutar("delete from FACTURAS"), ErrorBD);
}
