#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "dominio/ajustes/ParametrosLogica.h"

#include <gtest/gtest.h>

namespace {

const QString kEtiquetaIva = QStringLiteral("Porcentaje del IVA por defecto");
const QString kEtiquetaOpcion =
    QStringLiteral("Opción IVA: sustituir la palabra \"IVA\" por                        (por ejemplo IGIC)");
const QStringList kTags = {QStringLiteral("PALABRA_CLAVE"), QStringLiteral("PALABRA_CLAVE"), QStringLiteral("IVA"),
                           QStringLiteral("OPCION_IVA"), QStringLiteral("FRASE_FINAL")};
const QStringList kTagsChk = {QStringLiteral("ACCESO_FACTURAS"), QStringLiteral("ACCESO_INFORMES")};

ValoresParametros Valores(const QString& clave, const QString& iva = QStringLiteral("16"),
                          const QString& opcion = QStringLiteral("IVA"), const QString& frase = QString()) {
    ValoresParametros v;
    v.clave = clave;
    v.repeticion = clave;
    v.iva = iva;
    v.opcionIva = opcion;
    v.frase = frase;
    return v;
}

QString Celda(const QString& sql) {
    auto rs = Conexion->AbrirRegistros(sql);
    return rs->Fin() ? QStringLiteral("(sin fila)") : rs->Campo(0).Texto();
}

bool EsNulo(const QString& columna) {
    return Conexion->AbrirRegistros(QStringLiteral("select ") + columna + QStringLiteral(" from PARAMETROS"))->Campo(0).EsNulo();
}

}  // namespace

TEST(ParametrosSql, LasSentenciasSonLaConcatenacionDeSusPiezas) {
    ValoresParametros v = Valores(QStringLiteral("abc"), QStringLiteral("7"), QStringLiteral("IGIC"));
    v.accesoFacturas = true;
    EXPECT_EQ(SqlLeeParametros(), QStringLiteral("select * from PARAMETROS"));
    EXPECT_EQ(SqlInsertaParametros(v),
              QStringLiteral("insert into PARAMETROS       (PALABRA_CLAVE,        IVA,        OPCION_IVA,        "
                             "FRASE_FINAL,        ACCESO_FACTURAS,        ACCESO_INFORMES) values ('`d`'       ,7       "
                             ",'IGIC'       ,Null       ,'S'       ,'N'       )"));
    EXPECT_EQ(SqlActualizaParametros(v),
              QStringLiteral("update PARAMETROS   set PALABRA_CLAVE = '`d`'     , IVA = 7     , OPCION_IVA = 'IGIC'   "
                             "  , FRASE_FINAL = Null     , ACCESO_FACTURAS = 'S'     , ACCESO_INFORMES = 'N'"));
}

TEST(ParametrosSql, LosApostrofesSeDoblanEnTodosLosValoresEntreComillas) {
    // "(" encodes to an apostrophe.
    ValoresParametros v = Valores(QStringLiteral("("), QStringLiteral("16"), QStringLiteral("d'IVA"),
                                  QStringLiteral("Gràcies per l'encàrrec"));
    const QString sql = SqlActualizaParametros(v);
    EXPECT_TRUE(sql.contains(QStringLiteral("PALABRA_CLAVE = ''''"))) << sql.toStdString();
    EXPECT_TRUE(sql.contains(QStringLiteral("OPCION_IVA = 'd''IVA'")));
    EXPECT_TRUE(sql.contains(QStringLiteral("FRASE_FINAL = 'Gràcies per l''encàrrec'")));
}

TEST(ParametrosComprobacion, LasComprobacionesSiguenSuOrden) {
    struct Caso { QString clave, repeticion, iva, opcion, esperado; };
    const QString vacioIva = QStringLiteral("El campo 'Porcentaje del IVA por defecto' no puede quedar vacío.");
    const Caso casos[] = {
        {"abc", "abd", "", "", "La palabra clave no coincide con la repetición."},
        {"Abc", "abc", "16", "IVA", "La palabra clave no coincide con la repetición."},
        {"abc", "", "16", "IVA", "La palabra clave no coincide con la repetición."},
        {"", "", "", "", vacioIva},
        {"x", "x", "", "IVA", vacioIva},
        {"", "", "1,5", "IVA", "El campo 'Porcentaje del IVA por defecto' sólo admite un número entero."},
        {"", "", "7 or 1=1", "IVA", "El campo 'Porcentaje del IVA por defecto' sólo admite un número entero."},
        {"", "", "16", "", QStringLiteral("El campo '") + kEtiquetaOpcion + QStringLiteral("' no puede quedar vacío.")},
        {"", "", "16", "IVA", ""},
        {"clave", "clave", "0", "IGIC", ""},
    };
    for (const Caso& c : casos) {
        ValoresParametros v;
        v.clave = c.clave;
        v.repeticion = c.repeticion;
        v.iva = c.iva;
        v.opcionIva = c.opcion;
        EXPECT_EQ(CompruebaParametros(v, kEtiquetaIva, kEtiquetaOpcion), c.esperado) << c.clave.toStdString() << "/" << c.iva.toStdString();
    }
}

TEST(ParametrosCarga, PrimeraVezMuestraLosValoresIniciales) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    const CargaParametrosPantalla c = LeeParametrosPantalla(kTags, kTagsChk);
    EXPECT_FALSE(c.hayFila);
    EXPECT_EQ(c.textos, (QStringList{"", "", "21", "IVA", ""}));
    EXPECT_EQ(c.marcas, (QList<bool>{false, false}));
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(ParametrosCarga, UnaFilaSeLeePorLasEtiquetasConLaClaveDescifrada) {
    EntornoPruebas e;
    e.Conecta();
    Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS values ('`d`', 7, '', 'Gracias', 'S', Null)"));
    RegistroMensajes r;
    const CargaParametrosPantalla c = LeeParametrosPantalla(kTags, kTagsChk);
    EXPECT_TRUE(c.hayFila);
    EXPECT_EQ(c.textos, (QStringList{"abc", "abc", "7", "IVA", "Gracias"}));
    EXPECT_EQ(c.marcas, (QList<bool>{true, false}));
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(ParametrosCarga, UnaClaveQueNoSeDescifraSeAvisaComoUnErrorDeBaseDeDatos) {
    EntornoPruebas e;
    e.Conecta();
    // "ÿ" (255) at the first position would go up to 256.
    Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS values ('ÿ', 16, 'IVA', Null, 'N', 'N')"));
    RegistroMensajes r;
    const CargaParametrosPantalla c = LeeParametrosPantalla(kTags, kTagsChk);
    EXPECT_TRUE(c.hayFila);
    EXPECT_EQ(c.textos, (QStringList{"ÿ", "ÿ", "16", "IVA", ""}));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith(QStringLiteral("Se produjo un error: ")));
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
}

TEST(ParametrosCarga, UnaColumnaQueFaltaSeAvisaYLaCargaSigue) {
    EntornoPruebas e;
    e.Conecta();
    Conexion->Ejecutar(QStringLiteral("drop table PARAMETROS"));
    Conexion->Ejecutar(QStringLiteral("create table PARAMETROS (PALABRA_CLAVE varchar(50), IVA smallint, "
                                      "FRASE_FINAL text, ACCESO_FACTURAS char(1), ACCESO_INFORMES char(1))"));
    Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS values (Null, 16, Null, 'N', 'S')"));
    RegistroMensajes r;
    const CargaParametrosPantalla c = LeeParametrosPantalla(kTags, kTagsChk);
    EXPECT_TRUE(c.hayFila);
    EXPECT_EQ(c.textos, (QStringList{"", "", "16", "IVA", ""}));
    EXPECT_EQ(c.marcas, (QList<bool>{false, true}));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith(QStringLiteral("Se produjo un error: "))) << r.ultimo().texto.toStdString();
    EXPECT_TRUE(r.ultimo().texto.contains(QStringLiteral("OPCION_IVA")));
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
}

TEST(ParametrosGuarda, InsertaYLuegoActualizaLaUnicaFila) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    ValoresParametros v = Valores(QStringLiteral("Secreto"), QStringLiteral("21"), QStringLiteral("IGIC"),
                                  QStringLiteral("Plaza d'Or"));
    v.accesoInformes = true;
    ASSERT_TRUE(GuardaParametros(v, true, kEtiquetaIva, kEtiquetaOpcion));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto,
              QStringLiteral("Datos actualizados. Reinicie la aplicación para que los cambios surtan efecto."));
    EXPECT_EQ(r.ultimo().icono, Icono::Informacion);
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Configuración de la Aplicación"));
    EXPECT_EQ(CodificarClave(false, Celda(QStringLiteral("select PALABRA_CLAVE from PARAMETROS"))),
              QStringLiteral("Secreto"));
    EXPECT_EQ(Celda(QStringLiteral("select FRASE_FINAL from PARAMETROS")), QStringLiteral("Plaza d'Or"));
    EXPECT_EQ(Celda(QStringLiteral("select ACCESO_INFORMES || ACCESO_FACTURAS || IVA from PARAMETROS")),
              QStringLiteral("SN21"));

    // Both password boxes emptied: no password, stored as Null; an empty phrase too.
    ASSERT_TRUE(GuardaParametros(Valores(QString()), false, kEtiquetaIva, kEtiquetaOpcion));
    EXPECT_EQ(Celda(QStringLiteral("select count(*) from PARAMETROS")), QStringLiteral("1"));
    EXPECT_TRUE(EsNulo(QStringLiteral("PALABRA_CLAVE")));
    EXPECT_TRUE(EsNulo(QStringLiteral("FRASE_FINAL")));
}

TEST(ParametrosGuarda, UnaClaveQueSeCifraEnApostrofeSeGuardaIntacta) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    ASSERT_TRUE(GuardaParametros(Valores(QStringLiteral("(a'b")), true, kEtiquetaIva, kEtiquetaOpcion));
    EXPECT_EQ(CodificarClave(false, Celda(QStringLiteral("select PALABRA_CLAVE from PARAMETROS"))),
              QStringLiteral("(a'b"));
}

TEST(ParametrosGuarda, UnFalloDaLosDosMensajesYNoGuardaNada) {
    EntornoPruebas e;
    e.Conecta();
    {
        // A password the code page cannot take is refused before the statement, in one message.
        RegistroMensajes r;
        EXPECT_FALSE(GuardaParametros(Valores(QStringLiteral("中")), true, kEtiquetaIva, kEtiquetaOpcion));
        EXPECT_EQ(r.textos(), QStringList{MensajeClaveNoAdmitida});
        EXPECT_EQ(Celda(QStringLiteral("select count(*) from PARAMETROS")), QStringLiteral("0"));
    }
    Conexion->Ejecutar(QStringLiteral("drop table PARAMETROS"));
    RegistroMensajes r;
    EXPECT_FALSE(GuardaParametros(Valores(QStringLiteral("abc")), true, kEtiquetaIva, kEtiquetaOpcion));
    ASSERT_EQ(r.cuenta(), 2);
    EXPECT_EQ(r.mostrados()[0].texto,
              QStringLiteral("Se produjo un error: No se encontró la tabla PARAMETROS en la base de datos."));
    EXPECT_EQ(r.mostrados()[0].titulo, QStringLiteral("Error con la Base de Datos"));
    EXPECT_EQ(r.mostrados()[1].texto,
              QStringLiteral("Este error es posible que sea debido a que la versión de su programa y de su base "
                             "de datos no sean la misma. Consulte con su distribuidor."));
    EXPECT_EQ(r.mostrados()[1].icono, Icono::Informacion);
    EXPECT_EQ(r.mostrados()[1].titulo, QStringLiteral("Fiscalino"));
}

TEST(ParametrosGuarda, UnaComprobacionQueFallaNoEjecutaNada) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    EXPECT_FALSE(GuardaParametros(Valores(QString(), QString()), true, kEtiquetaIva, kEtiquetaOpcion));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, QStringLiteral("El campo 'Porcentaje del IVA por defecto' no puede quedar vacío."));
    EXPECT_EQ(r.ultimo().icono, Icono::Informacion);
    EXPECT_EQ(Celda(QStringLiteral("select count(*) from PARAMETROS")), QStringLiteral("0"));
}
