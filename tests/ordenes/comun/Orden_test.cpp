#include "ApoyoPruebas.h"

#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "ordenes/comun/Orden.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Orden = OrdenDePrueba;

QByteArray Contenido(const QString& ruta) { return ContenidoArchivo(ruta); }

}  // namespace

TEST(Orden, LaClaveSePideDondeLaPantallaLaPediria) {
    const struct {
        bool guardado;
        QString palabraClave;
        std::optional<QString> respuesta;
        bool pasa;
        const char* error;
    } casos[] = {
        {false, "secreto", std::nullopt, true, nullptr},
        {true, "", std::nullopt, true, nullptr},
        {true, "secreto", QString("secreto"), true, nullptr},
        {true, "secreto", QString("Secreto"), false, "Contraseña no válida."},
        {true, "secreto", std::nullopt, false, "Hace falta la clave de acceso y no hay un terminal donde pedirla."},
    };
    for (const auto& k : casos) {
        PalabraClave = k.palabraClave;
        Orden o;
        o.clave = k.respuesta;
        EXPECT_EQ(AccesoDeOrden(o.c, k.guardado), k.pasa) << k.palabraClave.toStdString();
        EXPECT_EQ(o.errores, k.error ? QStringList{QString::fromUtf8(k.error)} : QStringList{});
    }
    PalabraClave.clear();
}

TEST(Orden, LaBaseSeAbreSoloParaLeerYNuncaSeCrea) {
    EntornoPruebas e;
    RegistroMensajes r;
    Orden sinBase;
    FijaRutaBaseDatos(e.Carpeta() + "/cliente.mdb");
    EXPECT_FALSE(AbreBaseDeOrden(sinBase.c));
    EXPECT_FALSE(QFile::exists(e.Carpeta() + "/cliente.mdb"));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith("Error intentando conectar con la BD. El error fue: No se encontró"));

    // An earlier layout is read as it is: opening for a command writes nothing.
    QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/estructura1.mdb"), e.Carpeta() + "/cliente.mdb");
    const QByteArray antes = Contenido(e.Carpeta() + "/cliente.mdb");
    Orden o;
    ASSERT_TRUE(AbreBaseDeOrden(o.c));
    EXPECT_EQ(OpcionIva, "IGIC");
    EXPECT_EQ(Conexion->AbrirRegistros("select count(*) from FACTURAS where TIPO = 'C'")->Campo(0).Numero(), 4);
    EXPECT_THROW(Conexion->Ejecutar("delete from FACTURAS"), ErrorBD);
    CierraConexion();
    FijaRutaBaseDatos(QString());
    EXPECT_EQ(Contenido(e.Carpeta() + "/cliente.mdb"), antes);
    EXPECT_TRUE(o.errores.isEmpty());
}
