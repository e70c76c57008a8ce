#include "datos/motor/ErrorBD.h"
#include "datos/sqlite/MotorSQLite.h"

#include <gtest/gtest.h>

namespace {
QString Traduce(const QString& sql) { return TraduceSentencia(sql, DialectoSQLite()); }
}  // namespace

TEST(Traductor, SentenciasDelProgramaAlDialectoDelMotor) {
    const struct {
        const char* sql;
        const char* esperado;
    } casos[] = {
        // The quarter list: DateValue goes, the dates become ISO, codes sort the Spanish way.
        {"select *  from FACTURAS where TIPO = 'P'   and DateValue(FECHA_FACTURA) Between DateValue('1/4/07') "
         "and DateValue('30/06/2007') order by FECHA_FACTURA, COD_FACTURA",
         "select *  from FACTURAS where TIPO = 'P'   and FECHA_FACTURA Between '2007-04-01' and '2007-06-30' "
         "order by FECHA_FACTURA, COD_FACTURA collate ESPANOL, ID"},
        {"select 1 from FACTURAS F where DateValue( F.FECHA_FACTURA ) >= dateVALUE( '06-12-2007' )",
         "select 1 from FACTURAS F where F.FECHA_FACTURA >= '2007-12-06'"},
        // Regional texts written into typed columns become typed constants; texts stay texts.
        {"insert into FACTURAS       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
         "DESCRIPCION, TIPO) values ('06/12/2007','06/12/2007','1.234,56','-7.000'       ,Null,'21','1,5','C')",
         "insert into FACTURAS       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
         "DESCRIPCION, TIPO) values ('06/12/2007','2007-12-06',1234.5599999999999,-7000       ,Null,21,'1,5','C')"},
        {"update FACTURAS   set COD_FACTURA = 'O''Brien'     , FECHA_FACTURA = '1-2-08'     , IMPORTE_IVA = '0,1'"
         " where ID = 5 and IMPORTE_TOTAL = '121' and DESCRIPCION is Null",
         "update FACTURAS   set COD_FACTURA = 'O''Brien'     , FECHA_FACTURA = '2008-02-01'     , IMPORTE_IVA = 0.10000000000000001"
         " where ID = 5 and IMPORTE_TOTAL = 121 and DESCRIPCION is Null"},
        // The counterparty's operation date is a date; its NIF and name are texts.
        {"update FACTURAS   set NIF_TERCERO = '12345678'     , NOMBRE_TERCERO = '1/2/08'     , FECHA_OPERACION = '1/2/08'"
         " where ID = 5 and DateValue(FECHA_OPERACION) = DateValue('01/02/2008')",
         "update FACTURAS   set NIF_TERCERO = '12345678'     , NOMBRE_TERCERO = '1/2/08'     , FECHA_OPERACION = '2008-02-01'"
         " where ID = 5 and FECHA_OPERACION = '2008-02-01'"},
        // Literals, comments and names are tokens: what looks like the dialect inside them is left alone.
        {"insert into FACTURAS (DESCRIPCION) values ('DateValue(''1/1/08'') and IMPORTE_IVA = ''1,5''')",
         "insert into FACTURAS (DESCRIPCION) values ('DateValue(''1/1/08'') and IMPORTE_IVA = ''1,5''')"},
        {"select * from FACTURAS -- DateValue('x')\n where IVA = '4'", "select * from FACTURAS -- DateValue('x')\n where IVA = 4"},
        // Only compared, a value that is not of the column's kind matches nothing; it does not fail.
        {"select * from FACTURAS where FECHA_FACTURA = 'x' or 'y' < IMPORTE_IVA",
         "select * from FACTURAS where FECHA_FACTURA = Null or Null < IMPORTE_IVA"},
        // Other tables: no typed columns there, and names of another table are not taken for these.
        {"update DATOS_EMPRESA   set NOMBRE = '06/12/2007', COD_POSTAL = '28001'",
         "update DATOS_EMPRESA   set NOMBRE = '06/12/2007', COD_POSTAL = '28001'"},
        {"select * from PARAMETROS order by PALABRA_CLAVE desc", "select * from PARAMETROS order by PALABRA_CLAVE collate ESPANOL desc"},
        {"explain query plan select Sum(IMPORTE_IVA) from FACTURAS where DateValue(FECHA_FACTURA) = DateValue('29/2/2024')",
         "explain query plan select Sum(IMPORTE_IVA) from FACTURAS where FECHA_FACTURA = '2024-02-29'"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Traduce(QString::fromUtf8(c.sql)).toStdString(), c.esperado);
}

TEST(Traductor, ValorQueNoConvierteFallaComoTiposQueNoCoinciden) {
    const struct {
        const char* sql;
        const char* mensaje;
    } casos[] = {
        {"select * from FACTURAS where DateValue(FECHA_FACTURA) Between DateValue('31/02/2007') and DateValue('1/3/07')",
         "No coinciden los tipos: '31/02/2007' no es una fecha válida."},
        {"select * from FACTURAS where DateValue(FECHA_FACTURA) < DateValue('')", "No coinciden los tipos: '' no es una fecha válida."},
        {"insert into FACTURAS (COD_FACTURA, IMPORTE_TOTAL) values ('A', '12,3,4')", "No coinciden los tipos: '12,3,4' no es un número."},
        {"update FACTURAS   set FECHA_FACTURA = 'mañana' where ID = 1", "No coinciden los tipos: 'mañana' no es una fecha válida."},
        {"update FACTURAS   set IVA = 'O''Neil' where ID = 1", "No coinciden los tipos: 'O'Neil' no es un número."},
    };
    for (const auto& c : casos) {
        try {
            Traduce(QString::fromUtf8(c.sql));
            ADD_FAILURE() << c.sql;
        } catch (const ErrorBD& e) {
            EXPECT_EQ(e.numero(), 13);
            EXPECT_EQ(e.descripcion().toStdString(), c.mensaje);
        }
    }
}
