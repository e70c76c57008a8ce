#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "datos/motor/ErroresBD.h"

#include <gtest/gtest.h>

namespace {
const QString kTituloBD = QStringLiteral("Error con la Base de Datos");
const QString kPadre = QStringLiteral(
    "No se puede agregar o cambiar el registro porque se necesita un registro relacionado en la tabla padre "
    "(FK_FACTURAS__CLIENTES).");
const QString kHijo = QStringLiteral(
    "No se puede eliminar o cambiar el registro porque la tabla hijo incluye registros relacionados "
    "(FK_FACTURAS__CLIENTES).");
}  // namespace

TEST(ErroresBD, MostrarErrorBD) {
    const struct {
        QString descripcion;
        bool propio;
        QString textoPrevio;
        QString mostrado;
        Icono icono;
        QString titulo;
    } casos[] = {
        {"Infracción de PK_FACTURAS", false, "", "Se produjo un error: Ese dato ya existe.", Icono::Informacion, kTituloBD},
        {"PK_A y FK_B__C) padre", false, "", "Se produjo un error: Ese dato ya existe.", Icono::Informacion, kTituloBD},
        {kPadre, false, "", "Se produjo un error: No se encontró el dato original en una tabla padre (CLIENTES)",
         Icono::Informacion, kTituloBD},
        {kHijo, false, "",
         "Se produjo un error: No se puede borrar el dato porque se está empleando en la Base de Datos "
         "(FACTURAS__CLIENTES)",
         Icono::Informacion, kTituloBD},
        // No ")" after the marker: the name runs to the end.
        {"tabla padre FK_A__B", false, "", "Se produjo un error: No se encontró el dato original en una tabla padre (B)",
         Icono::Informacion, kTituloBD},
        {"x) tabla padre FK_A__B", false, "",
         "Se produjo un error: No se encontró el dato original en una tabla padre (B)", Icono::Informacion, kTituloBD},
        // "padre" and "FK_" without "__" is no key message for this one.
        {"padre FK_A)", false, "", "Se produjo un error: padre FK_A)", Icono::Informacion, kTituloBD},
        {"Disco lleno", false, "", "Se produjo un error: Disco lleno", Icono::Informacion, kTituloBD},
        {"Disco lleno", true, "Mi texto. ", "Mi texto. ", Icono::Ninguno, "Fiscalino"},
        {"Infracción de PK_X", true, "Mi texto. ", "Mi texto. Ese dato ya existe.", Icono::Ninguno, "Fiscalino"},
    };
    for (const auto& c : casos) {
        RegistroMensajes r;
        QString texto = c.textoPrevio;
        MostrarErrorBD(ErrorBD(-2147467259, c.descripcion), c.propio, texto);
        ASSERT_EQ(r.cuenta(), 1);
        EXPECT_EQ(r.ultimo().texto, c.mostrado) << c.descripcion.toStdString();
        EXPECT_EQ(r.ultimo().icono, c.icono);
        EXPECT_EQ(r.ultimo().botones, Botones::Aceptar);
        EXPECT_EQ(r.ultimo().titulo, c.titulo);
        // The caller's text is extended in place.
        if (c.propio)
            EXPECT_EQ(texto, c.mostrado);
    }
}

TEST(ErroresBD, ComprobarErrorBDSinErrorNoMuestraNada) {
    RegistroMensajes r;
    const ErrorBD cero(0, "nada");
    for (bool silencioso : {false, true}) {
        EXPECT_FALSE(ComprobarErrorBD(nullptr, silencioso));
        EXPECT_FALSE(ComprobarErrorBD(&cero, silencioso));
    }
    const ErrorBD e(3146, "Error en la llamada");
    EXPECT_TRUE(ComprobarErrorBD(&e, true));
    EXPECT_EQ(r.cuenta(), 0);
}

TEST(ErroresBD, ComprobarErrorBD) {
    const QString pre = QStringLiteral("Se ha producido un error: ");
    const struct {
        int numero;
        QString descripcion;
        QString mostrado;
        Icono icono;
        QString titulo;
    } casos[] = {
        {53, "No se encontró el archivo", pre + "No se encontró el archivo", Icono::Ninguno,
         "Error de Lectura de Fichero"},
        {71, "Infracción de PK_X", pre + "Infracción de PK_X", Icono::Ninguno, "Error de Lectura de Fichero"},
        {5, "PK_X y FK_Y", pre + "Ese dato ya existe.", Icono::Informacion, kTituloBD},
        {5, kPadre, pre + "No se encontró el dato original en una tabla padre (CLIENTES)", Icono::Informacion, kTituloBD},
        {5, kHijo, pre + "No se puede borrar el dato porque se está empleando en la Base de Datos (CLIENTES)",
         Icono::Informacion, kTituloBD},
        // Without "__" the name starts at the second character.
        {5, "xFK_ABC) padre", pre + "No se encontró el dato original en una tabla padre (FK_ABC)", Icono::Informacion,
         kTituloBD},
        {5, "Error genérico", "Se produjo un error: Error genérico", Icono::Informacion, kTituloBD},
    };
    for (const auto& c : casos) {
        RegistroMensajes r;
        const ErrorBD e(c.numero, c.descripcion);
        EXPECT_TRUE(ComprobarErrorBD(&e, false));
        ASSERT_EQ(r.cuenta(), 1);
        EXPECT_EQ(r.ultimo().texto, c.mostrado) << c.descripcion.toStdString();
        EXPECT_EQ(r.ultimo().icono, c.icono);
        EXPECT_EQ(r.ultimo().botones, Botones::Aceptar);
        EXPECT_EQ(r.ultimo().titulo, c.titulo);
    }
}
