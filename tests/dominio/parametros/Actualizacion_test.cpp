#include "ApoyoPruebas.h"

#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/Ajustes.h"
#include "base/Mensajes.h"
#include "datos/BaseDatos.h"

#include <gtest/gtest.h>

namespace {
QStringList ColumnasParametros() { return Conexion->AbrirRegistros("select * from PARAMETROS")->Columnas(); }

// A database of the first version: PARAMETROS without OPCION_IVA.
void TablaAntigua() {
    Conexion->Ejecutar("drop table PARAMETROS");
    Conexion->Ejecutar("create table PARAMETROS (PALABRA_CLAVE varchar(50), IVA smallint, FRASE_FINAL text, "
                       "ACCESO_FACTURAS char(1), ACCESO_INFORMES char(1))");
    Conexion->Ejecutar("insert into PARAMETROS values (Null, 21, Null, 'N', 'N')");
}
}  // namespace

TEST(Actualizacion, PasosDeLaVersion11) {
    EXPECT_EQ(PasosVersion("1.1"),
              QStringList({"alter table PARAMETROS  add PRECIO_COD_BARRAS char(1)",
                           "alter table PARAMETROS  add OPCION_IVA varchar(8)",
                           "update PARAMETROS   set PRECIO_COD_BARRAS = 'N'     , OPCION_IVA = 'IVA'"}));
    EXPECT_TRUE(PasosVersion("1.0").isEmpty());
    EXPECT_EQ(VersionPrograma, "1.0");
}

TEST(Actualizacion, PrimerArranqueNoHaceNada) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    const QStringList antes = ColumnasParametros();
    ComprobarVersion();
    EXPECT_FALSE(ExisteAjuste("Version"));
    EXPECT_EQ(ColumnasParametros(), antes);
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(Actualizacion, VersionDesconocidaSoloSeReescribe) {
    EntornoPruebas e;
    e.Conecta();
    TablaAntigua();
    GuardaAjuste("Version", "0.9");
    RegistroMensajes r;
    ComprobarVersion();
    EXPECT_EQ(LeeAjuste("Version", ""), "1.0");
    EXPECT_FALSE(ColumnasParametros().contains("OPCION_IVA"));
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(Actualizacion, DesdeUnaCarpetaDeRedNiLeeNiEscribe) {
    for (const char* ruta : {"\\\\servidor\\fiscalino\\", "//servidor/fiscalino/"}) {
        EntornoPruebas e;
        GuardaAjuste("Version", "0.9");
        RutaAplicacion = ruta;
        ComprobarVersion();
        EXPECT_EQ(LeeAjuste("Version", ""), "0.9") << ruta;
    }
}

TEST(Actualizacion, PasoCompletoSobreBaseAntigua) {
    EntornoPruebas e;
    e.Conecta();
    TablaAntigua();
    RegistroMensajes r;
    ActualizarVersion11("1.0", {"1.0", "1.1"});
    EXPECT_EQ(r.cuenta(), 0);
    auto rs = Conexion->AbrirRegistros("select * from PARAMETROS");
    EXPECT_EQ(rs->Campo("OPCION_IVA").Texto(), "IVA");
    EXPECT_EQ(rs->Campo("PRECIO_COD_BARRAS").Texto(), "N");
    EXPECT_EQ(LeeAjuste("Version", ""), "1.1");
}

TEST(Actualizacion, SentenciaQueFallaMuestraTresMensajesYSigue) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros("IGIC");
    RegistroMensajes r;
    ActualizarVersion11("1.0", {"1.0", "1.1"});
    ASSERT_EQ(r.cuenta(), 3);
    EXPECT_EQ(r.mostrados()[0].texto,
              "Se produjo un error intentando actualizar la Base de Datos a una versión más reciente. El error fue: "
              "La columna OPCION_IVA ya existe en la base de datos.");
    EXPECT_EQ(r.mostrados()[1].texto, "Guarde la siguiente información para comunicársela a su distribuidor: La "
                                      "última consulta ejecutada fue: alter table PARAMETROS  add OPCION_IVA varchar(8)");
    EXPECT_EQ(r.mostrados()[2].texto, "No se ha podido actualizar la base de datos del programa y por ello es posible "
                                      "que alguna de las nuevas opciones no estén disponibles.");
    for (const Mensaje& m : r.mostrados()) {
        EXPECT_EQ(m.icono, Icono::Ninguno);
        EXPECT_EQ(m.botones, Botones::Aceptar);
        EXPECT_EQ(m.titulo, "Fiscalino");
    }
    // The statements before and after the failed one ran; the version is written.
    auto rs = Conexion->AbrirRegistros("select * from PARAMETROS");
    EXPECT_EQ(rs->Campo("PRECIO_COD_BARRAS").Texto(), "N");
    EXPECT_EQ(rs->Campo("OPCION_IVA").Texto(), "IVA");
    EXPECT_EQ(LeeAjuste("Version", ""), "1.1");
}

TEST(Actualizacion, VersionYaAlcanzadaOAusenteNoEjecutaNada) {
    EntornoPruebas e;
    e.Conecta();
    TablaAntigua();
    RegistroMensajes r;
    ActualizarVersion11("1.1", {"1.0", "1.1"});
    ActualizarVersion11("0.5", {"1.0", "1.1"});
    EXPECT_FALSE(ColumnasParametros().contains("OPCION_IVA"));
    EXPECT_FALSE(ExisteAjuste("Version"));
    EXPECT_EQ(r.cuenta(), 0);
}
