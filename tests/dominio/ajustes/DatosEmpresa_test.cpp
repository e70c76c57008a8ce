#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "dominio/listado/Listado.h"
#include "dominio/ajustes/DatosEmpresaLogica.h"

#include <gtest/gtest.h>

namespace {

QStringList Vacios() { return QStringList(11, QString()); }

}  // namespace

TEST(DatosEmpresaSql, LasSentenciasSonLaConcatenacionDeSusPiezas) {
    EXPECT_EQ(SqlLeeEmpresa(), QStringLiteral("select * from DATOS_EMPRESA"));
    EXPECT_EQ(SqlInsertaEmpresa(Vacios()),
              QStringLiteral("insert into DATOS_EMPRESA       (NOMBRE,DESCRIPCION,CIF,DIRECCION,LOCALIDAD,COD_POSTAL,"
                             "PROVINCIA,TLFN,FAX,EMAIL,WEB) values ('EMPRESA en PRUEBAS',Null,Null,Null       ,Null,"
                             "Null,Null,Null       ,Null,Null,Null)"));
    QStringList t = {"Ferretería Pérez", "", "B12345678", "Plaza d'Or, 3", "Sóller", "07100", "Illes Balears",
                     "971000000", "", "info@ejemplo.es", ""};
    EXPECT_EQ(SqlActualizaEmpresa(t),
              QStringLiteral("update DATOS_EMPRESA   set NOMBRE = 'Ferretería Pérez'     , DESCRIPCION = Null     , "
                             "CIF = 'B12345678'     , DIRECCION = 'Plaza d''Or, 3'     , LOCALIDAD = 'Sóller'     , "
                             "COD_POSTAL = '07100'     , PROVINCIA = 'Illes Balears'     , TLFN = '971000000'     , "
                             "FAX = Null     , EMAIL = 'info@ejemplo.es'     , WEB = Null"));
    EXPECT_EQ(ColumnasEmpresa().size(), 11);
}

TEST(DatosEmpresaSql, LaActividadSigueALasOnceColumnas) {
    QStringList t = Vacios() + QStringList{"A", "01", "6531"};
    t[0] = QStringLiteral("Mía");
    EXPECT_EQ(SqlInsertaEmpresa(t),
              QStringLiteral("insert into DATOS_EMPRESA       (NOMBRE,DESCRIPCION,CIF,DIRECCION,LOCALIDAD,COD_POSTAL,"
                             "PROVINCIA,TLFN,FAX,EMAIL,WEB,COD_ACTIVIDAD,TIPO_ACTIVIDAD,EPIGRAFE_IAE) values ('Mía',"
                             "Null,Null,Null       ,Null,Null,Null,Null       ,Null,Null,Null,'A','01','6531')"));
    t[12].clear();
    EXPECT_EQ(SqlActualizaEmpresa(t), SqlActualizaEmpresa(t.mid(0, 11)) +
                                          "     , COD_ACTIVIDAD = 'A'     , TIPO_ACTIVIDAD = Null     , EPIGRAFE_IAE = '6531'");
}

TEST(DatosEmpresaGuarda, LosApostrofesLleganIntactosYLasCajasVaciasSonNull) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    QStringList t = Vacios();
    t[0] = QStringLiteral("L'Avenç");
    t[3] = QStringLiteral("Plaza d'Or, 3");
    t[4] = QStringLiteral("L'Hospitalet");
    t[5] = QStringLiteral("08901");
    t[6] = QStringLiteral("Barcelona");
    ASSERT_TRUE(GuardaEmpresa(t, true));
    const CargaEmpresaPantalla c = LeeEmpresaPantalla(ColumnasEmpresa());
    EXPECT_TRUE(c.hayFila);
    EXPECT_EQ(c.textos, t);
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
    EXPECT_EQ(rs->NumFilas(), 1);
    EXPECT_TRUE(rs->Campo(QStringLiteral("DESCRIPCION")).EsNulo());
    EXPECT_TRUE(rs->Campo(QStringLiteral("WEB")).EsNulo());
    const CabeceraEmpresa cab = LineasEmpresa(*rs);
    EXPECT_EQ(cab.linea1, QStringLiteral("L'Avenç"));
    EXPECT_EQ(cab.linea2, QStringLiteral("Plaza d'Or, 3"));
    EXPECT_EQ(cab.linea3, QStringLiteral("08901 L'Hospitalet Barcelona"));

    // The update rewrites the single row; an emptied name becomes the test company.
    t[0].clear();
    t[3].clear();
    ASSERT_TRUE(GuardaEmpresa(t, false));
    rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
    EXPECT_EQ(rs->NumFilas(), 1);
    EXPECT_EQ(rs->Campo(QStringLiteral("NOMBRE")).Texto(), QStringLiteral("EMPRESA en PRUEBAS"));
    EXPECT_TRUE(rs->Campo(QStringLiteral("DIRECCION")).EsNulo());
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(DatosEmpresaCarga, SinFilaLasCajasQuedanVaciasYUnFalloSeAvisa) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    CargaEmpresaPantalla c = LeeEmpresaPantalla(ColumnasEmpresa());
    EXPECT_FALSE(c.hayFila);
    EXPECT_EQ(c.textos, Vacios());
    EXPECT_EQ(r.cuenta(), 0);

    Conexion->Ejecutar(QStringLiteral("drop table DATOS_EMPRESA"));
    c = LeeEmpresaPantalla(ColumnasEmpresa());
    EXPECT_FALSE(c.hayFila);
    EXPECT_EQ(c.textos, Vacios());
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith(QStringLiteral("Se produjo un error: ")));
    EXPECT_FALSE(GuardaEmpresa(c.textos, true));
    EXPECT_EQ(r.cuenta(), 2);
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
}
