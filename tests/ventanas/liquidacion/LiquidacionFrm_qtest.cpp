// "Liquidación del Trimestre" driven as a person would: from the quarter
// browser, from the menu "Informe", printed and saved.
#include "ApoyoPantallas.h"

#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "dominio/facturas/Trimestres.h"
#include "ventanas/liquidacion/LiquidacionFrm.h"
#include "dominio/liquidacion/LiquidacionLogica.h"
#include "informes/LiquidacionRpt.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/AccesoFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/facturas/FacturasFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class PruebaLiquidacionFrm : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;

    LiquidacionFrm* Liquidacion() { return qobject_cast<LiquidacionFrm*>(BuscaPantalla("LiquidacionFrm")); }
    QLineEdit* Caja(QWidget* w, int i) { return Control<QLineEdit>(w, QStringLiteral("TxtOb(%1)").arg(i)); }

    // The browser on the first quarter of 2026, as typed by the user.
    QWidget* NavegadorEnElPrimerTrimestre() {
        v->MenuFacturas_Click();
        QWidget* f = BuscaPantalla("FacturasFrm");
        Caja(f, 1)->setText("01/01/2026");
        Caja(f, 2)->setText("31/03/2026");
        return f;
    }

    // The screen shows what the command writes: every box line and every warning.
    void MuestraLoMismoQueLaOrden(LiquidacionFrm* l) {
        QVERIFY(l->Informe());
        const ::Liquidacion esperada = LeeLiquidacion(*Conexion, "01/01/2026", "31/03/2026", OpcionIva);
        QStringList filas;
        auto* rejilla = Control<QTableView>(l, "DBGridCasillas");
        for (int f = 0; f < rejilla->model()->rowCount(); ++f)
            filas << rejilla->model()->index(f, 0).data().toString() + '\t' + rejilla->model()->index(f, 2).data().toString();
        QStringList cajas = esperada.LineasOrden().filter(QRegularExpression("^[0-9]"));
        QCOMPARE(filas, cajas);
        QCOMPARE(rejilla->model()->index(0, 1).data().toString(), QStringLiteral("Régimen general al 0 %: base imponible"));
        // The incomplete invoices above the boxes, the other warnings below.
        QStringList avisos;
        for (const char* nombre : {"LstIncompletas", "LstAvisos"}) {
            auto* lista = Control<QListWidget>(l, nombre);
            for (int i = 0; i < lista->count(); ++i)
                avisos << "# " + lista->item(i)->text();
        }
        QCOMPARE(avisos, esperada.LineasOrden().filter(QRegularExpression("^# ")).mid(1));
        auto* incompletas = Control<QListWidget>(l, "LstIncompletas");
        QCOMPARE(incompletas->isVisible(), incompletas->count() > 0);
        if (incompletas->isVisible())
            QVERIFY(incompletas->geometry().bottom() < rejilla->geometry().top());
        QCOMPARE(Control<QLabel>(l, "LblTitulo")->text(), esperada.Titulo());
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IVA");
        entorno->InsertaFactura("C", "C-1", "05/01/2026", "210", "1.210", "1.000", "21");
        entorno->InsertaFactura("C", "C-2", "10/02/2026", "7", "107", "100", "7");
        entorno->InsertaFactura("P", "P-1", "31/03/2026", "42", "242", "200", "21");
        entorno->InsertaFactura("C", "C-3", "01/04/2026", "21", "121", "100", "21");
        entorno->InsertaFactura("C", "C-4", "15/02/2026", "", "121", "", "21");  // left with Tab: no VAT, no net
        mensajes = std::make_unique<RegistroMensajes>();
        QVERIFY(AbrePrincipal(v));
    }

    void cleanup() {
        CierraPrueba(v, mensajes, entorno);
    }

    void desdeElNavegador_data() {
        QTest::addColumn<bool>("conTecla");
        QTest::newRow("F7") << true;
        QTest::newRow("botón") << false;
    }
    void desdeElNavegador() {
        QFETCH(bool, conTecla);
        QWidget* f = NavegadorEnElPrimerTrimestre();
        auto* boton = Control<QPushButton>(f, "BtnLiquidacion");
        QCOMPARE(boton->text(), QStringLiteral("&Liquidación  (F7)"));
        if (conTecla)
            QTest::keyClick(Caja(f, 1), Qt::Key_F7);
        else
            QTest::mouseClick(boton, Qt::LeftButton);
        LiquidacionFrm* l = Liquidacion();
        QVERIFY(l);
        QCOMPARE(l->windowTitle(), QStringLiteral("Liquidación del Trimestre"));
        QCOMPARE(Caja(l, 1)->text(), QStringLiteral("01/01/2026"));
        QCOMPARE(Caja(l, 2)->text(), QStringLiteral("31/03/2026"));
        MuestraLoMismoQueLaOrden(l);
        QCOMPARE(l->Informe()->Datos().Busca("09")->Texto(), QStringLiteral("210,00"));
        QCOMPARE(mensajes->cuenta(), 0);

        // Esc closes it.
        QTest::keyClick(Caja(l, 1), Qt::Key_Escape);
        QTRY_VERIFY(!Liquidacion());
    }

    void guardadaComoElListado() {
        PalabraClave = QStringLiteral("Secreta");
        AccesoInformes = true;
        QWidget* f = NavegadorEnElPrimerTrimestre();
        QStringList abiertos;
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            QTest::mouseClick(Control<QPushButton>(qobject_cast<AccesoFrm*>(m), "BtnCancel"), Qt::LeftButton);
        });
        QTest::keyClick(Caja(f, 1), Qt::Key_F7);
        AlAbrirModal([&](QWidget* m) {
            abiertos << m->objectName();
            QTest::mouseClick(Control<QPushButton>(qobject_cast<AccesoFrm*>(m), "BtnCancel"), Qt::LeftButton);
        });
        Control<QAction>(v, "MenuLiquidacion")->trigger();
        QCOMPARE(abiertos, (QStringList{"AccesoFrm", "AccesoFrm"}));
        QVERIFY(!Liquidacion());

        AlAbrirModal([](QWidget* m) {
            auto* d = qobject_cast<AccesoFrm*>(m);
            QTest::keyClicks(Control<QLineEdit>(d, "TxtClave"), "Secreta");
            QTest::keyClick(Control<QLineEdit>(d, "TxtClave"), Qt::Key_Return);
        });
        QTest::keyClick(Caja(f, 1), Qt::Key_F7);
        QVERIFY(Liquidacion());
        QVERIFY(Liquidacion()->Informe());
    }

    // The menu asks for the year and quarter: the last quarter ended is
    // proposed, and nothing is worked out until the user says which.
    void desdeElMenuInforme() {
        QStringList items;
        for (QAction* a : Control<QMenu>(v, "MenuInforme")->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{"Listado de &Facturas", "Liquidación del &Trimestre", "Libros &Registro",
                                      "Declaración Anual de Operaciones con Terceros (Modelo &347)",
                                      "Resumen Anual del IVA (Modelo 3&90)"}));
        QCOMPARE(Control<QAction>(v, "MenuListados")->text(), QStringLiteral("&Informe"));

        Control<QAction>(v, "MenuLiquidacion")->trigger();
        LiquidacionFrm* l = Liquidacion();
        QVERIFY(l);
        QVERIFY(!BuscaPantalla("InfFacturasFrm"));
        const PeriodoPropuesto p = UltimoTrimestreTerminado(QDate::currentDate());
        QCOMPARE(Caja(l, 0)->text(), p.anio);
        QCOMPARE(Control<QComboBox>(l, "CmbTrimestre")->currentIndex(), p.trimestre);
        QVERIFY(!l->Informe());
        QVERIFY(!Control<QPushButton>(l, "BtnPdf")->isEnabled());
        QCOMPARE(Control<QLabel>(l, "LblTitulo")->text(),
                 QStringLiteral("Indique el año y el trimestre, o las dos fechas, y pulse «Calcular (F5)»."));
        QTRY_COMPARE(QApplication::focusWidget(), Caja(l, 0));

        Teclea(Caja(l, 0), "26");
        QCOMPARE(Caja(l, 0)->text(), QStringLiteral("26"));
        QTest::keyClick(Caja(l, 0), Qt::Key_Return);
        QCOMPARE(Caja(l, 0)->text(), QStringLiteral("2026"));
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CmbTrimestre"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QCOMPARE(Caja(l, 1)->text(), QStringLiteral("01/01/2026"));
        QCOMPARE(Caja(l, 2)->text(), QStringLiteral("31/03/2026"));
        MuestraLoMismoQueLaOrden(l);
        QCOMPARE(mensajes->cuenta(), 0);

        // The listing keeps its own item.
        Control<QAction>(v, "MenuInformeListado")->trigger();
        QVERIFY(BuscaPantalla("InfFacturasFrm"));
    }

    void fechasQueNoValen() {
        Control<QAction>(v, "MenuLiquidacion")->trigger();
        LiquidacionFrm* l = Liquidacion();
        Caja(l, 2)->clear();
        QTest::keyClick(Caja(l, 1), Qt::Key_F5);
        QCOMPARE(mensajes->textos(), QStringList{"Seleccione las fechas entre las que visualizar los datos."});
        Escribe(Caja(l, 2), "31/02/2026");
        QTest::keyClick(Caja(l, 2), Qt::Key_Return);
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("Esa fecha no es válida."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(!l->Informe());
    }

    // A failure of the database keeps the return on show and says so.
    void falloDeLaBase() {
        QWidget* f = NavegadorEnElPrimerTrimestre();
        QTest::keyClick(Caja(f, 1), Qt::Key_F7);
        LiquidacionFrm* l = Liquidacion();
        const LiquidacionRpt* antes = l->Informe();
        Conexion->Ejecutar("drop table DATOS_EMPRESA");
        QTest::keyClick(Caja(l, 1), Qt::Key_F5);
        QCOMPARE(mensajes->cuenta(), 1);
        QVERIFY(mensajes->ultimo().texto.startsWith("Se produjo un error: "));
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
        QCOMPARE(l->Informe(), antes);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void imprimeYGuardaElPdf() {
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Talleres Ibáñez SL', 'b-12345674')");
        QWidget* f = NavegadorEnElPrimerTrimestre();
        QTest::keyClick(Caja(f, 1), Qt::Key_F7);
        LiquidacionFrm* l = Liquidacion();
        QString titulo;
        CuandoSeAbra<QPrintDialog>([&](QPrintDialog* d) {
            titulo = d->windowTitle();
            d->reject();
        });
        QTest::keyClick(Caja(l, 1), Qt::Key_F9);
        QCOMPARE(titulo, QStringLiteral("Imprimir la liquidación"));

        QTemporaryDir dir;
        const QString ruta = dir.filePath("trimestre");
        QString propuesto;
        CuandoSeAbra<QFileDialog>([&](QFileDialog* d) {
            propuesto = QFileInfo(d->selectedFiles().value(0)).fileName();
            // Typed in the name box: selectFile may take effect after the accept.
            Control<QLineEdit>(d, "fileNameEdit")->setText(ruta);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
        QTest::mouseClick(Control<QPushButton>(l, "BtnPdf"), Qt::LeftButton);
        QCOMPARE(propuesto, QStringLiteral("Liquidación 303 2026-1T.pdf"));
        QProcess p;
        p.start("pdftotext", {"-layout", ruta + ".pdf", "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString t = QString::fromUtf8(p.readAllStandardOutput()).simplified();
        QVERIFY(t.contains("NIF: B12345674"));
        QVERIFY(t.contains("09 Régimen general al 21 %: cuota 210,00"));
        QVERIFY(t.contains("Tipo del 7 % sin casilla en el Modelo 303 (IVA)"));
        QVERIFY(t.contains("Facturas incompletas Factura incompleta de Cobros C-4 del 15/02/2026: le falta el importe "
                           "del IVA y la base imponible (tipo 21 %, total 121,00)."));
        QVERIFY(t.indexOf("Factura incompleta") < t.indexOf("IVA devengado"));
        QCOMPARE(mensajes->cuenta(), 0);
    }
};

QTEST_MAIN(PruebaLiquidacionFrm)
#include "LiquidacionFrm_qtest.moc"
