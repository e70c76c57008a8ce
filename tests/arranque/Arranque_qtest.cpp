// The whole start-up with the program's windows, on a temporary database.
#include "ApoyoPantallas.h"

#include "dominio/parametros/Ajustes.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Ventanas.h"
#include "arranque/ArranqueVentanas.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "ventanas/principal/Menufrm.h"

#include <QScreen>
#include <QTest>
#include <memory>

namespace {
const QString kAviso1 = QStringLiteral(
    "ATENCIÓN: No se encontró un parámetro de configuración de la aplicación. Es posible que tenga una versión "
    "incorrecta del programa y que alguna opción no funcione correctamente, pero puede seguir trabajando con la "
    "aplicación.");
}

class PruebaArranque : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    std::function<void()> finReal;

    InicioMDIFrm* Principal() { return qobject_cast<InicioMDIFrm*>(VentanaPrincipal()); }
    // Writes the parameter row through a connection of its own, closed again before start-up.
    void PreparaBD(const QString& valores) {
        QVERIFY(ConectarBD());
        if (!valores.isEmpty())
            Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS (PALABRA_CLAVE, IVA, OPCION_IVA, FRASE_FINAL, "
                                              "ACCESO_FACTURAS, ACCESO_INFORMES) values (") +
                               valores + QLatin1Char(')'));
        CierraConexion();
    }

private slots:
    void initTestCase() {
        InstalaSustitutosFuentes();
        finReal = EstableceFinPrograma([] {});
    }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        mensajes = std::make_unique<RegistroMensajes>();
    }

    void cleanup() {
        CancelaEsperasDeModales();
        delete Principal();
        mensajes.reset();
        entorno.reset();
    }

    void PrimeraVezPideLosDatosYTermina() {
        PreparaBD(QString());
        CierraModales cierra;
        const FinArranque fin = Main(ArranqueConVentanas());
        QCOMPARE(fin, FinArranque::PrimeraVez);
        QCOMPARE(mensajes->cuenta(), 1);
        const Mensaje& m = mensajes->ultimo();
        QCOMPARE(m.texto, QStringLiteral("Atención, es la primera vez que se arranca la aplicación. Introduzca a "
                                         "continuación los Parámetros Básicos de Configuración y vuelva a arrancar el "
                                         "programa."));
        QCOMPARE(m.titulo, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        QCOMPARE(m.icono, Icono::Informacion);
        QCOMPARE(m.botones, Botones::Aceptar);
        QCOMPARE(cierra.abiertos, (QStringList{"DatosEmpresaFrm", "ParametrosFrm"}));
        QVERIFY(!Principal());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<InicioMDIFrm*>(w));
        QVERIFY(!Conexion);
    }

    void AccesoFacturasNuloAvisaYSigue() {
        PreparaBD(QStringLiteral("Null, 16, 'IGIC', 'Gracias', Null, 'S'"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        QCOMPARE(mensajes->cuenta(), 2);
        QCOMPARE(mensajes->mostrados()[0].texto, kAviso1);
        QVERIFY(mensajes->mostrados()[1].texto.startsWith(QStringLiteral("El error concreto fue: ")));
        QCOMPARE(mensajes->mostrados()[1].icono, Icono::Ninguno);
        QCOMPARE(mensajes->mostrados()[1].titulo, QStringLiteral("Fiscalino"));
        QVERIFY(!AccesoFacturas);
        QVERIFY(AccesoInformes);
        QCOMPARE(OpcionIva, QStringLiteral("IGIC"));
        QCOMPARE(IvaPorDefecto, short(16));
        QVERIFY(Principal());
        QVERIFY(Principal()->isVisible());
        QVERIFY(Principal()->MenuBotones()->isVisible());
        QVERIFY(Conexion);
    }

    void SinAjustesAbreConElTamanoPorDefecto() {
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        QCOMPARE(mensajes->cuenta(), 0);
        InicioMDIFrm* v = Principal();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        QCOMPARE(v->EstadoVentana(), 0);
        // As large as the screen lets it be (the test screen is narrower than the default).
        const QSize pantalla = v->screen()->availableGeometry().size();
        QCOMPARE(v->frameGeometry().size(), QSize(Px(13750), Px(11100)).boundedTo(pantalla));
        // The button menu follows the height the window took.
        QCOMPARE(v->MenuBotones()->height(), Px(Twips(v->frameGeometry().height()) - 1300));
    }

    void TamanoGuardadoSeRespeta() {
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        GuardaAjuste(QStringLiteral("Width"), QStringLiteral("9000"));
        GuardaAjuste(QStringLiteral("Height"), QStringLiteral("7500"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        InicioMDIFrm* v = Principal();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        QCOMPARE(v->frameGeometry().size(), QSize(Px(9000), Px(7500)));
    }

    // A size kept from a larger screen, or from a smaller scale, comes back
    // whole on this screen.
    void TamanoMayorQueLaPantallaSeAjustaAElla() {
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        GuardaAjuste(QStringLiteral("Width"), QStringLiteral("40000"));
        GuardaAjuste(QStringLiteral("Height"), QStringLiteral("30000"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        InicioMDIFrm* v = Principal();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        const QRect pantalla = v->screen()->availableGeometry();
        QCOMPARE(v->frameGeometry().size(), pantalla.size());
        QVERIFY(pantalla.contains(v->frameGeometry()));
    }

    void EstadoMaximizadoVuelveMaximizado() {
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        GuardaAjuste(QStringLiteral("Estado"), QStringLiteral("2"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        InicioMDIFrm* v = Principal();
        QTRY_VERIFY(v->isMaximized());
        QCOMPARE(v->EstadoVentana(), 2);
    }

    void SalirTerminaElBucleDelPrograma() {
        // The program's own end: the event loop the program lives in stops.
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        InicioMDIFrm* v = Principal();
        v->MenuListados_Click();
        auto anterior = EstableceFinPrograma(finReal);
        mensajes->Responde(Respuesta::Si);
        QTimer::singleShot(0, v, [v] { Control<QAction>(v, "MenuAplicacionSalir")->trigger(); });
        QTimer guardia;
        guardia.setSingleShot(true);
        connect(&guardia, &QTimer::timeout, qApp, [] { QCoreApplication::exit(7); });
        guardia.start(5000);
        const int codigo = QCoreApplication::exec();
        EstableceFinPrograma(anterior);
        QCOMPARE(codigo, 0);
        QCOMPARE(mensajes->textos(), QStringList{"¿Seguro que desea salir de la aplicación?"});
        QVERIFY(!v->isVisible());
        QVERIFY(!Conexion);
        QVERIFY(ExisteAjuste(QStringLiteral("Width")));
        // The other windows were left as they were, without closing handlers.
        QVERIFY(BuscaPantalla(QStringLiteral("InfFacturasFrm")));
    }

    void SalirYVolverAEntrarConservaElEstado() {
        PreparaBD(QStringLiteral("Null, 21, 'IVA', Null, 'N', 'N'"));
        GuardaAjuste(QStringLiteral("Width"), QStringLiteral("10500"));
        GuardaAjuste(QStringLiteral("Height"), QStringLiteral("8000"));
        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        InicioMDIFrm* v = Principal();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        v->showMaximized();
        QTRY_VERIFY(v->isMaximized());
        mensajes->Responde(Respuesta::Si);
        v->close();
        delete v;
        QCOMPARE(LeeAjuste(QStringLiteral("Estado"), QString()), QStringLiteral("2"));
        QVERIFY(!Conexion);

        QCOMPARE(Main(ArranqueConVentanas()), FinArranque::VentanaAbierta);
        QTRY_VERIFY(Principal()->isMaximized());
    }
};

QTEST_MAIN(PruebaArranque)
#include "Arranque_qtest.moc"
