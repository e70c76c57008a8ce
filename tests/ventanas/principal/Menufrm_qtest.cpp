// The button menu inside the real main window: its look, its keys and how it
// lies against the window's height.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "ventanas/principal/Menufrm.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>
#include <memory>

class PruebaMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;
    Menufrm* m = nullptr;
    bool fin = false;

    QMdiSubWindow* Marco(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }
    QStringList Hijas() {
        QStringList r = NombresHijas(v);
        r.removeAll(QStringLiteral("Menufrm"));
        return r;
    }

private slots:
    void initTestCase() {
        InstalaSustitutosFuentes();
        EstableceFinPrograma([this] { fin = true; });
    }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        QVERIFY(ConectarBD());
        entorno->InsertaParametros();
        mensajes = std::make_unique<RegistroMensajes>();
        fin = false;
        QVERIFY(AbrePrincipal(v));
        m = v->MenuBotones();
        QVERIFY(m);
    }

    void cleanup() {
        CierraPrueba(v, mensajes, entorno);
    }

    void ControlesComoSeVen() {
        QCOMPARE(m->objectName(), QStringLiteral("Menufrm"));
        QVERIFY(Marco(m)->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(Marco(m)->pos(), QPoint(0, 0));
        struct Esperado { const char* nombre; const char* texto; };
        for (Esperado e : {Esperado{"BtnMenu(0)", "Facturas (F3)"}, Esperado{"BtnMenu(1)", "Informe (F9)"},
                           Esperado{"BtnSalir", "Salir (ESC)"}}) {
            auto* b = m->findChild<QToolButton*>(QString::fromLatin1(e.nombre));
            QVERIFY2(b, e.nombre);
            QCOMPARE(b->text(), QString::fromUtf8(e.texto));
            QVERIFY(!b->icon().isNull());
            QCOMPARE(b->iconSize(), QSize(32, 32));
            QCOMPARE(b->palette().color(QPalette::Button), QColor(0xD9, 0xEE, 0xFF));
            QCOMPARE(b->font().family(), QStringLiteral("Verdana"));
        }
        QCOMPARE(Control<QToolButton>(m, "BtnMenu(0)")->geometry(), RectTwips(2925, 420, 1620, 1005));
        QCOMPARE(Control<QLabel>(m, "LblInfo")->text(), QStringLiteral("Información"));
        QCOMPARE(Control<QLabel>(m, "LblTitulo")->text(), QStringLiteral("Fiscalino: Declaración Trimestral del IVA"));
        QCOMPARE(Control<QLabel>(m, "LblTitulo")->font().pointSizeF(), 15.75);
        QCOMPARE(Control<QLabel>(m, "LblTitulo")->palette().color(QPalette::WindowText), QColor(0x40, 0x40, 0x40));
        // Informe has the focus when the panel opens, then Facturas, then Salir.
        QCOMPARE(QApplication::focusWidget(), Control<QToolButton>(m, "BtnMenu(1)"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Control<QToolButton>(m, "BtnMenu(0)"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Control<QToolButton>(m, "BtnSalir"));
    }

    void F3YF9AbrenSusPantallas() {
        QTest::keyClick(Control<QToolButton>(m, "BtnMenu(1)"), Qt::Key_F3);
        QCOMPARE(Hijas(), QStringList{"FacturasFrm"});
        // Keys reach the panel even when a button of it has the focus.
        Control<QToolButton>(m, "BtnSalir")->setFocus();
        QTest::keyClick(Control<QToolButton>(m, "BtnSalir"), Qt::Key_F9);
        QCOMPARE(Hijas(), (QStringList{"FacturasFrm", "InfFacturasFrm"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void ClicsEnLosBotones() {
        QTest::mouseClick(Control<QToolButton>(m, "BtnMenu(0)"), Qt::LeftButton);
        QCOMPARE(Hijas(), QStringList{"FacturasFrm"});
        QTest::mouseClick(Control<QToolButton>(m, "BtnMenu(1)"), Qt::LeftButton);
        QCOMPARE(Hijas(), (QStringList{"FacturasFrm", "InfFacturasFrm"}));
    }

    void TeclasDeBotonesDesactivadosNoHacenNada() {
        Control<QToolButton>(m, "BtnMenu(0)")->setEnabled(false);
        Control<QToolButton>(m, "BtnMenu(1)")->setEnabled(false);
        QTest::keyClick(Control<QToolButton>(m, "BtnSalir"), Qt::Key_F3);
        QTest::keyClick(Control<QToolButton>(m, "BtnSalir"), Qt::Key_F9);
        QCOMPARE(Hijas(), QStringList());
    }

    void F3PasaPorLaClave() {
        PalabraClave = QStringLiteral("clave");
        AccesoFacturas = true;
        AlAbrirModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QTest::keyClick(Control<QToolButton>(m, "BtnMenu(1)"), Qt::Key_F3);
        QCOMPARE(Hijas(), QStringList());
    }

    void EscPreguntaSiSalir() {
        mensajes->Responde(Respuesta::No);
        QTest::keyClick(Control<QToolButton>(m, "BtnMenu(1)"), Qt::Key_Escape);
        QCOMPARE(mensajes->textos(), QStringList{"¿Seguro que desea salir de la aplicación?"});
        QVERIFY(!fin);
        QVERIFY(v->isVisible());
        mensajes->Responde(Respuesta::Si);
        QTest::mouseClick(Control<QToolButton>(m, "BtnSalir"), Qt::LeftButton);
        QCOMPARE(mensajes->cuenta(), 2);
        QVERIFY(fin);
    }

    void EnterPulsaElBotonConFoco() {
        Control<QToolButton>(m, "BtnMenu(0)")->setFocus();
        QTest::keyClick(Control<QToolButton>(m, "BtnMenu(0)"), Qt::Key_Return);
        QCOMPARE(Hijas(), QStringList{"FacturasFrm"});
    }

    void PosicionaSegunLaAltura_data() {
        QTest::addColumn<int>("altoPx");
        QTest::newRow("holgada") << 700;
        QTest::newRow("justa") << Px(1300);
        QTest::newRow("baja") << Px(1000);
        QTest::newRow("minima") << 40;
    }

    void PosicionaSegunLaAltura() {
        QFETCH(int, altoPx);
        v->setMinimumSize(1, 1);
        v->centralWidget()->setMinimumSize(1, 1);
        const int marco = v->frameGeometry().height() - v->height();
        v->resize(v->width(), altoPx - marco);
        QTRY_COMPARE(v->frameGeometry().height(), altoPx);
        const double H = Twips(v->frameGeometry().height());
        QCOMPARE(H < 1300, altoPx < Px(1300));
        const double alto = H < 1300 ? 0 : H - 1300;
        QCOMPARE(Marco(m)->pos(), QPoint(0, 0));
        QCOMPARE(m->height(), Px(alto));
        QCOMPARE(Marco(m)->height(), Px(alto));
        QCOMPARE(m->width(), Px(9435));
        QCOMPARE(Control<QLabel>(m, "LblTitulo")->y(), Px(alto - (360 + 20)));
        QCOMPARE(Control<QToolButton>(m, "BtnSalir")->y(), Px(alto - (765 + 20)));
        QCOMPARE(Control<QToolButton>(m, "BtnSalir")->x(), Px(9435 - (1620 + 20)));
        if (H < 1300)
            QVERIFY(Control<QLabel>(m, "LblTitulo")->y() < 0 && Control<QToolButton>(m, "BtnSalir")->y() < 0);
    }

    void ActivarElPanelMinimizaLasDemas() {
        v->MenuFacturas_Click();
        v->MenuListados_Click();
        auto* area = v->Area();
        QList<QMdiSubWindow*> otras;
        for (QMdiSubWindow* s : area->subWindowList())
            if (s->widget() != m)
                otras << s;
        QCOMPARE(otras.size(), 2);
        QTest::mouseClick(m, Qt::LeftButton, {}, QPoint(10, 10));
        QTRY_VERIFY(otras[0]->isMinimized() && otras[1]->isMinimized());
        QVERIFY(!Marco(m)->isMinimized());
        // Coming back from a dialog is not a new activation: the screens stay as they are.
        otras[0]->showNormal();
        QTRY_VERIFY(!otras[0]->isMinimized());
        area->setActiveSubWindow(Marco(m));
        QTRY_VERIFY(otras[0]->isMinimized());
    }

    void TrasMinimizarLasDemasLasTeclasSonDelPanel() {
        v->resize(Px(13750), Px(11100));
        QTest::keyClick(Control<QToolButton>(m, "BtnMenu(1)"), Qt::Key_F3);
        QCOMPARE(Hijas(), QStringList{"FacturasFrm"});
        QWidget* facturas = QApplication::focusWidget();
        QVERIFY(facturas && !m->isAncestorOf(facturas));
        // The user clicks the empty background: the panel comes back, the browser shrinks to an icon.
        QWidget* fondo = v->Area()->viewport();
        QTest::mouseClick(fondo, Qt::LeftButton, {}, QPoint(fondo->width() - 5, 5));
        QTRY_VERIFY(Marco(v->findChild<QWidget*>(QStringLiteral("FacturasFrm")))->isMinimized());
        QCOMPARE(v->Area()->activeSubWindow(), Marco(m));
        QWidget* foco = QApplication::focusWidget();
        QVERIFY(foco && m->isAncestorOf(foco));
        QTest::keyClick(foco, Qt::Key_F9);
        QCOMPARE(Hijas(), (QStringList{"FacturasFrm", "InfFacturasFrm"}));
        QTest::mouseClick(fondo, Qt::LeftButton, {}, QPoint(fondo->width() - 5, 5));
        QTRY_COMPARE(v->Area()->activeSubWindow(), Marco(m));
        mensajes->Responde(Respuesta::No);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(mensajes->textos(), QStringList{"¿Seguro que desea salir de la aplicación?"});
    }
};

QTEST_MAIN(PruebaMenu)
#include "Menufrm_qtest.moc"
