// "Importar Facturas" as a person uses it: the file typed or chosen, the
// columns mapped, the rows previewed, imported or left, the refused ones saved.
#include "ApoyoPantallas.h"

#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "informes/Fuentes.h"
#include "ventanas/importacion/ImportarFacturasFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class PruebaImportarFacturasFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    std::unique_ptr<ImportarFacturasFrm> frm;
    std::unique_ptr<QTemporaryDir> dir;

    void Abre() {
        frm = std::make_unique<ImportarFacturasFrm>();
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    QString Archivo(const char* nombre, const QByteArray& contenido) {
        QFile f(dir->filePath(nombre));
        f.open(QIODevice::WriteOnly);
        f.write(contenido);
        return f.fileName();
    }
    // Types the file's name and presses Enter.
    void Lee(const QString& ruta) {
        Escribe(Control<QLineEdit>(frm, "TxtArchivo"), ruta);
        QTest::keyClick(Control<QLineEdit>(frm, "TxtArchivo"), Qt::Key_Return);
    }
    QString Celda(int fila, int columna) {
        return Control<QTableView>(frm, "GrdFilas")->model()->index(fila, columna).data().toString();
    }
    static int CuentaFacturas() {
        return static_cast<int>(Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Numero());
    }

    const QByteArray kCsv = "Fecha;Nº Factura;Cliente;Total;% IVA\n"
                            "15/01/2026;F-1;Ana Pérez;121;21\n"
                            "16/01/2026;F-2;Luis;12,3,4;21\n"
                            "17/01/2026;F-3;Eva;242;21\n";

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        mensajes = std::make_unique<RegistroMensajes>();
        dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup() {
        CancelaEsperasDeModales();
        frm.reset();
        mensajes.reset();
        entorno.reset();
    }

    void unCsvSeMapeaSePrevisualizaYSeImporta() {
        const QString ruta = Archivo("ventas.csv", kCsv);
        Abre();
        QCOMPARE(frm->windowTitle(), QStringLiteral("Importar Facturas"));
        Lee(ruta);
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 1);
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(2)")->currentText(), QStringLiteral("Fecha"));
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(1)")->currentText(), QStringLiteral("Nº Factura"));
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(7)")->currentText(), QStringLiteral("Total"));
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(0)")->currentText(), QStringLiteral("(ninguna)"));
        // Without the type the rows cannot be told apart.
        QTest::mouseClick(Control<QPushButton>(frm, "BtnContinuar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{"Indique qué columna lleva el tipo (Cobros o Pagos)."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 1);
        Control<QComboBox>(frm, "CmbCampos(0)")->setFocus();
        QTest::keyClick(Control<QComboBox>(frm, "CmbCampos(0)"), Qt::Key_Down);
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(0)")->currentText(), QStringLiteral("Todas son Cobros"));
        QTest::mouseClick(Control<QPushButton>(frm, "BtnContinuar"), Qt::LeftButton);

        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 2);
        QCOMPARE(Control<QTableView>(frm, "GrdFilas")->model()->rowCount(), 3);
        QCOMPARE(Celda(0, 1), QStringLiteral("Nueva"));
        QCOMPARE(Celda(0, 8), QStringLiteral("100,00"));
        QCOMPARE(Celda(0, 12), QStringLiteral("Completados: base y cuota"));
        QCOMPARE(Celda(1, 1), QStringLiteral("Rechazada"));
        QCOMPARE(Celda(1, 11), QStringLiteral("12,3,4"));
        QCOMPARE(Celda(1, 12), QStringLiteral("Línea 3, columna Total: '12,3,4' no es un importe."));
        QCOMPARE(Control<QLabel>(frm, "LblCuenta")->text(), QStringLiteral("2 facturas nuevas (2 con importes completados), 0 repetidas y "
                                                        "1 rechazada."));
        QCOMPARE(CuentaFacturas(), 0);

        mensajes->Limpia();
        QTest::mouseClick(Control<QPushButton>(frm, "BtnImportar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{"Importadas 2 facturas; 1 rechazada."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(mensajes->ultimo().botones, Botones::Aceptar);
        QCOMPARE(CuentaFacturas(), 2);
        QCOMPARE(frm->Importadas(), 2);
        QVERIFY(!Control<QPushButton>(frm, "BtnImportar")->isEnabled());
        QCOMPARE(Control<QPushButton>(frm, "BtnSalir")->text(), QStringLiteral("&Cerrar"));

        // The refused row, saved beside the file under the name proposed.
        QString propuesto;
        AlAbrirModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            propuesto = d->selectedFiles().value(0);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
        mensajes->Limpia();
        QTest::mouseClick(Control<QPushButton>(frm, "BtnRechazadas"), Qt::LeftButton);
        QCOMPARE(propuesto, dir->filePath("ventas_rechazadas.csv"));
        QCOMPARE(mensajes->textos(), QStringList{"Las filas rechazadas, con el motivo de cada una, están en " + propuesto +
                                                 ".\nCorríjalas allí e importe ese archivo."});
        QVERIFY(ContenidoArchivo(propuesto).contains(
            "\r\nCobros;F-2;16/01/2026;;;21;;12,3,4;;;Luis;;;Línea 3, columna Total: '12,3,4' no es un importe.\r\n"));

        // The next file with these headers comes with the map chosen.
        frm.reset();
        Abre();
        Lee(Archivo("otras.csv", kCsv));
        QCOMPARE(Control<QComboBox>(frm, "CmbCampos(0)")->currentText(), QStringLiteral("Todas son Cobros"));
    }

    void losLibrosDeLaAgenciaNoPidenMapaYCancelarNoGuardaNada() {
        Abre();
        Lee(QStringLiteral(FISCALINO_FIXTURES "/aeat/Ejemplo_2_1T_2023.xlsx"));
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 2);
        QCOMPARE(Control<QTableView>(frm, "GrdFilas")->model()->rowCount(), 10);
        QCOMPARE(Celda(9, 0), QStringLiteral("RECIBIDAS_GASTOS, 5"));
        QCOMPARE(Celda(9, 2), QStringLiteral("Pagos"));
        QCOMPARE(Celda(9, 5), QStringLiteral("05/01/2023"));  // received then: declared then
        QVERIFY(Control<QPushButton>(frm, "BtnImportar")->isEnabled());
        QTest::keyClick(frm.get(), Qt::Key_Escape);
        QVERIFY(!frm->isVisible());
        QCOMPARE(CuentaFacturas(), 0);
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void unArchivoQueNoSeLeeSeDiceYNadaCambia() {
        const QString ruta = Archivo("libro.xlsx", "Fecha;Total\n");
        Abre();
        Lee(ruta);
        QCOMPARE(mensajes->textos(),
                 QStringList{"El archivo " + ruta + " no es un libro de Excel (XLSX) o está dañado."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Critico);
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(frm, "TxtArchivo"));
    }

    void cancelarLaLecturaNoMuestraNada() {
        QByteArray csv = "Tipo;Fecha;Total\n";
        for (int i = 0; i < 100000; ++i)
            csv += "C;15/01/2026;" + QByteArray::number(i) + "\n";
        const QString ruta = Archivo("grande.csv", csv);
        Abre();
        Lee(ruta);
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 1);
        // The person presses the progress window's Cancelar as soon as it is there.
        QTimer reloj;
        connect(&reloj, &QTimer::timeout, [this] {
            if (auto* p = frm->findChild<QProgressDialog*>(QStringLiteral("Progreso")))
                if (auto* cancelar = p->findChild<QPushButton*>())
                    cancelar->click();
        });
        reloj.start(0);
        QTest::mouseClick(Control<QPushButton>(frm, "BtnContinuar"), Qt::LeftButton);
        reloj.stop();
        QCOMPARE(Control<QStackedWidget>(frm, "Paginas")->currentIndex(), 1);
        QVERIFY(!Control<QPushButton>(frm, "BtnImportar")->isEnabled());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void elMenuFacturasLaAbre() {
        auto* v = new InicioMDIFrm();
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        QCOMPARE(Control<QAction>(v, "MenuImportar")->text(), QStringLiteral("I&mportar Facturas..."));
        QCOMPARE(Control<QMenu>(v, "MenuDeFacturas")->actions(), (QList<QAction*>{Control<QAction>(v, "MenuFacturasIntroduccion"), Control<QAction>(v, "MenuImportar")}));
        bool abierta = false;
        CuandoSeAbra<ImportarFacturasFrm>([&](ImportarFacturasFrm* d) {
            abierta = true;
            d->reject();
        });
        Control<QAction>(v, "MenuImportar")->trigger();
        QVERIFY(abierta);
        delete v;
    }
};

QTEST_MAIN(PruebaImportarFacturasFrm)
#include "ImportarFacturasFrm_qtest.moc"
