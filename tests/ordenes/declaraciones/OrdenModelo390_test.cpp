// The year's VAT summary from the command line.
#include "ordenes/declaraciones/OrdenModelo390.h"

#include "ApoyoPruebas.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Fichero390.h"
#include "dominio/parametros/ActualizacionMod.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(Orden390, SalidasYErrores) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros();
    e.InsertaFactura("C", "V1", "15/02/2025", "210", "1.210", "1.000", "21");
    e.InsertaFactura("P", "C1", "15/11/2025", "100", "1.100", "1.000", "10");
    const Modelo390 m = LeeModelo390(*Conexion, 2025, "IVA");
    const QStringList lineas = m.LineasOrden();
    const QByteArray archivo = Fichero390(m, {"B12345674", "Bazar Atlántico SL", "", ""}, false, VersionPrograma);
    CierraConexion();
    const QString txt = e.Carpeta() + "/390.txt", pdf = e.Carpeta() + "/390.pdf";
    const struct {
        QStringList argumentos;
        const char* empresa;  // the company's NIF; "" none
        const char* impuesto;
        int codigo;
        const char* error;
        const QString* escrito;  // the file written, if any
    } casos[] = {
        {{"2025"}, "", "IVA", 0, "", nullptr},
        {{"2025", txt}, "", "IVA", 1, "Para el archivo del Modelo 390 falta el NIF de la empresa y el nombre", nullptr},
        {{"2025", txt}, "B12345674", "IVA", 0, "", &txt},
        {{"2025", pdf}, "", "IVA", 0, "", &pdf},
        {{"2025"}, "", "IGIC", 1, "El resumen anual del IGIC (Modelo 425) no está disponible todavía.", nullptr},
        {{"20x5"}, "", "IVA", 2, "El año no es válido: 20x5", nullptr},
        {{"2025", "390.csv"}, "", "IVA", 2, "El archivo de salida debe terminar en .pdf o .txt: 390.csv", nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        QFile::remove(txt);
        QFile::remove(pdf);
        e.Conecta();
        Conexion->Ejecutar("delete from DATOS_EMPRESA");
        if (*c.empresa)
            Conexion->Ejecutar(QString("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Bazar Atlántico SL', '%1')")
                                   .arg(c.empresa));
        Conexion->Ejecutar(QString("update PARAMETROS set OPCION_IVA = '%1'").arg(c.impuesto));
        CierraConexion();
        OrdenDePrueba o(c.argumentos);
        EXPECT_EQ(OrdenModelo390(o.c), c.codigo);
        EXPECT_EQ(o.salida, c.codigo == 0 ? lineas : QStringList());
        if (*c.error) {
            ASSERT_EQ(o.errores.size(), 1);
            EXPECT_TRUE(o.errores[0].startsWith(QString::fromUtf8(c.error))) << o.errores[0].toStdString();
        } else {
            EXPECT_EQ(o.errores, QStringList());
        }
        EXPECT_EQ(ContenidoArchivo(txt), c.escrito == &txt ? archivo : QByteArray());
        EXPECT_EQ(ContenidoArchivo(pdf).left(5), c.escrito == &pdf ? QByteArray("%PDF-") : QByteArray());
        CierraConexion();
    }
}
