#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "datos/motor/TransaccionBD.h"

#include <gtest/gtest.h>

// Confirmed, what the transaction wrote stays; ended any other way, none of
// it does, and the connection is free for the next one.
TEST(TransaccionBD, SoloQuedaLoConfirmado) {
    enum class Fin { Confirmada, SinConfirmar, Excepcion };
    const struct {
        const char* caso;
        Fin fin;
        int quedan;
    } casos[] = {
        {"confirmada", Fin::Confirmada, 2},
        {"sin confirmar", Fin::SinConfirmar, 0},
        {"una excepción dentro", Fin::Excepcion, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        EntornoPruebas e;
        e.Conecta();
        bool lanzada = false;
        try {
            TransaccionBD t(*Conexion);
            e.InsertaFactura("P", "F-1", "06/12/2007", "21", "121");
            e.InsertaFactura("C", "C-1", "07/12/2007", "21", "121");
            if (c.fin == Fin::Excepcion)
                Conexion->Ejecutar("insert into FACTURAS (NO_EXISTE) values (1)");
            if (c.fin == Fin::Confirmada)
                t.Confirma();
        } catch (const ErrorBD&) {
            lanzada = true;
        }
        EXPECT_EQ(lanzada, c.fin == Fin::Excepcion);
        auto cuenta = [] { return Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Numero(); };
        EXPECT_EQ(cuenta(), c.quedan);
        {
            TransaccionBD otra(*Conexion);
            e.InsertaFactura("P", "F-2", "08/12/2007", "21", "121");
            otra.Confirma();
        }
        EXPECT_EQ(cuenta(), c.quedan + 1);
    }
}
