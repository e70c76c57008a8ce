#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "informes/FacturasRpt.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

class InfFacturasFrmTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EntornoPruebas> entorno;
    QPointer<InfFacturasFrm> frm;

    // As the quarter browser's F9 does: the dates in the boxes, the window shown, the button pressed.
    void ComoElNavegador(const QString& desde, const QString& hasta) {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setText(desde);
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setText(hasta);
        Control<QPushButton>(frm, "BtnRefrescar")->click();
    }

    QAction* Accion(const char* nombre) { return frm->findChild<QAction*>(QLatin1String(nombre)); }

    static QString TextoPdf(const QString& ruta) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IGIC");
        FraseFinal = QStringLiteral("Gracias por su confianza.");
        Conexion->Ejecutar(QStringLiteral(
            "insert into DATOS_EMPRESA (NOMBRE, DIRECCION, COD_POSTAL, LOCALIDAD, PROVINCIA) "
            "values ('Ferretería O''Donnell, S.L.', 'Calle Mayor, 12', '28013', 'Madrid', 'Madrid')"));
        entorno->InsertaFactura("P", "P1", "05/01/2026", "214,24", "1.234,5");
        entorno->InsertaFactura("C", "C1", "05/01/2026", "42", "242");
        entorno->InsertaFactura("C", "C2", "10/02/2026", "2.100", "12.100");
        entorno->InsertaFactura("P", "P3", "31/03/2026", "7", "40,33");
        entorno->InsertaFactura("C", "C3", "01/04/2026", "1", "2");
    }

    void cleanup() {
        delete frm.data();
        entorno.reset();
    }

    void abreVacia() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QCOMPARE(frm->windowTitle(), QStringLiteral("Listado de Facturas entre Fechas"));
        QVERIFY(Control<QLineEdit>(frm, "TxtGrupo(0)")->text().isEmpty());
        QVERIFY(Control<QLineEdit>(frm, "TxtGrupo(1)")->text().isEmpty());
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(0)")->objectName(), QStringLiteral("TxtGrupo(0)"));
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(1)")->maxLength(), 10);
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(1)")->palette().color(QPalette::Base), QColor(255, 255, 230));
        QCOMPARE(Control<QPushButton>(frm, "BtnRefrescar")->text(), QStringLiteral("&Refrescar Datos (F5)"));
        QCOMPARE(Control<QPushButton>(frm, "BtnSalir")->text(), QStringLiteral("&Cerrar"));
        QCOMPARE(Control<QLabel>(frm, "LblOb(0)")->text(), QStringLiteral("Desde Fecha"));
        QCOMPARE(Control<QLabel>(frm, "LblOb(1)")->text(), QStringLiteral("Hasta Fecha"));
        QVERIFY(frm->Informe() == nullptr);
        QCOMPARE(frm->VistaPrevia()->pageCount(), 0);
        QVERIFY(!Accion("AccImprimir")->isEnabled());
        QVERIFY(!Accion("AccPdf")->isEnabled());
    }

    void fechaVaciaDaElMensaje_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<QString>("hasta");
        QTest::newRow("las dos") << QString() << QString();
        QTest::newRow("desde") << QString() << QStringLiteral("31/03/2026");
        QTest::newRow("hasta") << QStringLiteral("01/01/2026") << QString();
    }
    void fechaVaciaDaElMensaje() {
        QFETCH(QString, desde);
        QFETCH(QString, hasta);
        RegistroMensajes registro;
        ComoElNavegador(desde, hasta);
        QCOMPARE(registro.cuenta(), 1);
        QCOMPARE(registro.ultimo().texto, QStringLiteral("Introduzca las dos fechas para la búsqueda."));
        QCOMPARE(registro.ultimo().icono, Icono::Informacion);
        QCOMPARE(registro.ultimo().botones, Botones::Aceptar);
        QCOMPARE(registro.ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(frm->Informe() == nullptr);
        QVERIFY(frm->UltimaConsulta().isEmpty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void refrescoDesdeElNavegador() {
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
        QCOMPARE(registro.cuenta(), 0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const FacturasRpt* rpt = frm->Informe();
        QVERIFY(rpt);
        QCOMPARE(rpt->Filas().size(), size_t(3));
        QCOMPARE(rpt->Filas()[1].fecha, QDate(2026, 2, 10));
        QVERIFY(!rpt->Filas()[1].ivaC.has_value());
        QCOMPARE(rpt->Texto(QStringLiteral("TxtNombre")), QStringLiteral("Ferretería O'Donnell, S.L."));
        QCOMPARE(rpt->Texto(QStringLiteral("TxtDireccion")), QStringLiteral("Calle Mayor, 12"));
        QCOMPARE(rpt->Texto(QStringLiteral("TxtOtros")), QStringLiteral("28013 Madrid Madrid"));
        QCOMPARE(rpt->Texto(QStringLiteral("TxtFecha")), QStringLiteral("entre las fechas 01/01/2026  y  31/03/2026"));
        QCOMPARE(rpt->Texto(QStringLiteral("TxtFraseFinal")), QStringLiteral("Gracias por su confianza."));
        for (const char* n : {"TxtIVA1", "TxtIVA2", "TxtIVA3"})
            QCOMPARE(rpt->Texto(QLatin1String(n)), QStringLiteral("IGIC"));
        QVERIFY(frm->UltimaConsulta().startsWith(QStringLiteral("select F.FECHA_FACTURA,")));
        QCOMPARE(frm->VistaPrevia()->pageCount(), 1);
        QCOMPARE(frm->findChild<QLabel*>(QStringLiteral("LblPagina"))->text(), QStringLiteral("Página 1 de 1"));
        QVERIFY(Accion("AccImprimir")->isEnabled());

        // A second refresh replaces the report with a new one.
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setText(QStringLiteral("01/04/2026"));
        Control<QPushButton>(frm, "BtnRefrescar")->click();
        QVERIFY(frm->Informe() != nullptr);
        QCOMPARE(frm->Informe()->Filas().size(), size_t(4));
        QCOMPARE(registro.cuenta(), 0);
    }

    void sinEmpresaYSinFacturas() {
        Conexion->Ejecutar(QStringLiteral("delete from DATOS_EMPRESA"));
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2020"), QStringLiteral("31/12/2020"));
        QCOMPARE(registro.cuenta(), 0);
        QVERIFY(frm->Informe());
        QCOMPARE(frm->Informe()->Filas().size(), size_t(0));
        QVERIFY(frm->Informe()->Texto(QStringLiteral("TxtNombre")).isEmpty());
        QCOMPARE(frm->VistaPrevia()->pageCount(), 1);
    }

    void guardarPdfProponeDocumentosOPersonal_data() {
        QTest::addColumn<bool>("conDocumentos");
        QTest::newRow("con carpeta de documentos") << true;
        QTest::newRow("sin carpeta de documentos") << false;
    }

    void guardarPdfProponeDocumentosOPersonal() {
        QFETCH(bool, conDocumentos);
        QTemporaryDir casa;
        const QByteArray casaAntes = qgetenv("HOME");
        const QByteArray configAntes = qgetenv("XDG_CONFIG_HOME");
        const QString carpetaAntes = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(casa.path()));
        qunsetenv("XDG_CONFIG_HOME");
        // Started from its own folder, as a double click on it does.
        QDir::setCurrent(entorno->Carpeta());
        const QString documentos = casa.filePath(QStringLiteral("Documents"));
        if (conDocumentos)
            QDir().mkdir(documentos);
        ComoElNavegador(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
        QString propuesta;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            propuesta = d->selectedFiles().value(0);
            d->reject();
        });
        Accion("AccPdf")->trigger();
        qputenv("HOME", casaAntes);
        if (!configAntes.isNull())
            qputenv("XDG_CONFIG_HOME", configAntes);
        QDir::setCurrent(carpetaAntes);
        QCOMPARE(QFileInfo(propuesta).absolutePath(), conDocumentos ? documentos : casa.path());
        QCOMPARE(QFileInfo(propuesta).fileName(), QStringLiteral("Listado de Facturas.pdf"));
    }

    void guardaElPdf() {
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("listado"));
        // The toolbar's button asks for the file name; ".pdf" is added.
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->selectFile(ruta);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
        Accion("AccPdf")->trigger();
        QCOMPARE(registro.cuenta(), 0);
        const QString t = TextoPdf(ruta + QStringLiteral(".pdf"));
        for (const char* esperado : {"Ferretería O'Donnell, S.L.", "Calle Mayor, 12", "28013 Madrid Madrid",
                                     "Listado de Facturación", "IGIC", "1.234,50", "12.100,00", "40,33",
                                     "DIFERENCIA (Cobros - Pagos)", "Gracias por su confianza."})
            QVERIFY2(t.contains(QString::fromUtf8(esperado)), esperado);
        QVERIFY(QRegularExpression(QStringLiteral("entre las fechas 01/01/2026 +y +31/03/2026")).match(t).hasMatch());

        // A file that cannot be written is reported.
        QVERIFY(!frm->GuardaPdf(dir.filePath(QStringLiteral("no/hay/carpeta.pdf"))));
        QCOMPARE(registro.cuenta(), 1);
        QVERIFY(registro.ultimo().texto.startsWith(QStringLiteral("No se pudo guardar el archivo ")));
    }

    void imprimeEnLaImpresoraCompartida() {
        Conexion->Ejecutar(QStringLiteral("begin"));
        for (int i = 0; i < 60; ++i)
            entorno->InsertaFactura("C", QStringLiteral("M%1").arg(i),
                                    QDate(2025, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy")), "1", "2");
        Conexion->Ejecutar(QStringLiteral("commit"));
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2025"), QStringLiteral("31/12/2025"));
        QCOMPARE(frm->Informe()->NumPaginas(), 2);
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("impreso.pdf"));
        QPrinter& impresora = ImpresoraCompartida();
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(ruta);
        // The print button asks through the print dialog; accepting it prints every page.
        bool dialogo = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            dialogo = true;
            QCOMPARE(d->maxPage(), 2);
            d->accept();
        });
        Accion("AccImprimir")->trigger();
        QVERIFY(dialogo);
        QCOMPARE(registro.cuenta(), 0);
        QCOMPARE(impresora.pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(impresora.pageLayout().orientation(), QPageLayout::Portrait);
        const QString t = TextoPdf(ruta);
        QCOMPARE(t.count(QLatin1Char('\f')), 2);
        QVERIFY(t.contains(QStringLiteral("Ferretería O'Donnell, S.L.")));
        QVERIFY(t.contains(QStringLiteral("DIFERENCIA (Cobros - Pagos)")));

        // one page of them
        QVERIFY(frm->ImprimeEn(impresora, 2, 2));
        QCOMPARE(TextoPdf(ruta).count(QLatin1Char('\f')), 1);
        impresora.setOutputFileName(QString());
        impresora.setOutputFormat(QPrinter::NativeFormat);
    }

    void f5DesdeUnaCajaNoCompruebaLaFechaAntes() {
        RegistroMensajes registro;
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setText(QStringLiteral("31/03/2026"));
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setFocus();
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(0)"), QStringLiteral("1/1/26"));
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(0)"), Qt::Key_F5);
        QCOMPARE(registro.cuenta(), 0);
        QVERIFY(frm->Informe());
        QCOMPARE(frm->Informe()->Texto(QStringLiteral("TxtFecha")), QStringLiteral("entre las fechas 1/1/26  y  31/03/2026"));
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(0)")->text(), QStringLiteral("1/1/26"));
        QCOMPARE(frm->Informe()->Filas().size(), size_t(3));
    }

    void enterPulsaRefrescar() {
        RegistroMensajes registro;
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setText(QStringLiteral("01/01/2026"));
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setFocus();
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(1)"), QStringLiteral("31/01/2026"));
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(1)"), Qt::Key_Return);
        QCOMPARE(registro.cuenta(), 0);
        QVERIFY(frm->Informe());
        QCOMPARE(frm->Informe()->Filas().size(), size_t(1));
    }

    void laCajaSoloAdmiteCaracteresDeFecha() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setFocus();
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(0)"), QStringLiteral("0a1'/01/2026xx99"));
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(0)")->text(), QStringLiteral("01/01/2026"));
    }

    void compruebaLaFechaAlSalir() {
        RegistroMensajes registro;
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QApplication::setActiveWindow(frm);
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setFocus();
        QTRY_VERIFY(Control<QLineEdit>(frm, "TxtGrupo(0)")->hasFocus());

        // a valid date is rewritten dd/mm/yyyy
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(0)"), QStringLiteral("5/2/26"));
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(0)"), Qt::Key_Tab);
        QTRY_COMPARE(Control<QLineEdit>(frm, "TxtGrupo(0)")->text(), QStringLiteral("05/02/2026"));
        QVERIFY(Control<QLineEdit>(frm, "TxtGrupo(1)")->hasFocus());

        // an empty box passes
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(1)"), Qt::Key_Tab);
        QTest::qWait(20);
        QCOMPARE(registro.cuenta(), 0);

        // a text that is not a date: the message, and the focus stays
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setFocus();
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(1)"), QStringLiteral("30/02/2026"));
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(1)"), Qt::Key_Tab);
        QTRY_COMPARE_WITH_TIMEOUT(registro.cuenta(), 1, 1000);
        QCOMPARE(registro.ultimo().texto, QStringLiteral("Esa fecha no es válida."));
        QCOMPARE(registro.ultimo().icono, Icono::Informacion);
        QCOMPARE(registro.ultimo().titulo, QStringLiteral("Fiscalino"));
        QTRY_VERIFY(Control<QLineEdit>(frm, "TxtGrupo(1)")->hasFocus());
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(1)")->text(), QStringLiteral("30/02/2026"));
    }

    void dosFechasMalasDanUnSoloMensaje() {
        RegistroMensajes registro;
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QApplication::setActiveWindow(frm);
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setText(QStringLiteral("31/02/2026"));
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setText(QStringLiteral("32/01/2026"));
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setFocus();
        QTRY_VERIFY(Control<QLineEdit>(frm, "TxtGrupo(0)")->hasFocus());
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(0)"), Qt::Key_Tab);
        QTRY_COMPARE(registro.cuenta(), 1);
        QTest::qWait(50);
        QCOMPARE(registro.cuenta(), 1);
        QVERIFY(Control<QLineEdit>(frm, "TxtGrupo(0)")->hasFocus());
    }

    void fechaIncorrectaDejaLaVistaAnterior_data() {
        QTest::addColumn<QString>("hasta");
        QTest::newRow("no es fecha") << QStringLiteral("99/99/2026");
        QTest::newRow("comilla") << QStringLiteral("31/03/26'");
    }
    void fechaIncorrectaDejaLaVistaAnterior() {
        QFETCH(QString, hasta);
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
        const FacturasRpt* antes = frm->Informe();
        QVERIFY(antes);
        Control<QLineEdit>(frm, "TxtGrupo(1)")->setText(hasta);
        Control<QPushButton>(frm, "BtnRefrescar")->click();
        QCOMPARE(registro.cuenta(), 1);
        QCOMPARE(registro.ultimo().texto, QStringLiteral("Fecha incorrecta."));
        QCOMPARE(registro.ultimo().icono, Icono::Informacion);
        QCOMPARE(registro.ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(frm->Informe() == antes);
        QCOMPARE(frm->VistaPrevia()->pageCount(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void otroFalloDaElMensajeDeLaBase() {
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
        const FacturasRpt* antes = frm->Informe();
        Conexion->Ejecutar(QStringLiteral("drop table DATOS_EMPRESA"));
        Control<QPushButton>(frm, "BtnRefrescar")->click();
        QCOMPARE(registro.cuenta(), 1);
        QVERIFY(registro.ultimo().texto.startsWith(QStringLiteral("Se produjo un error: ")));
        QCOMPARE(registro.ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
        QCOMPARE(registro.ultimo().icono, Icono::Informacion);
        QVERIFY(frm->Informe() == antes);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void variasPaginasYNavegacion() {
        Conexion->Ejecutar(QStringLiteral("begin"));
        for (int i = 0; i < 120; ++i)
            entorno->InsertaFactura("P", QStringLiteral("N%1").arg(i),
                                    QDate(2025, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy")), "1", "2");
        Conexion->Ejecutar(QStringLiteral("commit"));
        RegistroMensajes registro;
        ComoElNavegador(QStringLiteral("01/01/2025"), QStringLiteral("31/12/2025"));
        QCOMPARE(registro.cuenta(), 0);
        QCOMPARE(frm->Informe()->NumPaginas(), 3);
        QCOMPARE(frm->VistaPrevia()->pageCount(), 3);
        auto* lbl = frm->findChild<QLabel*>(QStringLiteral("LblPagina"));
        QCOMPARE(lbl->text(), QStringLiteral("Página 1 de 3"));
        QVERIFY(!Accion("AccAnterior")->isEnabled());
        Accion("AccSiguiente")->trigger();
        QCOMPARE(frm->VistaPrevia()->currentPage(), 2);
        QCOMPARE(lbl->text(), QStringLiteral("Página 2 de 3"));
        Accion("AccUltima")->trigger();
        QCOMPARE(frm->VistaPrevia()->currentPage(), 3);
        QVERIFY(!Accion("AccSiguiente")->isEnabled());
        Accion("AccPrimera")->trigger();
        QCOMPARE(frm->VistaPrevia()->currentPage(), 1);

        const qreal zoom = frm->VistaPrevia()->zoomFactor();
        Accion("AccAmpliar")->trigger();
        QVERIFY(frm->VistaPrevia()->zoomFactor() > zoom);
        Accion("AccReducir")->trigger();
        Accion("AccReducir")->trigger();
        QVERIFY(frm->VistaPrevia()->zoomFactor() < zoom);
        Accion("AccPagina")->trigger();
        QCOMPARE(frm->VistaPrevia()->zoomMode(), QPrintPreviewWidget::FitInView);
    }

    void elVisorLlenaLaVentana() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QWidget* visor = Control<QWidget>(frm, "CRViewer1");
        const int arriba = visor->y();
        QVERIFY(arriba > Control<QPushButton>(frm, "BtnRefrescar")->geometry().bottom());
        QCOMPARE(visor->x(), 0);
        frm->resize(800, 600);
        QCOMPARE(visor->geometry(), QRect(0, arriba, 800, 600 - arriba));
        frm->resize(300, arriba + 10);
        QCOMPARE(visor->size(), QSize(300, 10));
        // smaller than the viewer's top: no negative size
        frm->resize(200, arriba / 2);
        QCOMPARE(visor->size(), QSize(200, 0));
        // the controls above stay where they were
        QCOMPARE(Control<QLineEdit>(frm, "TxtGrupo(1)")->pos(), QPoint(qRound(3600 * frm->logicalDpiX() / 1440.0),
                                                 qRound(60 * frm->logicalDpiY() / 1440.0)));
    }

    void laBarraCabeAntesDelPrimerRefresco() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        auto* barra = frm->findChild<QToolBar*>(QStringLiteral("BarraVisor"));
        QVERIFY(barra);
        QVERIFY2(barra->sizeHint().width() <= frm->width(), qPrintable(QString::number(barra->sizeHint().width())));
        // every button on show, none hidden behind the toolbar's overflow arrow
        for (const char* nombre : {"AccImprimir", "AccPdf", "AccPrimera", "AccUltima", "AccReducir", "AccAmpliar",
                                   "AccAncho", "AccPagina"})
            QVERIFY2(barra->widgetForAction(Accion(nombre))->isVisible(), nombre);
    }

    void escCierra() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QApplication::setActiveWindow(frm);
        Control<QLineEdit>(frm, "TxtGrupo(0)")->setFocus();
        QTest::keyClicks(Control<QLineEdit>(frm, "TxtGrupo(0)"), QStringLiteral("32/13"));
        RegistroMensajes registro;
        QTest::keyClick(Control<QLineEdit>(frm, "TxtGrupo(0)"), Qt::Key_Escape);
        QTRY_VERIFY(frm.isNull());  // closed and deleted
        QTest::qWait(20);
        QCOMPARE(registro.cuenta(), 0);  // closing does not check the date
        QVERIFY(BuscaPantalla(QStringLiteral("InfFacturasFrm")) == nullptr);
    }

    void escDesdeElVisorYElBotonCerrar() {
        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        frm->VistaPrevia()->setFocus();
        QTest::keyClick(frm->VistaPrevia(), Qt::Key_Escape);
        QTRY_VERIFY(frm.isNull());

        frm = MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
        QTest::mouseClick(Control<QPushButton>(frm, "BtnSalir"), Qt::LeftButton);
        QTRY_VERIFY(frm.isNull());
    }
};

QTEST_MAIN(InfFacturasFrmTest)
#include "InfFacturasFrm_qtest.moc"
