#include "arranque/LineaOrdenes.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(LineaOrdenes, LeeLaBaseYLaOrden) {
    const struct {
        QStringList argumentos;
        QString base, orden, error;
        QStringList suyos;
    } casos[] = {
        {{}, "", "", "", {}},
        {{"--base-datos", "cliente.mdb"}, "cliente.mdb", "", "", {}},
        {{"--base-datos=a b;c.mdb", "--version"}, "a b;c.mdb", "--version", "", {}},
        {{"--help"}, "", "--help", "", {}},
        {{"--base-datos"}, "", "", "Falta el archivo de la base de datos tras --base-datos.", {}},
        {{"--liquidar"}, "", "", "Opción desconocida: --liquidar", {}},
        {{"--version", "1"}, "", "--version", "Número de argumentos incorrecto para --version.", {"1"}},
    };
    for (const auto& c : casos) {
        const LineaOrdenes l = LeeLineaOrdenes(QStringList{"Fiscalino"} + c.argumentos);
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        EXPECT_EQ(l.baseDatos, c.base);
        EXPECT_EQ(l.orden, c.orden);
        EXPECT_EQ(l.error, c.error);
        EXPECT_EQ(l.argumentos, c.suyos);
        EXPECT_EQ(l.HayOrden(), !c.orden.isEmpty() || !c.error.isEmpty());
    }
}

// The program itself, as a script runs it: exit status, standard output and error.
TEST(LineaOrdenes, ElProgramaRespondeSinVentanas) {
    const struct {
        QStringList argumentos;
        int salida;
        const char* empiezaSalida;
        const char* empiezaError;
    } casos[] = {
        {{"--version"}, 0, "Fiscalino 1.0\n", ""},
        {{"--ayuda"}, 0, "Uso:\n  Fiscalino [--base-datos FICHERO]\n", ""},
        {{"--nada"}, 2, "", "Opción desconocida: --nada\nUso:\n"},
    };
    for (const auto& c : casos) {
        QProcess p;
        p.start(QStringLiteral(FISCALINO_PROGRAMA), c.argumentos);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), c.salida) << c.argumentos.join(' ').toStdString();
        const QString salida = QString::fromUtf8(p.readAllStandardOutput());
        const QString error = QString::fromUtf8(p.readAllStandardError());
        // Nothing expected is nothing at all.
        auto empieza = [](const QString& t, const char* inicio) { return *inicio ? t.startsWith(QString::fromUtf8(inicio)) : t.isEmpty(); };
        EXPECT_TRUE(empieza(salida, c.empiezaSalida)) << salida.toStdString();
        EXPECT_TRUE(empieza(error, c.empiezaError)) << error.toStdString();
    }
}
