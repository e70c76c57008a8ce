// The books' screen as a person uses it: year, period and format, the list
// of invoices to correct, the file dialog, the outcome.
#include "ApoyoLibros.h"
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Fuentes.h"
#include "dominio/libros/ExportacionLibros.h"
#include "ventanas/libros/LibrosRegistroFrm.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSemaphore>
#include <QThread>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>

class PruebaLibrosRegistroFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    std::unique_ptr<LibrosRegistroFrm> frm;
    std::unique_ptr<QTemporaryDir> dir;
    QString propuesta;  // the file the dialog proposed
    QTemporaryDir casa;

    void Abre() {
        frm = std::make_unique<LibrosRegistroFrm>();
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    QPushButton* Boton(QWidget* w, const char* nombre) { return Control<QPushButton>(w, QString::fromLatin1(nombre)); }
    static void Inserta(const QString& tipo, const CamposFactura& c, const CamposTercero& t = {}) {
        Conexion->Ejecutar(SqlInsertaFactura(c, tipo, t));
    }
    // The next window is the file dialog, where `ruta` is chosen.
    void AlPedirArchivo(const QString& ruta) {
        AlAbrirModal([this, ruta](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            propuesta = d->selectedFiles().value(0);
            // Another folder, and the name typed over the proposed one.
            d->setDirectory(QFileInfo(ruta).absolutePath());
            Reemplaza(Control(d, "fileNameEdit"), QFileInfo(ruta).fileName());
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
    }

    static void InsertaMuchas(int n) {
        Conexion->Ejecutar("begin");
        for (int i = 0; i < n; ++i)
            Inserta(TipoPagos, {QString("P-%1").arg(i), "02/02/2026", "21", "121", "100", "21", ""},
                    {"Q2826000H", "", ""});
        Conexion->Ejecutar("commit");
    }
    // The writer stops on its own thread when it reports `hechas` rows, until
    // the test lets it go on, so that what the window does meanwhile is seen.
    QSemaphore sigue;
    QThread* hiloEscritor = nullptr;
    void RetieneEn(int hechas) {
        auto* exportacion = frm->findChild<ExportacionLibros*>();
        QVERIFY(exportacion);
        connect(
            exportacion, &ExportacionLibros::Avance, exportacion,
            [this, hechas](int n, int) {
                hiloEscritor = QThread::currentThread();
                if (n == hechas)
                    sigue.tryAcquire(1, 20000);
            },
            Qt::DirectConnection);
    }
    QProgressDialog* Progreso() { return frm->findChild<QProgressDialog*>(QStringLiteral("Progreso")); }

private slots:
    void initTestCase() {
        InstalaSustitutosFuentes();
        // The file dialog starts in the documents folder: one of the test's own.
        qputenv("HOME", QFile::encodeName(casa.path()));
    }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Talleres Ibáñez SL', 'B12345674')");
        Inserta(TipoCobros, {"C-1", "15/01/2026", "21", "121", "100", "21", ""}, {"12345678Z", "", "Ana Pérez"});
        Inserta(TipoPagos, {"P-1", "16/01/2026", "42", "242", "200", "21", ""}, {"Q2826000H", "", "Ferretería"});
        mensajes = std::make_unique<RegistroMensajes>();
        dir = std::make_unique<QTemporaryDir>();
        propuesta.clear();
        while (sigue.tryAcquire()) {
        }
        hiloEscritor = nullptr;
    }

    void cleanup() {
        CancelaEsperasDeModales();
        frm.reset();
        mensajes.reset();
        entorno.reset();
    }

    // The quarter just ended, the one whose books are due, as the return proposes it.
    void abreConElUltimoTrimestreTerminado() {
        Abre();
        QCOMPARE(frm->windowTitle(), QStringLiteral("Libros Registro"));
        const PeriodoPropuesto p = UltimoTrimestreTerminado(QDate::currentDate());
        QCOMPARE(Control(frm.get(), "TxtEjercicio")->text(), p.anio);
        auto* periodo = Control<QComboBox>(frm.get(), "CmbPeriodo");
        QCOMPARE(periodo->count(), 5);
        QCOMPARE(periodo->itemText(4), QStringLiteral("Todo el año"));
        QCOMPARE(periodo->currentIndex(), p.trimestre);
        QCOMPARE(Control<QComboBox>(frm.get(), "CmbFormato")->currentIndex(), 0);
        QVERIFY(Boton(frm.get(), "BtnAceptar")->isDefault());
        QCOMPARE(Boton(frm.get(), "BtnAceptar")->text(), QStringLiteral("&Exportar"));
        QCOMPARE(QApplication::focusWidget(), Control(frm.get(), "TxtEjercicio"));
    }

    void exportaElLibroDeExcelConElNombreDeLaAgencia() {
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        Control<QComboBox>(frm.get(), "CmbPeriodo")->setCurrentIndex(0);
        const QString ruta = dir->filePath("libros");
        AlPedirArchivo(ruta);
        QTest::keyClick(Control(frm.get(), "TxtEjercicio"), Qt::Key_Return);
        QCOMPARE(QFileInfo(propuesta).fileName(), QStringLiteral("2026B12345674CTalleres Ibáñez SL.xlsx"));
        QTRY_COMPARE(mensajes->textos(), QStringList{"Libros registro de 2026, del 01/01/2026 al 31/03/2026: 1 factura "
                                                 "emitida y 1 recibida, en " +
                                                 QDir::toNativeSeparators(ruta) + ".xlsx."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QVERIFY(!frm->isVisible());
        QVERIFY(LeeXlsx(ruta + ".xlsx").contains("EXPEDIDAS 4: #2026.0|1T||||F1|||@15/01/2026|||C-1||||12345678Z|Ana "
                                                 "Pérez|01|S1||#121.0|#100.0|#21.0|#21.0"));
    }

    void lasFacturasQueNoCabenSeListanYElUsuarioDecide_data() {
        QTest::addColumn<bool>("exporta");
        QTest::newRow("vuelve a corregirlas") << false;
        QTest::newRow("exporta igualmente") << true;
    }

    void lasFacturasQueNoCabenSeListanYElUsuarioDecide() {
        QFETCH(bool, exporta);
        Inserta(TipoCobros, {"C-2", "20/01/2026", "210", "1.210", "1000", "21", ""});
        Inserta(TipoPagos, {"P-2", "21/01/2026", "21", "121", "100", "21", ""}, {"12345678A", "", ""});
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        Control<QComboBox>(frm.get(), "CmbFormato")->setCurrentIndex(1);
        QString lista;
        CuandoSeAbra<IncidenciasLibrosFrm>([&](IncidenciasLibrosFrm* d) {
            lista = Control<QLabel>(d, "LblCabecera")->text() + "\n" +
                    Control<QPlainTextEdit>(d, "TxtIncidencias")->toPlainText() + "\n" +
                    Control<QLabel>(d, "LblPie")->text();
            QVERIFY(Control<QPushButton>(d, "BtnSalir")->isDefault());
            if (exporta) {
                AlPedirArchivo(dir->filePath("libros.csv"));
                Control<QPushButton>(d, "BtnAceptar")->click();
            } else {
                QTest::keyClick(d, Qt::Key_Escape);
            }
        });
        QTest::mouseClick(Boton(frm.get(), "BtnAceptar"), Qt::LeftButton);
        QTRY_COMPARE(mensajes->cuenta(), exporta ? 1 : 0);
        QCOMPARE(lista, QStringLiteral(
                            "Estas facturas no se pueden llevar a los libros tal como están:\n"
                            "Cobros 20/01/2026 C-2 (total 1.210,00): sin NIF del cliente y con un total de más de "
                            "400 €, que no puede ser el de una factura simplificada.\n"
                            "Pagos 21/01/2026 P-2 (total 121,00): la letra de control del NIF del proveedor "
                            "(12345678A) debería ser Z.\n"
                            "Puede corregirlas en Facturas y volver a exportar, o exportar los libros con ellas tal "
                            "como están."));
        QCOMPARE(frm->isVisible(), !exporta);
        QCOMPARE(QFileInfo(propuesta).fileName(), exporta ? QStringLiteral("2026B12345674CTalleres Ibáñez SL.csv") : QString());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
                 exporta ? QStringList({"libros_EXPEDIDAS.csv", "libros_RECIBIDAS.csv"}) : QStringList());
        QCOMPARE(mensajes->cuenta(), exporta ? 1 : 0);
    }

    void conIgicDiceAntesQueLaAgenciaSoloImportaIva() {
        OpcionIva = QStringLiteral("IGIC");
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        Control<QComboBox>(frm.get(), "CmbPeriodo")->setCurrentIndex(0);
        int avisosAntesDeLaLista = -1;
        CuandoSeAbra<IncidenciasLibrosFrm>([&](IncidenciasLibrosFrm* d) {
            avisosAntesDeLaLista = mensajes->cuenta();
            AlPedirArchivo(dir->filePath("libros.xlsx"));
            Control<QPushButton>(d, "BtnAceptar")->click();
        });
        QTest::keyClick(Control(frm.get(), "TxtEjercicio"), Qt::Key_Return);
        QTRY_COMPARE(mensajes->cuenta(), 2);
        QCOMPARE(avisosAntesDeLaLista, 1);
        const Mensaje& aviso = mensajes->mostrados().first();
        QCOMPARE(aviso.texto, QStringLiteral("El impuesto configurado es el IGIC, y la importación de libros registro "
                                             "de la Agencia Tributaria (servicio Pre303) sirve solo para el IVA. Los "
                                             "libros llevan las facturas como operaciones sujetas al IGIC (clave de "
                                             "operación 08, no sujetas al IVA): la base, sin tipo ni cuota de IVA."));
        QCOMPARE(aviso.icono, Icono::Exclamacion);
        QCOMPARE(aviso.botones, Botones::Aceptar);
        QCOMPARE(aviso.titulo, QStringLiteral("Libros Registro"));
        QCOMPARE(mensajes->cuenta(), 2);
        QVERIFY(LeeXlsx(dir->filePath("libros.xlsx")).contains("EXPEDIDAS 4: #2026.0|1T||||F1|||@15/01/2026|||C-1||||"
                                                               "12345678Z|Ana Pérez|08|N2||#100.0|#100.0"));
    }

    void anioQueNoEsUnAnio() {
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "0000");
        QTest::mouseClick(Boton(frm.get(), "BtnAceptar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{"El año no es válido."});
        QVERIFY(frm->isVisible());
        QCOMPARE(QApplication::focusWidget(), Control(frm.get(), "TxtEjercicio"));
    }

    void cancelarDuranteLaExportacionNoDejaNada() {
        InsertaMuchas(3000);
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        AlPedirArchivo(dir->filePath("libros.xlsx"));
        RetieneEn(0);
        // The person presses the progress window's Cancelar as soon as it is there.
        QTimer reloj;
        reloj.setInterval(0);
        connect(&reloj, &QTimer::timeout, [this] {
            if (auto* p = frm->findChild<QProgressDialog*>(QStringLiteral("Progreso"))) {
                p->findChild<QPushButton*>()->click();
                sigue.release();
            }
        });
        reloj.start();
        QTest::mouseClick(Boton(frm.get(), "BtnAceptar"), Qt::LeftButton);
        QTRY_COMPARE(mensajes->textos(), QStringList{"Se ha cancelado la exportación: no se ha escrito ningún archivo."});
        reloj.stop();
        QVERIFY(frm->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
    }

    // The books are written on a thread of their own: the click returns at
    // once, the progress reaches the window through its own event loop, and
    // Cancelar stops the writer with nothing left on the disk.
    void laExportacionNoDetieneLaVentana() {
        InsertaMuchas(3000);
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        AlPedirArchivo(dir->filePath("libros.xlsx"));
        RetieneEn(2000);
        QTest::mouseClick(Boton(frm.get(), "BtnAceptar"), Qt::LeftButton);
        QVERIFY(frm->findChild<ExportacionLibros*>()->EnMarcha());
        QCOMPARE(mensajes->cuenta(), 0);
        QVERIFY(Progreso());
        QTRY_COMPARE(Progreso()->value(), 1000);
        QTRY_VERIFY(Progreso()->isVisible());
        QVERIFY(hiloEscritor && hiloEscritor != QThread::currentThread());
        QTest::mouseClick(Progreso()->findChild<QPushButton*>(), Qt::LeftButton);
        sigue.release();
        QTRY_COMPARE(mensajes->textos(), QStringList{"Se ha cancelado la exportación: no se ha escrito ningún archivo."});
        QVERIFY(!Progreso());
        QVERIFY(frm->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void unFalloAlEscribirSeAvisaEnEspanol() {
        Abre();
        Reemplaza(Control(frm.get(), "TxtEjercicio"), "2026");
        AlPedirArchivo(dir->filePath("libros.xlsx"));
        // A disk that fills up while the workbook is written.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit antes{};
        getrlimit(RLIMIT_FSIZE, &antes);
        const rlimit limite{1000, antes.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
        QTest::mouseClick(Boton(frm.get(), "BtnAceptar"), Qt::LeftButton);
        QTRY_COMPARE(mensajes->cuenta(), 1);
        setrlimit(RLIMIT_FSIZE, &antes);
        QCOMPARE(mensajes->textos(), QStringList{"No se pudo escribir el archivo " +
                                                 QDir::toNativeSeparators(dir->filePath("libros.xlsx")) +
                                                 ". Compruebe que la carpeta existe, que puede escribir en ella y que "
                                                 "queda espacio en el disco."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Critico);
        QVERIFY(frm->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(PruebaLibrosRegistroFrm)
#include "LibrosRegistroFrm_qtest.moc"
