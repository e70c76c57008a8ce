#include "ApoyoPruebas.h"

#include "dominio/copias/RestaurarCopiaLogica.h"

#include <gtest/gtest.h>

TEST(FilaCopia, CadaColumnaConSuFormato) {
    const QDateTime escrita(QDate(2026, 12, 7), QTime(9, 5));
    const struct {
        qint64 bytes;
        EstadoArchivoBD estado;
        qint64 facturas;
        QDate ultima;
        QStringList fila;
    } casos[] = {
        {0, EstadoArchivoBD::Valida, 0, {}, {"F.mdb", "07/12/2026 09:05", "0 KB", "0", ""}},
        {1, EstadoArchivoBD::Valida, 1, QDate(2026, 1, 5), {"F.mdb", "07/12/2026 09:05", "1 KB", "1", "05/01/2026"}},
        {1536000, EstadoArchivoBD::Valida, 123456, QDate(2026, 12, 31),
         {"F.mdb", "07/12/2026 09:05", "1.500 KB", "123.456", "31/12/2026"}},
        {4096, EstadoArchivoBD::Danada, 0, {}, {"F.mdb", "07/12/2026 09:05", "4 KB", "dañada", ""}},
        {4096, EstadoArchivoBD::Ajena, 0, {}, {"F.mdb", "07/12/2026 09:05", "4 KB", "no es una copia", ""}},
        {4096, EstadoArchivoBD::MasReciente, 5, QDate(2026, 1, 5),
         {"F.mdb", "07/12/2026 09:05", "4 KB", "versión más reciente", ""}},
        {4096, EstadoArchivoBD::Ilegible, 0, {}, {"F.mdb", "07/12/2026 09:05", "4 KB", "no se puede leer", ""}},
    };
    for (const auto& c : casos) {
        CopiaEncontrada copia;
        copia.nombre = QStringLiteral("F.mdb");
        copia.fecha = escrita;
        copia.bytes = c.bytes;
        copia.examen.estado = c.estado;
        copia.examen.facturas = c.facturas;
        copia.examen.ultimaFactura = c.ultima;
        EXPECT_EQ(FilaCopia(copia), c.fila);
    }
    EXPECT_EQ(TitulosColumnasCopias(), (QStringList{"Copia", "Fecha", "Tamaño", "Facturas", "Última factura"}));
}
