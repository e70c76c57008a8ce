// The password gate as the user meets it.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "ventanas/comun/AccesoFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

class PruebaAcceso : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }
    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        mensajes = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        CancelaEsperasDeModales();
        mensajes.reset();
        entorno.reset();
    }

    void SinClaveNoPregunta() {
        PalabraClave.clear();
        bool abierto = false;
        AlAbrirModal([&](QWidget* m) {
            abierto = true;
            static_cast<QDialog*>(m)->reject();
        }, 300);
        QVERIFY(ValidarAcceso());
        QTest::qWait(350);
        QVERIFY(!abierto);
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void ElDialogo() {
        PalabraClave = QStringLiteral("abc");
        AlAbrirModal([](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QVERIFY(d);
            QCOMPARE(d->objectName(), QStringLiteral("AccesoFrm"));
            QCOMPARE(d->windowTitle(), QStringLiteral("Introducir la CLAVE de ACCESO"));
            QCOMPARE(Control<QLabel>(d, "Label1")->text(), QStringLiteral("Contraseña"));
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->echoMode(), QLineEdit::Password);
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->maxLength(), 20);
            QCOMPARE(Control<QPushButton>(d, "BtnAceptar")->text(), QStringLiteral("&Aceptar"));
            QVERIFY(Control<QPushButton>(d, "BtnAceptar")->isDefault());
            QCOMPARE(Control<QPushButton>(d, "BtnCancel")->text(), QStringLiteral("&Cancelar"));
            QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(d, "TxtClave"));
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->text(), QString());
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("123456789012345678901234"));
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->text().size(), 20);
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->displayText(), QString(20, QLatin1Char('*')));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Control<QPushButton>(d, "BtnAceptar"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Control<QPushButton>(d, "BtnCancel"));
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QVERIFY(!ValidarAcceso());
        QCOMPARE(mensajes->cuenta(), 0);
        QVERIFY(!AccesoConcedido);
    }

    void ElTituloCabeEnteroEnElMarco() {
        AccesoFrm d;
        QFont f = QFontDatabase::systemFont(QFontDatabase::TitleFont);
        f.setBold(true);
        const QFontMetrics fm(f);
        // The title in the frame's bold face, beside the frame's icon and its
        // three buttons, about a line high each.
        QVERIFY2(d.width() >= fm.horizontalAdvance(d.windowTitle()) + 4 * fm.height(),
                 qPrintable(QString::number(d.width())));
        // The room gained goes to the box; the controls keep their right margin.
        const int margen = Px(4215) - RectTwips(2580, 720, 1455, 435).right();
        QCOMPARE(d.width() - Control<QPushButton>(&d, "BtnCancel")->geometry().right(), margen);
        QCOMPARE(d.width() - Control<QLineEdit>(&d, "TxtClave")->geometry().right(), margen);
        QVERIFY(Control<QPushButton>(&d, "BtnAceptar")->geometry().right() < Control<QPushButton>(&d, "BtnCancel")->x());
        QVERIFY(Control<QLabel>(&d, "Label1")->geometry().right() < Control<QLineEdit>(&d, "TxtClave")->x());
    }

    void ClaveBuenaConIntro() {
        PalabraClave = QStringLiteral("Año2008");
        AlAbrirModal([](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            Teclea(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("Año2008"));
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Return);
        });
        QVERIFY(ValidarAcceso());
        QVERIFY(!AccesoConcedido);
        QCOMPARE(ClaveEsperada, QStringLiteral("Año2008"));
    }

    void ClaveMalaSeleccionaParaReescribir_data() {
        QTest::addColumn<QString>("escrita");
        QTest::newRow("otra") << "xyz";
        QTest::newRow("mayusculas") << "SECRETA";
        QTest::newRow("sin acento") << "secreta";
    }

    void ClaveMalaSeleccionaParaReescribir() {
        QFETCH(QString, escrita);
        PalabraClave = QStringLiteral("Secretá");
        AlAbrirModal([&](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            Teclea(Control<QLineEdit>(d, "TxtClave"), escrita);
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            QCOMPARE(mensajes->cuenta(), 1);
            const Mensaje& msg = mensajes->ultimo();
            QCOMPARE(msg.texto, QStringLiteral("Contraseña no válida, vuelva a intentarlo."));
            QCOMPARE(msg.botones, Botones::Aceptar);
            QCOMPARE(msg.icono, Icono::Ninguno);
            QCOMPARE(msg.titulo, QStringLiteral("Fiscalino"));
            QVERIFY(d->isVisible());
            QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(d, "TxtClave"));
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->selectedText(), escrita);
            // The next key replaces the whole wrong text; then the right one passes.
            Teclea(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("Secretá"));
            QCOMPARE(Control<QLineEdit>(d, "TxtClave")->text(), QStringLiteral("Secretá"));
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Return);
        });
        QVERIFY(ValidarAcceso());
        QCOMPARE(mensajes->cuenta(), 1);
    }

    void ClaveMalaYCancelar() {
        PalabraClave = QStringLiteral("abc");
        AlAbrirModal([](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("abd"));
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Enter);
            QTest::mouseClick(Control<QPushButton>(d, "BtnCancel"), Qt::LeftButton);
        });
        QVERIFY(!ValidarAcceso());
        QCOMPARE(mensajes->cuenta(), 1);
        QVERIFY(!AccesoConcedido);
    }

    void CerrarLaVentanaEsNegarse() {
        PalabraClave = QStringLiteral("abc");
        AlAbrirModal([](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("abc"));
            d->close();
        });
        QVERIFY(!ValidarAcceso());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void CadaVezEmpiezaVacio() {
        PalabraClave = QStringLiteral("abc");
        QStringList vistos;
        for (int i = 0; i < 2; ++i) {
            AlAbrirModal([&](QWidget* m) {
                auto* d = qobject_cast<AccesoFrm*>(m);
                vistos << Control<QLineEdit>(d, "TxtClave")->text();
                QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("zz"));
                QTest::keyClick(d, Qt::Key_Escape);
            });
            QVERIFY(!ValidarAcceso());
        }
        QCOMPARE(vistos, (QStringList{"", ""}));
    }
};

QTEST_MAIN(PruebaAcceso)
#include "AccesoFrm_qtest.moc"
