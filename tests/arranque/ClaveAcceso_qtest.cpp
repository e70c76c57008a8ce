#include "ApoyoPantallas.h"

#include "arranque/Arranque.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "ventanas/comun/AccesoFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

namespace {

}  // namespace

class ClaveAccesoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    // The password set on the configuration screen is the one the gate asks
    // for once the program has been started again.
    void LaClaveGuardadaLaPideLaPuertaEnElSiguienteArranque() {
        EntornoPruebas e;
        e.Conecta();
        e.InsertaParametros();
        RegistroMensajes r;
        {
            ParametrosFrm f;
            f.show();
            for (const char* caja : {"Txts(0)", "Txts(1)"}) {
                Control(&f, caja)->setFocus();
                Escribe(Control(&f, caja), QStringLiteral("Ñu'7"));
            }
            QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
            QVERIFY(!f.isVisible());
        }
        // Still no password in memory: it takes effect at the next start.
        QVERIFY(ValidarAcceso());
        CierraConexion();

        Arranque ganchos;
        QCOMPARE(Main(ganchos), FinArranque::VentanaAbierta);
        QCOMPARE(PalabraClave, QStringLiteral("Ñu'7"));

        r.Limpia();
        CuandoSeAbra<AccesoFrm>([](AccesoFrm* d) {
            Escribe(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("ñu'7"));
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            QVERIFY(d->isVisible());
            Escribe(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("Ñu'7"));
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
        });
        QVERIFY(ValidarAcceso());
        QCOMPARE(r.textos(), QStringList{QStringLiteral("Contraseña no válida, vuelva a intentarlo.")});

        CuandoSeAbra<AccesoFrm>([](AccesoFrm* d) { QTest::mouseClick(Control<QPushButton>(d, "BtnCancel"), Qt::LeftButton); });
        QVERIFY(!ValidarAcceso());
    }
};

QTEST_MAIN(ClaveAccesoTest)
#include "ClaveAcceso_qtest.moc"
