#include "ApoyoPantallas.h"

#include "dominio/parametros/Ajustes.h"
#include "arranque/Arranque.h"
#include "arranque/ArranqueVentanas.h"
#include "dominio/copias/Copias.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "dominio/listado/Listado.h"
#include "informes/Fuentes.h"
#include "ventanas/copias/RestaurarCopiaFrm.h"
#include "ventanas/ajustes/DatosEmpresaFrm.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

namespace {

}  // namespace

class PrimeraEjecucionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void PrimeraEjecucionCompletaYSegundoArranque() {
        EntornoPruebas e;
        RegistroMensajes r;
        QStringList pantallas;
        bool ventanaPrincipal = false;

        Arranque ganchos;
        ganchos.muestraDatosEmpresa = [&] {
            CuandoSeAbra<DatosEmpresaFrm>([&](DatosEmpresaFrm* d) {
                pantallas << d->objectName();
                QVERIFY(d->isModal());
                Reemplaza(Control(d, "Txts(0)"), QStringLiteral("Llibreria d'en Pau"));
                Reemplaza(Control(d, "Txts(3)"), QStringLiteral("Plaza d'Or, 3"));
                Reemplaza(Control(d, "Txts(4)"), QStringLiteral("Sóller"));
                Reemplaza(Control(d, "Txts(6)"), QStringLiteral("Illes Balears"));
                Reemplaza(Control(d, "Txts(5)"), QStringLiteral("07100"));
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            });
            DatosEmpresaFrm d;
            d.exec();
        };
        ganchos.muestraParametros = [&] {
            CuandoSeAbra<ParametrosFrm>([&](ParametrosFrm* d) {
                pantallas << d->objectName();
                QVERIFY(d->isModal());
                QCOMPARE(Control(d, "Txts(2)")->text(), QStringLiteral("21"));
                QCOMPARE(Control(d, "Txts(3)")->text(), QStringLiteral("IVA"));
                Reemplaza(Control(d, "Txts(0)"), QStringLiteral("Pau'2026"));
                Reemplaza(Control(d, "Txts(1)"), QStringLiteral("Pau'2026"));
                Reemplaza(Control(d, "Txts(2)"), QStringLiteral("7"));
                Reemplaza(Control(d, "Txts(3)"), QStringLiteral("IGIC"));
                Reemplaza(Control<QPlainTextEdit>(d, "Txts(4)"), QStringLiteral("Gràcies per l'encàrrec"));
                QTest::mouseClick(Control<QCheckBox>(d, "ChkRest(0)"), Qt::LeftButton);
                QTest::mouseClick(Control<QPushButton>(d, "BtnGrabar"), Qt::LeftButton);
            });
            ParametrosFrm d;
            d.exec();
        };
        ganchos.muestraVentanaPrincipal = [&] { ventanaPrincipal = true; };

        QCOMPARE(Main(ganchos), FinArranque::PrimeraVez);
        QCOMPARE(pantallas, (QStringList{"DatosEmpresaFrm", "ParametrosFrm"}));
        QVERIFY(!ventanaPrincipal);
        QCOMPARE(r.cuenta(), 2);
        QCOMPARE(r.mostrados()[0].titulo, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        QCOMPARE(r.mostrados()[1].texto,
                 QStringLiteral("Datos actualizados. Reinicie la aplicación para que los cambios surtan efecto."));
        // The parameters in memory are untouched until the next start.
        QCOMPARE(PalabraClave, QString());
        QCOMPARE(IvaPorDefecto, short(0));

        // Second start: no first-run message, the main window and the new parameters.
        r.Limpia();
        pantallas.clear();
        QCOMPARE(Main(ganchos), FinArranque::VentanaAbierta);
        QVERIFY(ventanaPrincipal);
        QVERIFY(pantallas.isEmpty());
        QCOMPARE(r.cuenta(), 0);
        QCOMPARE(PalabraClave, QStringLiteral("Pau'2026"));
        QCOMPARE(IvaPorDefecto, short(7));
        QCOMPARE(OpcionIva, QStringLiteral("IGIC"));
        QCOMPARE(FraseFinal, QStringLiteral("Gràcies per l'encàrrec"));
        QVERIFY(AccesoFacturas);
        QVERIFY(!AccesoInformes);

        // The password is stored encoded, and the company heads the listing.
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select PALABRA_CLAVE from PARAMETROS"));
        QVERIFY(rs->Campo(0).Texto() != QStringLiteral("Pau'2026"));
        QCOMPARE(CodificarClave(false, rs->Campo(0).Texto()), QStringLiteral("Pau'2026"));
        const CabeceraEmpresa cab = LineasEmpresa(*Conexion->AbrirRegistros(SqlDatosEmpresa()));
        QCOMPARE(cab.linea1, QStringLiteral("Llibreria d'en Pau"));
        QCOMPARE(cab.linea2, QStringLiteral("Plaza d'Or, 3"));
        QCOMPARE(cab.linea3, QStringLiteral("07100 Sóller Illes Balears"));
    }

    // A new computer with the copies of the old one at hand.
    void SinBaseYConCopiasSeOfreceRestaurarUna() {
        EntornoPruebas e;
        e.Conecta();
        e.InsertaParametros(QStringLiteral("IGIC"));
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        CopiaArchivoBD(OrigenCopia(), CarpetaCopia() + NombreCopiaSeguridad(QDate(2026, 12, 6), OrigenCopia()));
        CierraConexion();
        QVERIFY(QFile::remove(e.RutaBD()));

        RegistroMensajes r;
        r.Responde(Respuesta::Si);  // restore one
        r.Responde(Respuesta::Si);  // this one
        QStringList pantallas;
        bool ventanaPrincipal = false;
        Arranque ganchos = ArranqueConVentanas();
        ganchos.restauraPrimeraVez = [&, restaura = ganchos.restauraPrimeraVez] {
            CuandoSeAbra<RestaurarCopiaFrm>([&](RestaurarCopiaFrm* d) {
                pantallas << d->objectName();
                QTest::keyClick(d, Qt::Key_Return);
            });
            return restaura();
        };
        ganchos.muestraDatosEmpresa = [&] { pantallas << QStringLiteral("DatosEmpresaFrm"); };
        ganchos.muestraParametros = [&] { pantallas << QStringLiteral("ParametrosFrm"); };
        ganchos.muestraVentanaPrincipal = [&] { ventanaPrincipal = true; };
        ganchos.aplicaTamano = nullptr;

        QCOMPARE(Main(ganchos), FinArranque::VentanaAbierta);
        QVERIFY(ventanaPrincipal);
        QCOMPARE(pantallas, QStringList{"RestaurarCopiaFrm"});
        QCOMPARE(r.cuenta(), 3);
        const Mensaje oferta = r.mostrados()[0];
        QCOMPARE(oferta.texto, QStringLiteral("Atención, es la primera vez que se arranca la aplicación, pero hay copias "
                                              "de seguridad en ") +
                                   CarpetaCopia() +
                                   QStringLiteral(". ¿Desea restaurar una de ellas? Si contesta No, se creará una base "
                                                  "de datos vacía."));
        QCOMPARE(oferta.botones, Botones::SiNo);
        QCOMPARE(oferta.icono, Icono::Pregunta);
        QCOMPARE(oferta.titulo, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        QCOMPARE(r.mostrados()[1].texto,
                 QStringLiteral("¿Desea restaurar la copia \"Fiscalino061226.mdb\" (1 factura, del 06/12/2026)?"));
        QCOMPARE(r.ultimo().texto, QStringLiteral("La copia se restauró correctamente."));
        QCOMPARE(OpcionIva, QStringLiteral("IGIC"));
        QCOMPARE(Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(),
                 QStringLiteral("1"));
        CierraConexion();

        // Saying no makes the empty database of a first run.
        QVERIFY(QFile::remove(e.RutaBD()));
        r.Limpia();
        pantallas.clear();
        r.Responde(Respuesta::No);
        QCOMPARE(Main(ganchos), FinArranque::PrimeraVez);
        QCOMPARE(pantallas, (QStringList{"DatosEmpresaFrm", "ParametrosFrm"}));
        QCOMPARE(r.cuenta(), 2);
        QCOMPARE(r.ultimo().titulo, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        QVERIFY(r.ultimo().texto.startsWith(QStringLiteral("Atención, es la primera vez que se arranca la aplicación. ")));
        QVERIFY(QFileInfo::exists(e.RutaBD()));
    }

    void SalirDeAmbasPantallasTambienTerminaYSigueSiendoPrimeraVez() {
        EntornoPruebas e;
        RegistroMensajes r;
        Arranque ganchos;
        ganchos.muestraDatosEmpresa = [&] {
            CuandoSeAbra<DatosEmpresaFrm>([](DatosEmpresaFrm* d) { QTest::keyClick(d, Qt::Key_Escape); });
            DatosEmpresaFrm d;
            d.exec();
        };
        ganchos.muestraParametros = [&] {
            CuandoSeAbra<ParametrosFrm>([](ParametrosFrm* d) { QTest::keyClick(d, Qt::Key_Escape); });
            ParametrosFrm d;
            d.exec();
        };
        QCOMPARE(Main(ganchos), FinArranque::PrimeraVez);
        QCOMPARE(Main(ganchos), FinArranque::PrimeraVez);
        QCOMPARE(r.cuenta(), 2);
        QCOMPARE(r.textos()[0], r.textos()[1]);
    }

    void UnaVersionAnteriorSeRegistraComoLaActualAlArrancar() {
        EntornoPruebas e;
        e.Conecta();
        e.InsertaParametros(QStringLiteral("IGIC"), 7);
        CierraConexion();
        GuardaAjuste(QStringLiteral("Version"), QStringLiteral("0.9"));
        RegistroMensajes r;
        bool ventana = false;
        Arranque ganchos;
        ganchos.muestraVentanaPrincipal = [&] { ventana = true; };
        QCOMPARE(Main(ganchos), FinArranque::VentanaAbierta);
        QVERIFY(ventana);
        QCOMPARE(r.cuenta(), 0);
        QCOMPARE(LeeAjuste(QStringLiteral("Version"), QString()), QStringLiteral("1.0"));
        QCOMPARE(OpcionIva, QStringLiteral("IGIC"));
    }
};

QTEST_MAIN(PrimeraEjecucionTest)
#include "PrimeraEjecucion_qtest.moc"
