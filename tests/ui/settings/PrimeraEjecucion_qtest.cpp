#include "ApoyoPantallas.h"

#include "app/Ajustes.h"
#include "app/Arranque.h"
#include "app/Mensajes.h"
#include "app/Parametros.h"
#include "data/BaseDatos.h"
#include "reports/Listado.h"
#include "ui/common/Fuentes.h"
#include "ui/settings/DatosEmpresaFrm.h"
#include "ui/settings/ParametrosFrm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

namespace {

template <class T = QLineEdit>
T* Control(QWidget* w, const QString& nombre) {
    T* c = w->findChild<T*>(nombre);
    if (!c)
        qFatal("falta el control %s", qPrintable(nombre));
    return c;
}

void Escribe(QWidget* caja, const QString& texto) {
    caja->setFocus();
    if (auto* l = qobject_cast<QLineEdit*>(caja))
        l->selectAll();
    for (QChar c : texto) {
        if (c.unicode() < 128)
            QTest::keyClick(caja, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Acts on the modal dialog of type T as soon as exec() shows it. A dialog
// that does not close after the action is rejected, so a test never hangs.
template <class T>
void CuandoSeAbra(std::function<void(T*)> accion, int intentos = 500) {
    QTimer::singleShot(10, [accion, intentos] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d) {
            if (intentos > 0)
                CuandoSeAbra<T>(accion, intentos - 1);
            return;
        }
        accion(d);
        if (d->isVisible()) {
            QWARN("el diálogo sigue abierto tras la acción");
            d->reject();
        }
    });
}

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
                Escribe(Control(d, "Txts(0)"), QStringLiteral("Llibreria d'en Pau"));
                Escribe(Control(d, "Txts(3)"), QStringLiteral("Plaza d'Or, 3"));
                Escribe(Control(d, "Txts(4)"), QStringLiteral("Sóller"));
                Escribe(Control(d, "Txts(6)"), QStringLiteral("Illes Balears"));
                Escribe(Control(d, "Txts(5)"), QStringLiteral("07100"));
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            });
            DatosEmpresaFrm d;
            d.exec();
        };
        ganchos.muestraParametros = [&] {
            CuandoSeAbra<ParametrosFrm>([&](ParametrosFrm* d) {
                pantallas << d->objectName();
                QVERIFY(d->isModal());
                QCOMPARE(Control(d, "Txts(2)")->text(), QStringLiteral("16"));
                QCOMPARE(Control(d, "Txts(3)")->text(), QStringLiteral("IVA"));
                Escribe(Control(d, "Txts(0)"), QStringLiteral("Pau'2026"));
                Escribe(Control(d, "Txts(1)"), QStringLiteral("Pau'2026"));
                Escribe(Control(d, "Txts(2)"), QStringLiteral("7"));
                Escribe(Control(d, "Txts(3)"), QStringLiteral("IGIC"));
                Escribe(Control<QPlainTextEdit>(d, "Txts(4)"), QStringLiteral("Gràcies per l'encàrrec"));
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
