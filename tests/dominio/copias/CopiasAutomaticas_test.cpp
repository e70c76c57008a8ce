#include "ApoyoPruebas.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/copias/Copias.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "datos/BaseDatos.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class CopiasAuto : public ::testing::Test {
protected:
    EntornoPruebas e;
    RegistroMensajes r;
    void SetUp() override {
        e.Conecta();
        e.InsertaParametros();
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
    }
    QStringList Copias() const { return QDir(CarpetaCopia()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    void Crea(const QString& nombre) const {
        QFile f(CarpetaCopia() + nombre);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

}  // namespace

TEST_F(CopiasAuto, UnaAlDiaConLoQueHabiaAlSalir) {
    const QDate lunes(2026, 12, 7);
    EXPECT_EQ(HazCopiaAutomatica(lunes), CopiaAutomatica::Hecha);
    e.InsertaFactura("C", "C-1", "07/12/2026", "2,10", "12,10");
    EXPECT_EQ(HazCopiaAutomatica(lunes), CopiaAutomatica::NoToca);
    EXPECT_EQ(Copias(), QStringList{"Fiscalino-automatica-20261207.mdb"});
    EXPECT_EQ(Sqlite(CarpetaCopia() + "Fiscalino-automatica-20261207.mdb",
                     "pragma integrity_check; select group_concat(COD_FACTURA) from FACTURAS"),
              "ok\nF-1");
    EXPECT_EQ(HazCopiaAutomatica(lunes.addDays(1)), CopiaAutomatica::Hecha);
    EXPECT_EQ(Sqlite(CarpetaCopia() + "Fiscalino-automatica-20261208.mdb", "select count(*) from FACTURAS"), "2");
    EXPECT_EQ(r.cuenta(), 0);
}

// Each database has its copy of the day, and keeps its own last ones.
TEST_F(CopiasAuto, UnaAlDiaPorCadaBase) {
    GuardaCopiasAutomaticas(1);
    const QString igic = e.Carpeta() + "/igic.mdb";
    const QDate lunes(2026, 12, 7);
    const struct {
        QString base;
        QDate dia;
        CopiaAutomatica resultado;
    } pasos[] = {{QString(), lunes, CopiaAutomatica::Hecha},
                 {igic, lunes, CopiaAutomatica::Hecha},
                 {igic, lunes, CopiaAutomatica::NoToca},
                 {QString(), lunes.addDays(1), CopiaAutomatica::Hecha}};
    for (const auto& p : pasos) {
        CierraConexion();
        FijaRutaBaseDatos(p.base);
        e.Conecta();
        EXPECT_EQ(HazCopiaAutomatica(p.dia), p.resultado) << p.base.toStdString() << " " << p.dia.day();
    }
    EXPECT_EQ(Copias(), QStringList({"Fiscalino-automatica-20261208.mdb", "igic-automatica-20261207.mdb"}));
}

// Only the automatic copies are removed, the oldest first; the user's own
// copies and the safety copies stay.
TEST_F(CopiasAuto, SeGuardanLasUltimasQueSeDiga) {
    const QStringList propias = {"Fiscalino011226.mdb", "Fiscalino-antes-de-restaurar-20261101-101010.mdb",
                                 "Fiscalino-automatica-2026110.mdb", "otra-automatica-20261101.mdb"};
    for (const QString& n : propias)
        Crea(n);
    for (int d = 1; d <= 9; ++d)
        Crea(QStringLiteral("Fiscalino-automatica-202611%1.mdb").arg(d, 2, 10, QLatin1Char('0')));
    GuardaCopiasAutomaticas(3);
    ASSERT_EQ(HazCopiaAutomatica(QDate(2026, 12, 7)), CopiaAutomatica::Hecha);
    QStringList quedan = propias;
    quedan << "Fiscalino-automatica-20261108.mdb" << "Fiscalino-automatica-20261109.mdb"
           << "Fiscalino-automatica-20261207.mdb";
    quedan.sort();
    EXPECT_EQ(Copias(), quedan);

    // None at all: nothing is made, and what there is stays.
    GuardaCopiasAutomaticas(0);
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 8)), CopiaAutomatica::NoToca);
    EXPECT_EQ(Copias(), quedan);
}

TEST_F(CopiasAuto, UnNumeroGuardadoQueNoValeEsElDeSiempre) {
    const struct {
        const char* guardado;
        int cuantas;
    } casos[] = {{"", 7}, {"0", 0}, {"12", 12}, {"99", 99}, {"100", 7}, {"-1", 7}, {"2,5", 7}, {"siete", 7}};
    for (const auto& c : casos) {
        GuardaAjuste(QStringLiteral("CopiasAutomaticas"), QString::fromLatin1(c.guardado));
        EXPECT_EQ(CopiasAutomaticas(), c.cuantas) << c.guardado;
    }
}

// A failure is told the first time only, until a copy is made again.
TEST_F(CopiasAuto, UnFalloSeAvisaUnaVez) {
    const QString carpeta = CarpetaCopia();
    EstableceCarpetaCopia(e.Carpeta() + QStringLiteral("/no-hay"));
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 7)), CopiaAutomatica::Fallida);
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith(
        QStringLiteral("No se pudo hacer la copia de seguridad automática al salir: No se encontró la carpeta de la copia: ")))
        << r.ultimo().texto.toStdString();
    EXPECT_TRUE(r.ultimo().texto.endsWith(
        QStringLiteral("Este aviso no se repetirá hasta que una copia automática se haga bien. Puede cambiar el número "
                       "de copias automáticas en la Configuración de la Aplicación.")));
    EXPECT_EQ(r.ultimo().icono, Icono::Exclamacion);
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Fiscalino"));
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 8)), CopiaAutomatica::Fallida);
    EXPECT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(e.Bitacora().contains(QStringLiteral("Copia automática: No se encontró la carpeta")));

    EstableceCarpetaCopia(carpeta);
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 9)), CopiaAutomatica::Hecha);
    EstableceCarpetaCopia(e.Carpeta() + QStringLiteral("/no-hay"));
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 10)), CopiaAutomatica::Fallida);
    EXPECT_EQ(r.cuenta(), 2);
}

// Another instance working on the same database does not stop the copy, nor the copy its work.
TEST_F(CopiasAuto, OtraInstanciaAbiertaNoLaImpide) {
    OtraInstancia otra(e.RutaBD());
    ASSERT_TRUE(otra.Lista());
    EXPECT_EQ(HazCopiaAutomatica(QDate(2026, 12, 7)), CopiaAutomatica::Hecha);
    EXPECT_EQ(r.cuenta(), 0);
}
