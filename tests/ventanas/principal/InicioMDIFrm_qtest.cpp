// The main window driven as a person would: menus, the exit question, the
// password gate, the window menu and the status bar.
#include "ApoyoPantallas.h"

#include "dominio/parametros/Ajustes.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Copias.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "datos/BaseDatos.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/AccesoFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/facturas/FacturasFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "ventanas/principal/Menufrm.h"

#include <QLabel>
#include <QMap>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <memory>

// A screen that asks to be centred in the frame when it shows, as the quarter browser does.
class PantallaCentrada : public QWidget {
protected:
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        ObjUtiles().PreparaFormularioMDI(this, VentanaPrincipal());
    }
};

class PruebaInicio : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;
    bool fin = false;

    QMdiSubWindow* Marco(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }
    QWidget* Hija(const QString& nombre) {
        for (QMdiSubWindow* s : v->Area()->subWindowList())
            if (s->widget() && s->widget()->objectName() == nombre)
                return s->widget();
        return nullptr;
    }
    // Types the password in the gate and presses Enter, or Cancel with an empty text.
    void ContestaClave(const QString& clave) {
        AlAbrirModal([clave](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QVERIFY(d);
            if (clave.isEmpty()) {
                QTest::mouseClick(Control<QPushButton>(d, "BtnCancel"), Qt::LeftButton);
                return;
            }
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), clave);
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Return);
        });
    }

    // Chooses `menu` twice: Esc at the password gate, then `clave` typed
    // there; the dialogs that opened, in order (the screen itself closed at once).
    QStringList ClaveCanceladaYLuegoBuena(QAction* menu, const QString& clave) {
        QStringList abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        menu->trigger();
        if (abiertos != QStringList{"AccesoFrm"})
            return abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            auto* d = qobject_cast<AccesoFrm*>(m);
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), clave);
            AlAbrirModal([&](QWidget* m2) {
                abiertos << m2->objectName();
                static_cast<QDialog*>(m2)->reject();
            });
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
        });
        menu->trigger();
        return abiertos;
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
        v = new InicioMDIFrm();
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
    }

    void cleanup() {
        CancelaEsperasDeModales();
        delete v.data();
        mensajes.reset();
        entorno.reset();
    }

    void MenusEnOrdenConSusTeclas() {
        QCOMPARE(v->objectName(), QStringLiteral("InicioMDIFrm"));
        QCOMPARE(v->windowTitle(), QStringLiteral("Fiscalino: Declaración Trimestral del IVA"));
        QStringList barra;
        for (QAction* a : v->menuBar()->actions())
            barra << a->text();
        QCOMPARE(barra, (QStringList{"&Aplicación", "&Facturas", "&Informe", "Copia de &Seguridad", "&Ventana",
                                     "Acerca &de..."}));
        QStringList app, atajos;
        for (QAction* a : Control<QMenu>(v, "MenuAplicacion")->actions()) {
            app << (a->isSeparator() ? QStringLiteral("-") : a->text());
            atajos << a->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(app, (QStringList{"Datos de la &Empresa", "&Clientes y Proveedores", "Configuración &Aplicación",
                                   "Configurar &Impresora", "-", "&Salir"}));
        QCOMPARE(atajos, (QStringList{"", "", "Ctrl+A", "Ctrl+I", "", "Ctrl+X"}));
        QStringList ventana;
        for (QAction* a : Control<QMenu>(v, "MenuVentana")->actions())
            ventana << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(ventana, (QStringList{"&Horizontal", "&Vertical", "&Organizar", "-", "&Cerrar todas"}));
        QStringList informe;
        for (QAction* a : Control<QMenu>(v, "MenuInforme")->actions())
            informe << a->text();
        QCOMPARE(informe, (QStringList{"Listado de &Facturas", "Liquidación del &Trimestre", "Libros &Registro",
                                      "Declaración Anual de Operaciones con Terceros (Modelo &347)",
                                      "Resumen Anual del IVA (Modelo 3&90)"}));
        QCOMPARE(Control<QMenu>(v, "MenuInforme")->menuAction(), Control<QAction>(v, "MenuListados"));
        QStringList copia;
        for (QAction* a : Control<QMenu>(v, "MenuCopiaSeguridad")->actions())
            copia << a->text();
        QCOMPARE(copia, (QStringList{"Realizar &Copia", "&Restaurar Copia"}));
        QVERIFY(v->findChild<QAction*>(QStringLiteral("MenuVentanaItem(4)")));
        QVERIFY(v->findChild<QAction*>(QStringLiteral("MenuAplicacionConfig")));
    }

    void CtrlXPreguntaYNoDejaTodoAbiertoConElMenuArriba() {
        v->MenuFacturas_Click();
        QVERIFY(Hija("FacturasFrm"));
        QMdiSubWindow* marcoMenu = Marco(v->MenuBotones());
        marcoMenu->move(40, 30);
        mensajes->Responde(Respuesta::No);
        QTest::keyClick(v, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(mensajes->cuenta(), 1);
        const Mensaje& m = mensajes->ultimo();
        QCOMPARE(m.texto, QStringLiteral("¿Seguro que desea salir de la aplicación?"));
        QCOMPARE(m.botones, Botones::SiNo);
        QCOMPARE(m.icono, Icono::Pregunta);
        QCOMPARE(m.titulo, QStringLiteral("Fiscalino"));
        QVERIFY(!fin);
        QVERIFY(v->isVisible());
        QVERIFY(Conexion);
        QVERIFY(Hija("FacturasFrm"));
        QVERIFY(v->MenuBotones()->isVisible());
        QCOMPARE(Marco(v->MenuBotones())->pos(), QPoint(0, 0));
        QVERIFY(!ExisteAjuste(QStringLiteral("Estado")));
    }

    void CerrarYSiGuardaTamanoYCierraLaConexion() {
        v->AplicaTamano(9000, 6000, 0);
        mensajes->Responde(Respuesta::Si);
        Control<QAction>(v, "MenuAplicacionSalir")->trigger();
        QCOMPARE(mensajes->textos(), QStringList{"¿Seguro que desea salir de la aplicación?"});
        QVERIFY(fin);
        QVERIFY(!Conexion);
        QCOMPARE(LeeAjuste(QStringLiteral("Estado"), QString()), QStringLiteral("0"));
        QCOMPARE(LeeAjusteNumero(QStringLiteral("Width"), 0), Twips(v->frameGeometry().width()));
        QCOMPARE(LeeAjusteNumero(QStringLiteral("Height"), 0), Twips(v->frameGeometry().height()));
        QCOMPARE(qRound(LeeAjusteNumero(QStringLiteral("Width"), 0) / 15.0), Px(9000) * 96 / qRound(DpiPantalla()));
    }

    // Leaving leaves the copy of the day in the backup folder.
    void SalirHaceLaCopiaDelDia() {
        entorno->InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        mensajes->Responde(Respuesta::Si);
        Control<QAction>(v, "MenuAplicacionSalir")->trigger();
        QVERIFY(fin);
        const QString copia = CarpetaCopia() + NombreCopiaAutomatica(QDate::currentDate(), OrigenCopia());
        QCOMPARE(Sqlite(copia, QStringLiteral("select count(*) from FACTURAS")), QStringLiteral("1"));
        QCOMPARE(mensajes->cuenta(), 1);
    }

    // Putting a copy in the place of the data asks for the password like the configuration.
    void RestaurarPideLaClave() {
        PalabraClave = QStringLiteral("Secreta");
        QCOMPARE(ClaveCanceladaYLuegoBuena(Control<QAction>(v, "MenuRestaurar"), QStringLiteral("Secreta")),
                 (QStringList{"AccesoFrm", "AccesoFrm", "RestaurarCopiaFrm"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void ElMarcoQueLlegaTardeNoAgrandaLaVentana() {
        // A hidden window reads no frame, as one that a window manager has not
        // framed yet; the frame arrives when it shows.
        const QSize exterior(Px(11000), Px(9000));
        v->hide();
        v->AplicaTamano(11000, 9000, 0);
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        const QSize marco = v->frameGeometry().size() - v->size();
        QVERIFY(!marco.isNull());
        v->AjustaAlMarco(marco);
        QCOMPARE(v->frameGeometry().size(), exterior);
        // Only once: later frame changes leave the user's size alone.
        v->resize(800, 600);
        v->AjustaAlMarco(marco + QSize(4, 30));
        QCOMPARE(v->size(), QSize(800, 600));
        // Started maximised, the stored size waits for the window to come back to normal.
        v->hide();
        v->AplicaTamano(12000, 9000, 2);
        QTRY_VERIFY(v->isMaximized());
        const QSize maximizada = v->size();
        v->AjustaAlMarco(marco);
        QCOMPARE(v->size(), maximizada);
        v->showNormal();
        QTRY_VERIFY(!v->isMaximized());
        v->AjustaAlMarco(v->frameGeometry().size() - v->size());
        QCOMPARE(v->frameGeometry().size(), QSize(Px(12000), Px(9000)));
    }

    void CerrarMaximizadaGuardaEstado2() {
        v->showMaximized();
        QTRY_VERIFY(v->isMaximized());
        mensajes->Responde(Respuesta::Si);
        v->close();
        QVERIFY(fin);
        QCOMPARE(LeeAjuste(QStringLiteral("Estado"), QString()), QStringLiteral("2"));
    }

    void FacturasConClaveMalaYCancelarNoAbre() {
        PalabraClave = QStringLiteral("Secreta");
        AccesoFacturas = true;
        AlAbrirModal([this](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QStringLiteral("Introducir la CLAVE de ACCESO"));
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), QStringLiteral("secreta"));
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Return);
            QCOMPARE(mensajes->cuenta(), 1);
            QTest::mouseClick(Control<QPushButton>(d, "BtnCancel"), Qt::LeftButton);
        });
        QTest::keyClick(Control<QToolButton>(v->MenuBotones(), "BtnMenu(1)"), Qt::Key_F3);
        QCOMPARE(mensajes->textos(), QStringList{"Contraseña no válida, vuelva a intentarlo."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Ninguno);
        QVERIFY(!Hija("FacturasFrm"));
        QVERIFY(!AccesoConcedido);
    }

    void FacturasConClaveBuenaAbre() {
        PalabraClave = QStringLiteral("Secreta");
        AccesoFacturas = true;
        ContestaClave(QStringLiteral("Secreta"));
        QTest::keyClick(Control<QToolButton>(v->MenuBotones(), "BtnMenu(1)"), Qt::Key_F3);
        QWidget* f = Hija("FacturasFrm");
        QVERIFY(f);
        QCOMPARE(mensajes->cuenta(), 0);
        // Coming back from the gate does not shrink the screen just opened.
        QTest::qWait(200);
        QVERIFY(!Marco(f)->isMinimized());
        QCOMPARE(v->Area()->activeSubWindow(), Marco(f));
    }

    void SinClaveNadaPregunta() {
        AccesoFacturas = true;
        AccesoInformes = true;
        Control<QAction>(v, "MenuFacturas")->trigger();
        Control<QAction>(v, "MenuListados")->trigger();
        QVERIFY(Hija("FacturasFrm"));
        QVERIFY(Hija("InfFacturasFrm"));
        QStringList abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            static_cast<QDialog*>(m)->reject();
        });
        Control<QAction>(v, "MenuAplicacionDatos")->trigger();
        QCOMPARE(abiertos, QStringList{"DatosEmpresaFrm"});
    }

    void LosLibrosPidenLaClaveComoElListado_data() {
        QTest::addColumn<bool>("guardados");
        QTest::newRow("informes guardados") << true;
        QTest::newRow("informes libres") << false;
    }

    void LosLibrosPidenLaClaveComoElListado() {
        QFETCH(bool, guardados);
        PalabraClave = QStringLiteral("Secreta");
        AccesoInformes = guardados;
        QStringList abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        Control<QAction>(v, "MenuLibros")->trigger();
        QCOMPARE(abiertos, QStringList{guardados ? "AccesoFrm" : "LibrosRegistroFrm"});
    }

    // A dialog closed with a click, its work done or not, hands the keyboard
    // back to the control the user was in: the browser's year box, or the
    // configuration screen's button that opened "Base de datos".
    void AlCerrarUnDialogoElFocoVuelveDondeEstaba_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("dialogo");
        QTest::addColumn<QString>("cierre");
        QTest::newRow("libros") << "MenuLibros" << "LibrosRegistroFrm" << "BtnSalir";
        QTest::newRow("restaurar") << "MenuRestaurar" << "RestaurarCopiaFrm" << "BtnSalir";
        QTest::newRow("base de datos") << "MenuAplicacionConfig" << "BaseDatosFrm" << "BtnCancelar";
        QTest::newRow("configuracion") << "MenuAplicacionConfig" << "ParametrosFrm" << "BtnSalir";
        QTest::newRow("datos empresa") << "MenuAplicacionDatos" << "DatosEmpresaFrm" << "BtnSalir";
        QTest::newRow("copia") << "MenuCopia" << "CopiaSeguridadFrm" << "BtnSalir";
        QTest::newRow("acerca de") << "MenuAcercaDe" << "AcercaDeFrm" << "BtnAceptar";
    }
    void AlCerrarUnDialogoElFocoVuelveDondeEstaba() {
        QFETCH(QString, menu);
        QFETCH(QString, dialogo);
        QFETCH(QString, cierre);
        v->MenuFacturas_Click();
        QWidget* anio = Control(Hija("FacturasFrm"), "TxtOb(0)");
        anio->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), anio);
        QString cerrado, foco;
        auto cierra = [&](QWidget* m) {
            cerrado = m->objectName();
            QTest::mouseClick(Control<QPushButton>(m, cierre), Qt::LeftButton);
        };
        if (dialogo == QLatin1String("BaseDatosFrm")) {
            // From the configuration screen, which is where the keys must come back to.
            AlAbrirModal([&](QWidget* config) {
                AlAbrirModal(cierra);
                QTest::mouseClick(Control<QPushButton>(config, "BtnBaseDatos"), Qt::LeftButton);
                // What took the focus, or nothing, is asserted below.
                static_cast<void>(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 1000));
                foco = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
                static_cast<QDialog*>(config)->reject();
            });
            v->findChild<QAction*>(menu)->trigger();
            QCOMPARE(cerrado, dialogo);
            QCOMPARE(foco, QStringLiteral("BtnBaseDatos"));
        } else {
            AlAbrirModal(cierra);
            v->findChild<QAction*>(menu)->trigger();
            QCOMPARE(cerrado, dialogo);
        }
        QTRY_COMPARE(QApplication::focusWidget(), anio);
    }

    void InformeNoPreguntaSinAccesoInformesPeroEmpresaSi() {
        PalabraClave = QStringLiteral("Secreta");
        AccesoFacturas = true;
        AccesoInformes = false;
        Control<QAction>(v, "MenuListados")->trigger();
        QVERIFY(Hija("InfFacturasFrm"));

        // Esc at the gate opens nothing; the right password opens the company data.
        QStringList abiertos = ClaveCanceladaYLuegoBuena(Control<QAction>(v, "MenuAplicacionDatos"), QStringLiteral("Secreta"));
        QCOMPARE(abiertos, (QStringList{"AccesoFrm", "AccesoFrm", "DatosEmpresaFrm"}));

        // Configuration asks even with both flags off; the backup never asks.
        // A box of the listing would keep Ctrl+A for itself.
        AccesoFacturas = false;
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        Control<QToolButton>(v->MenuBotones(), "BtnMenu(0)")->setFocus();
        abiertos.clear();
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            static_cast<QDialog*>(m)->reject();
        });
        QTest::keyClick(v, Qt::Key_A, Qt::ControlModifier);
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            static_cast<QDialog*>(m)->reject();
        });
        Control<QAction>(v, "MenuCopia")->trigger();
        QCOMPARE(abiertos, (QStringList{"AccesoFrm", "CopiaSeguridadFrm"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void CerrarElListadoDelNavegadorVuelveAlNavegador_data() {
        QTest::addColumn<int>("como");  // 0 Esc, 1 "&Cerrar", 2 the frame's close box
        QTest::newRow("Esc") << 0;
        QTest::newRow("Cerrar") << 1;
        QTest::newRow("marco") << 2;
    }

    void CerrarElListadoDelNavegadorVuelveAlNavegador() {
        QFETCH(int, como);
        v->resize(Px(16000), Px(12000));
        QTest::keyClick(Control<QToolButton>(v->MenuBotones(), "BtnMenu(1)"), Qt::Key_F3);
        QWidget* f = Hija("FacturasFrm");
        QVERIFY(f);
        const QRect donde = Marco(f)->geometry();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
        auto* inf = qobject_cast<InfFacturasFrm*>(Hija("InfFacturasFrm"));
        QVERIFY(inf);
        QTRY_COMPARE(v->Area()->activeSubWindow(), Marco(inf));
        if (como == 0)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else if (como == 1)
            QTest::mouseClick(Control<QPushButton>(inf, "BtnSalir"), Qt::LeftButton);
        else
            Marco(inf)->close();
        QTRY_VERIFY(!Hija("InfFacturasFrm"));
        QTest::qWait(100);
        QVERIFY(!Marco(f)->isMinimized());
        QCOMPARE(Marco(f)->geometry(), donde);
        QCOMPARE(v->Area()->activeSubWindow(), Marco(f));
    }

    void InformeDesdeElNavegadorPideLaClave() {
        PalabraClave = QStringLiteral("Secreta");
        AccesoInformes = true;
        QTest::keyClick(Control<QToolButton>(v->MenuBotones(), "BtnMenu(1)"), Qt::Key_F3);
        QWidget* f = Hija("FacturasFrm");
        QVERIFY(f);
        // Refused: no listing. The right password: the listing of the browser's dates.
        QStringList abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            QTest::mouseClick(Control<QPushButton>(qobject_cast<AccesoFrm*>(m), "BtnCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("BtnImprimir")), Qt::LeftButton);
        QCOMPARE(abiertos, QStringList{"AccesoFrm"});
        QVERIFY(!Hija("InfFacturasFrm"));
        ContestaClave(QStringLiteral("Secreta"));
        QTest::keyClick(f->findChild<QLineEdit*>(QStringLiteral("TxtOb(1)")), Qt::Key_F9);
        auto* inf = qobject_cast<InfFacturasFrm*>(Hija("InfFacturasFrm"));
        QVERIFY(inf);
        QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(0)")->text(), f->findChild<QLineEdit*>(QStringLiteral("TxtOb(1)"))->text());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void CerrarTodasDejaElMenuYElMarco() {
        v->MenuFacturas_Click();
        v->MenuListados_Click();
        QCOMPARE(NombresHijas(v).size(), 3);
        Control<QAction>(v, "MenuVentanaItem(4)")->trigger();
        QTRY_COMPARE(NombresHijas(v), QStringList{"Menufrm"});
        QVERIFY(!BuscaPantalla(QStringLiteral("FacturasFrm")));
        QVERIFY(!BuscaPantalla(QStringLiteral("InfFacturasFrm")));
        QVERIFY(v->isVisible());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void UnaPantallaDeCadaClase() {
        v->MenuFacturas_Click();
        QWidget* f = Hija("FacturasFrm");
        Marco(f)->showMinimized();
        v->MenuFacturas_Click();
        QCOMPARE(Hija("FacturasFrm"), f);
        QVERIFY(!Marco(f)->isMinimized());
        QCOMPARE(v->Area()->subWindowList().size(), 2);
    }

    void LaHijaConservaTituloYTamano() {
        auto* w = new QWidget();
        w->setObjectName(QStringLiteral("PruebaFrm"));
        w->setWindowTitle(QStringLiteral("Una pantalla"));
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(320, 210);
        MuestraHija(w);
        QMdiSubWindow* s = Marco(w);
        QVERIFY(s);
        QCOMPARE(s->windowTitle(), QStringLiteral("Una pantalla"));
        QCOMPARE(w->size(), QSize(320, 210));
        QCOMPARE(v->Area()->activeSubWindow(), s);
        // A screen that closes itself takes its frame along.
        w->close();
        QTRY_COMPARE(v->Area()->subWindowList().size(), 1);
    }

    // With a maximised child, a new one opens maximised too and keeps its own
    // size for when it is restored.
    void LaNuevaSobreUnaMaximizadaConservaSuTamano() {
        auto* a = new QWidget();
        a->setObjectName(QStringLiteral("PrimeraFrm"));
        a->setAttribute(Qt::WA_DeleteOnClose);
        a->resize(300, 200);
        MuestraHija(a);
        Marco(a)->showMaximized();
        auto* b = new QWidget();
        b->setObjectName(QStringLiteral("SegundaFrm"));
        b->setAttribute(Qt::WA_DeleteOnClose);
        b->resize(320, 210);
        MuestraHija(b);
        QMdiSubWindow* s = Marco(b);
        QVERIFY(s->isMaximized());
        QCOMPARE(v->Area()->activeSubWindow(), s);
        s->showNormal();
        QCOMPARE(b->size(), QSize(320, 210));
        a->close();
        b->close();
    }

    void LaHijaSeCentraConSuTamanoFinal_data() {
        QTest::addColumn<QSize>("tamano");
        QTest::newRow("cabe") << QSize(300, 200);
        QTest::newRow("mayor que el marco") << QSize(3000, 2000);
    }

    void LaHijaSeCentraConSuTamanoFinal() {
        QFETCH(QSize, tamano);
        auto* w = new PantallaCentrada();
        w->setObjectName(QStringLiteral("PruebaFrm"));
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(tamano);
        MuestraHija(w);
        QMdiSubWindow* s = Marco(w);
        const QSize zona = v->Area()->viewport()->size();
        // One larger than the client area comes in at its size, all of it in reach.
        if (tamano.width() < zona.width())
            QCOMPARE(w->size(), tamano);
        else
            QCOMPARE(s->size(), zona);
        QCOMPARE(s->pos(), QPoint(qMax(0, (zona.width() - s->width()) / 2), qMax(0, (zona.height() - s->height()) / 2)));
    }

    void ActivarElMenuMinimizaLasDemas() {
        v->MenuListados_Click();
        QWidget* l = Hija("InfFacturasFrm");
        QVERIFY(!Marco(l)->isMinimized());
        v->Area()->setActiveSubWindow(Marco(v->MenuBotones()));
        QTRY_VERIFY(Marco(l)->isMinimized());
        QVERIFY(!Marco(v->MenuBotones())->isMinimized());
    }

    void ClicEnElFondoVuelveAMostrarElMenu() {
        Marco(v->MenuBotones())->close();
        QTRY_VERIFY(!v->MenuBotones());
        QWidget* fondo = v->Area()->viewport();
        QTest::mouseClick(fondo, Qt::LeftButton, {}, QPoint(fondo->width() - 5, fondo->height() - 5));
        QVERIFY(v->MenuBotones());
        QVERIFY(v->MenuBotones()->isVisible());
        QCOMPARE(Marco(v->MenuBotones())->pos(), QPoint(0, 0));
    }

    void HorizontalYVertical() {
        v->MenuFacturas_Click();
        v->MenuListados_Click();
        QMdiSubWindow* menu = Marco(v->MenuBotones());
        const QRect menuAntes = menu->geometry();
        Control<QAction>(v, "MenuVentanaItem(0)")->trigger();
        // The screens share the client area in strips; the button menu keeps
        // its corner and its size, its exit button inside it.
        QCOMPARE(menu->geometry(), menuAntes);
        QVERIFY(v->MenuBotones()->rect().contains(Control<QToolButton>(v->MenuBotones(), "BtnSalir")->geometry()));
        const QSize zona = v->Area()->viewport()->size();
        QList<QMdiSubWindow*> subs = v->Area()->subWindowList(QMdiArea::StackingOrder);
        subs.removeOne(menu);
        QCOMPARE(subs.size(), 2);
        int alto = 0;
        QList<int> arriba;
        for (QMdiSubWindow* s : subs) {
            QCOMPARE(s->width(), zona.width());
            alto += s->height();
            arriba << s->y();
        }
        QCOMPARE(alto, zona.height());
        std::sort(arriba.begin(), arriba.end());
        QCOMPARE(arriba.first(), 0);
        QVERIFY(arriba[1] > 0);
        Control<QAction>(v, "MenuVentanaItem(1)")->trigger();
        QList<QPoint> pos;
        for (QMdiSubWindow* s : v->Area()->subWindowList(QMdiArea::StackingOrder))
            pos << s->pos();
        QVERIFY(pos[0] != pos[1] && pos[1] != pos[2]);
    }

    void VerticalConservaLosTamanos() {
        v->resize(Px(13750), Px(11100));
        v->MenuFacturas_Click();
        v->MenuListados_Click();
        QMap<QWidget*, QSize> antes;
        for (QMdiSubWindow* s : v->Area()->subWindowList())
            antes[s->widget()] = s->size();
        Control<QAction>(v, "MenuVentanaItem(1)")->trigger();
        const QList<QMdiSubWindow*> subs = v->Area()->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(subs.size(), 3);
        for (int i = 0; i < subs.size(); ++i) {
            QCOMPARE(subs[i]->size(), antes[subs[i]->widget()]);
            if (i > 0)
                QVERIFY(subs[i]->x() > subs[i - 1]->x() && subs[i]->y() > subs[i - 1]->y());
        }
        QCOMPARE(subs.first()->pos(), QPoint(0, 0));
        // In a lower frame a window is made smaller rather than reach past the bottom.
        v->resize(Px(13750), Px(8000));
        Control<QAction>(v, "MenuVentanaItem(1)")->trigger();
        const QSize zona = v->Area()->viewport()->size();
        for (QMdiSubWindow* s : v->Area()->subWindowList(QMdiArea::StackingOrder))
            QVERIFY2(s->geometry().bottom() < zona.height() || s->height() == s->minimumSizeHint().height(),
                     qPrintable(s->widget()->objectName()));
        QVERIFY(Marco(Hija("InfFacturasFrm"))->height() < antes[Hija("InfFacturasFrm")].height());
        // The button menu comes back whole on a click on the background.
        Marco(Hija("FacturasFrm"))->showMinimized();
        Marco(Hija("InfFacturasFrm"))->showMinimized();
        QWidget* fondo = v->Area()->viewport();
        QTest::mouseClick(fondo, Qt::LeftButton, {}, QPoint(fondo->width() - 5, 5));
        QCOMPARE(Marco(v->MenuBotones())->pos(), QPoint(0, 0));
        QCOMPARE(v->MenuBotones()->width(), Px(9435));
        QVERIFY(v->MenuBotones()->height() > 0);
    }

    void LaNuevaQuedaALaVistaDelanteDelMenu() {
        v->resize(Px(13750), Px(11100));
        const QRect zona(QPoint(0, 0), v->Area()->viewport()->size());
        QList<QMdiSubWindow*> nuevas;
        for (const char* nombre : {"PrimeraFrm", "SegundaFrm"}) {
            auto* w = new QWidget();
            w->setObjectName(QString::fromLatin1(nombre));
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->resize(Px(9360), Px(9000));
            MuestraHija(w);
            nuevas << Marco(w);
            QVERIFY2(zona.contains(nuevas.last()->geometry()), nombre);
            QCOMPARE(v->Area()->activeSubWindow(), nuevas.last());
        }
        // Over the menu rather than beside it, the second one further down and right.
        QVERIFY(nuevas[0]->x() < v->MenuBotones()->width());
        QVERIFY(nuevas[1]->x() > nuevas[0]->x() && nuevas[1]->y() > nuevas[0]->y());
        // One that does not fit where it would go starts in the corner.
        auto* grande = new QWidget();
        grande->setObjectName(QStringLiteral("GrandeFrm"));
        grande->setAttribute(Qt::WA_DeleteOnClose);
        grande->resize(zona.size() - QSize(40, 40));
        MuestraHija(grande);
        QCOMPARE(Marco(grande)->pos(), QPoint(0, 0));
    }

    void OrganizarPoneLosIconosAbajo() {
        v->MenuFacturas_Click();
        v->MenuListados_Click();
        for (const char* n : {"FacturasFrm", "InfFacturasFrm"})
            Marco(Hija(QString::fromLatin1(n)))->showMinimized();
        Control<QAction>(v, "MenuVentanaItem(2)")->trigger();
        const int abajo = v->Area()->viewport()->height();
        QMdiSubWindow* a = Marco(Hija(QStringLiteral("FacturasFrm")));
        QMdiSubWindow* b = Marco(Hija(QStringLiteral("InfFacturasFrm")));
        QCOMPARE(a->geometry().bottom() + 1, abajo);
        QCOMPARE(b->geometry().bottom() + 1, abajo);
        QCOMPARE(a->x(), 0);
        QCOMPARE(b->x(), a->width());
    }

    void BarraDeEstado() {
        QCOMPARE(v->statusBar(), Control<QStatusBar>(v, "StbInicio"));
        QCOMPARE(Control<QLabel>(v, "Panels(1)")->text(), QString());
        QCOMPARE(Control<QLabel>(v, "Panels(2)")->text(), FechaLarga(QDate::currentDate()));
        QVERIFY(QTime::fromString(Control<QLabel>(v, "Panels(3)")->text(), QStringLiteral("H:mm")).isValid());
        QCOMPARE(Control<QLabel>(v, "Panels(4)")->text(), QStringLiteral("NÚM"));
        QCOMPARE(Control<QLabel>(v, "Panels(5)")->text(), QStringLiteral("MAYÚS"));
        QCOMPARE(Control<QLabel>(v, "Panels(6)")->text(), QStringLiteral("INS"));
        QCOMPARE(v->findChildren<QLabel*>(QStringLiteral("Panels(6)")).size(), 1);
        const bool mayus = Control<QLabel>(v, "Panels(5)")->isEnabled();
        const bool ins = Control<QLabel>(v, "Panels(6)")->isEnabled();
        QTest::keyClick(v->windowHandle(), Qt::Key_CapsLock);
        // Where the keyboard's LEDs can be read they have the last word, and a
        // simulated key does not light them.
        const bool leds = QGuiApplication::platformName() == QLatin1String("xcb");
        QCOMPARE(Control<QLabel>(v, "Panels(5)")->isEnabled(), leds ? mayus : !mayus);
        QTest::keyClick(v->windowHandle(), Qt::Key_Insert);
        QCOMPARE(Control<QLabel>(v, "Panels(6)")->isEnabled(), !ins);
        QTest::keyClick(v->windowHandle(), Qt::Key_Insert);
        QCOMPARE(Control<QLabel>(v, "Panels(6)")->isEnabled(), ins);
    }

    void ConfigurarImpresoraUsaLaImpresoraCompartida() {
        bool visto = false;
        AlAbrirModal([&](QWidget* m) {
            auto* d = qobject_cast<QPrintDialog*>(m);
            QVERIFY(d);
            visto = true;
            QCOMPARE(d->printer(), &ImpresoraCompartida());
            d->reject();
        });
        QTest::keyClick(v, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(visto);
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void AcercaDeDesdeElMenu() {
        QString titulo;
        AlAbrirModal([&](QWidget* m) {
            titulo = m->windowTitle();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        Control<QAction>(v, "MenuAcercaDe")->trigger();
        QCOMPARE(titulo, QStringLiteral("Acerca de Fiscalino"));
    }
};

QTEST_MAIN(PruebaInicio)
#include "InicioMDIFrm_qtest.moc"
