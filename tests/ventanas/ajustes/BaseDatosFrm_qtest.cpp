#include "ApoyoPantallas.h"

#include "dominio/parametros/BaseDatosElegida.h"
#include "base/Mensajes.h"
#include "ventanas/ajustes/BaseDatosFrm.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
// A radio button answers a click on its circle or its text, not beyond them.
void Marca(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }
// Closes the dialog whatever happened in the action, so that a failed check never hangs the test.
struct CierraAlSalir {
    QDialog*& d;
    ~CierraAlSalir() {
        if (d && d->isVisible())
            d->reject();
    }
};
}  // namespace

class PruebaBaseDatosFrm : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> e;
    std::unique_ptr<RegistroMensajes> r;

private slots:
    void init() {
        e = std::make_unique<EntornoPruebas>();
        e->Conecta();
        r = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        CancelaEsperasDeModales();
        r.reset();
        e.reset();
    }

    // From the configuration screen; the server's boxes only count for the server.
    void SeEligeElServidorYSeGuardaParaElProximoArranque() {
        ParametrosFrm p;
        p.show();
        BaseDatosFrm* f = nullptr;
        AlAbrirModal([&](QWidget* w) {
            f = qobject_cast<BaseDatosFrm*>(w);
            QDialog* d = f;
            CierraAlSalir cierra{d};
            QVERIFY(f);
            QVERIFY(Control<QRadioButton>(f, "OptArchivo")->isChecked());
            QVERIFY(!Control<QGroupBox>(f, "FraServidor")->isEnabled());
            Marca(Control<QRadioButton>(f, "OptServidor"));
            QVERIFY(Control<QGroupBox>(f, "FraServidor")->isEnabled());
            Reemplaza(Control<QLineEdit>(f, "TxtServidor"), "servidor");
            Reemplaza(Control<QLineEdit>(f, "TxtPuerto"), "0");
            Reemplaza(Control<QLineEdit>(f, "TxtBase"), "fiscalino");
            Reemplaza(Control<QLineEdit>(f, "TxtUsuario"), "ana");
            QTest::mouseClick(Control<QPushButton>(f, "BtnGrabar"), Qt::LeftButton);
            QCOMPARE(r->ultimo().texto, QStringLiteral("El puerto debe ser un número entre 1 y 65535."));
            QCOMPARE(r->ultimo().icono, Icono::Exclamacion);
            QVERIFY(f->isVisible());
            Reemplaza(Control<QLineEdit>(f, "TxtPuerto"), "6543");
            QTest::mouseClick(Control<QPushButton>(f, "BtnGrabar"), Qt::LeftButton);
            QCOMPARE(r->ultimo().texto,
                     QStringLiteral("La base de datos elegida se usará la próxima vez que arranque el programa."));
        });
        QTest::mouseClick(Control<QPushButton>(&p, "BtnBaseDatos"), Qt::LeftButton);
        QCOMPARE(BaseDatosElegida(), QStringLiteral("postgresql://ana@servidor:6543/fiscalino"));
    }

    void ProbarSinServidorLoDiceYNoGuardaNada() {
        BaseDatosFrm f;
        f.show();
        Marca(Control<QRadioButton>(&f, "OptServidor"));
        Reemplaza(Control<QLineEdit>(&f, "TxtServidor"), "/no/existe");
        Reemplaza(Control<QLineEdit>(&f, "TxtBase"), "fiscalino");
        Reemplaza(Control<QLineEdit>(&f, "TxtUsuario"), "ana");
        QTest::mouseClick(Control<QPushButton>(&f, "BtnProbar"), Qt::LeftButton);
        QCOMPARE(r->ultimo().texto, QStringLiteral("No se pudo conectar con el servidor: No se puede conectar con el "
                                                   "servidor de la base de datos."));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
        QCOMPARE(BaseDatosElegida(), QString());
    }
};

QTEST_MAIN(PruebaBaseDatosFrm)
#include "BaseDatosFrm_qtest.moc"
