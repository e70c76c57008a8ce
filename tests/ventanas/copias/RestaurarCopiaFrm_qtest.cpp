// "Restaurar Copia" driven as a person would, on real files.
#include "ApoyoPantallas.h"

#include "dominio/copias/Copias.h"
#include "datos/BaseDatos.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "informes/Fuentes.h"
#include "ventanas/copias/RestaurarCopiaFrm.h"
#include "dominio/copias/RestaurarCopiaLogica.h"
#include "informes/FacturasRpt.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/facturas/FacturasFrm.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QString Hoy() { return EscribeFecha(QDate::currentDate()); }

QStringList Fila(QTableView* t, int fila) {
    QStringList r;
    for (int c = 0; c < t->model()->columnCount(); ++c)
        r << t->model()->index(fila, c).data().toString();
    return r;
}

}  // namespace

class RestaurarCopiaFrmTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> e;
    std::unique_ptr<RegistroMensajes> r;
    QString copia, ajena;

    void Fecha(const QString& ruta, const QDateTime& cuando) {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(cuando, QFileDevice::FileModificationTime));
    }
    int Facturas() {
        return ConexionAbierta().AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto().toInt();
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }
    void init() {
        e = std::make_unique<EntornoPruebas>();
        e->Conecta();
        e->InsertaParametros();
        e->InsertaFactura("P", "F-1", Hoy(), "21,00", "121");
        e->InsertaFactura("C", "C-1", Hoy(), "2,10", "12,10");
        copia = CarpetaCopia() + QStringLiteral("Fiscalino061226.mdb");
        CopiaArchivoBD(OrigenCopia(), copia);
        Fecha(copia, QDateTime(QDate(2026, 12, 6), QTime(20, 15)));
        ajena = CarpetaCopia() + QStringLiteral("Fiscalino-de-otro.mdb");
        HazArchivoMalo(ArchivoMalo::Ajeno, copia, ajena);
        Fecha(ajena, QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
        QFile notas(CarpetaCopia() + QStringLiteral("notas.txt"));
        QVERIFY(notas.open(QIODevice::WriteOnly));
        e->InsertaFactura("P", "F-2", Hoy(), "4,20", "24,20");
        r = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        CancelaEsperasDeModales();
        r.reset();
        e.reset();
    }

    void LasCopiasDeLaCarpetaConLoQueGuardan() {
        RestaurarCopiaFrm f;
        QCOMPARE(f.objectName(), QStringLiteral("RestaurarCopiaFrm"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Restaurar Copia"));
        QCOMPARE(Control<QLabel>(&f, "LblCarpeta")->text(),
                 QStringLiteral("Copias de seguridad que hay en ") + CarpetaCopia() +
                     QStringLiteral(", la más reciente primero:"));
        auto* t = Control<QTableView>(&f, "RejillaCopias");
        QStringList titulos;
        for (int c = 0; c < t->model()->columnCount(); ++c)
            titulos << t->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titulos, TitulosColumnasCopias());
        QCOMPARE(t->model()->rowCount(), 2);
        QCOMPARE(Fila(t, 0).mid(0, 2), (QStringList{"Fiscalino-de-otro.mdb", "07/12/2026 09:00"}));
        QCOMPARE(Fila(t, 0).mid(3), (QStringList{"no es una copia", ""}));
        QCOMPARE(Fila(t, 1).mid(0, 2), (QStringList{"Fiscalino061226.mdb", "06/12/2026 20:15"}));
        QCOMPARE(Fila(t, 1).mid(3), (QStringList{"2", Hoy()}));
        QVERIFY(Fila(t, 1)[2].endsWith(QStringLiteral(" KB")));
        QCOMPARE(f.CopiaElegida(), ajena);
        QCOMPARE(Control<QPushButton>(&f, "BtnRestaurar")->text(), QStringLiteral("&Restaurar"));
        QVERIFY(Control<QPushButton>(&f, "BtnRestaurar")->isDefault());
        QCOMPARE(Control<QPushButton>(&f, "BtnOtro")->text(), QStringLiteral("&Otro archivo..."));
        QCOMPARE(Control<QPushButton>(&f, "BtnSalir")->text(), QStringLiteral("&Salir"));
    }

    // The long names the restore leaves show whole, each column as wide as
    // what it holds; the whole name is also in the name's tooltip.
    void LosNombresLargosSeVenEnteros() {
        const QString largo = QStringLiteral("Fiscalino-antes-de-restaurar-20261207-101010.mdb");
        CopiaArchivoBD(OrigenCopia(), CarpetaCopia() + largo);
        RestaurarCopiaFrm f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* t = Control<QTableView>(&f, "RejillaCopias");
        const QFontMetrics fm = t->fontMetrics();
        QStringList nombres;
        for (int fila = 0; fila < t->model()->rowCount(); ++fila) {
            nombres << t->model()->index(fila, 0).data(Qt::ToolTipRole).toString();
            for (int c = 0; c < t->model()->columnCount(); ++c) {
                const QString texto = t->model()->index(fila, c).data().toString();
                QVERIFY2(fm.horizontalAdvance(texto) < t->columnWidth(c), qPrintable(texto));
            }
        }
        QVERIFY(nombres.contains(largo));
        QVERIFY(t->horizontalHeader()->length() <= t->viewport()->width());
    }

    // The browser and the listing open behind show the restored invoices;
    // a screen that cannot read them again is closed.
    void ConSiLaCopiaSustituyeALaBaseYLasPantallasLaMuestran() {
        auto* facturas = new FacturasFrm();
        facturas->setObjectName(QStringLiteral("FacturasFrm"));
        facturas->setAttribute(Qt::WA_DeleteOnClose);
        facturas->show();
        auto* pagos = Control<QTableView>(facturas, "DBGridPagos");
        QCOMPARE(pagos->model()->rowCount(), 2);
        auto* listado = new InfFacturasFrm();
        listado->setObjectName(QStringLiteral("InfFacturasFrm"));
        listado->setAttribute(Qt::WA_DeleteOnClose);
        listado->show();
        Control<QLineEdit>(listado, "TxtGrupo(0)")->setText(Hoy());
        Control<QLineEdit>(listado, "TxtGrupo(1)")->setText(Hoy());
        Control<QPushButton>(listado, "BtnRefrescar")->click();
        QVERIFY(listado->Informe());
        QCOMPARE(listado->Informe()->Sumas().totalC, 145.2);
        QPointer<QWidget> otra = new QWidget();
        otra->setObjectName(QStringLiteral("OtraPantalla"));
        otra->setAttribute(Qt::WA_DeleteOnClose);
        otra->show();

        RestaurarCopiaFrm f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(Control<QTableView>(&f, "RejillaCopias"), Qt::Key_Down);
        QCOMPARE(f.CopiaElegida(), copia);
        r->Responde(Respuesta::Si);
        QTest::keyClick(&f, Qt::Key_Return);

        QCOMPARE(r->cuenta(), 2);
        const Mensaje pregunta = r->mostrados()[0];
        QCOMPARE(pregunta.texto, QStringLiteral("¿Desea sustituir la base de datos actual por la copia "
                                                "\"Fiscalino061226.mdb\" (2 facturas, la última del ") +
                                     Hoy() + QStringLiteral(")?\n\nAntes se guardará una copia de la base de datos "
                                                            "actual en ") +
                                     CarpetaCopia() + QLatin1Char('.'));
        QCOMPARE(pregunta.botones, Botones::SiNo);
        QCOMPARE(pregunta.icono, Icono::Pregunta);
        QCOMPARE(pregunta.porDefecto, Respuesta::No);
        QCOMPARE(pregunta.titulo, QStringLiteral("Restaurar Copia"));
        QVERIFY(r->ultimo().texto.startsWith(QStringLiteral(
            "La copia se restauró correctamente.\n\nLa base de datos anterior se guardó en ") + CarpetaCopia() +
                                             QStringLiteral("Fiscalino-antes-de-restaurar-")));
        QCOMPARE(r->ultimo().icono, Icono::Informacion);
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Restaurar Copia"));
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QVERIFY(!f.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(Facturas(), 2);
        QCOMPARE(pagos->model()->rowCount(), 1);
        QCOMPARE(listado->Informe()->Sumas().totalC, 121.0);
        QTRY_VERIFY(!otra);
        facturas->close();
        listado->close();
    }

    void ConNoNadaCambia() {
        const QByteArray antes = ContenidoArchivo(e->RutaBD());
        RestaurarCopiaFrm f;
        f.show();
        QTest::keyClick(Control<QTableView>(&f, "RejillaCopias"), Qt::Key_Down);
        r->Responde(Respuesta::No);
        QTest::mouseClick(Control<QPushButton>(&f, "BtnRestaurar"), Qt::LeftButton);
        QCOMPARE(r->cuenta(), 1);
        QVERIFY(f.isVisible());
        QCOMPARE(ContenidoArchivo(e->RutaBD()), antes);
        QCOMPARE(Facturas(), 3);
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
    }

    // Any file can be picked, and is checked like the listed ones.
    void OtroArchivoSeEligeYSeComprueba() {
        const QString azar = e->Carpeta() + QStringLiteral("/azar.mdb");
        HazArchivoMalo(ArchivoMalo::Azar, copia, azar);
        const QByteArray antes = ContenidoArchivo(e->RutaBD());
        RestaurarCopiaFrm f;
        f.show();
        QString carpeta;
        AlAbrirModal([&](QWidget* m) {
            auto* d = qobject_cast<QFileDialog*>(m);
            if (!d) {
                static_cast<QDialog*>(m)->reject();
                QFAIL("no es el diálogo de archivos");
            }
            carpeta = d->directory().absolutePath();
            // The whole path typed in the name box, as a person may.
            auto* nombre = Control<QLineEdit>(d, "fileNameEdit");
            Teclea(nombre, azar);
            QTest::keyClick(nombre, Qt::Key_Return);
        });
        QTest::mouseClick(Control<QPushButton>(&f, "BtnOtro"), Qt::LeftButton);
        QCOMPARE(carpeta, QDir(CarpetaCopia()).absolutePath());
        QCOMPARE(r->textos(), QStringList{QStringLiteral("El archivo \"") + azar +
                                          QStringLiteral("\" no es una copia de la base de datos de Fiscalino. No se "
                                                         "ha cambiado nada.")});
        QCOMPARE(r->ultimo().icono, Icono::Exclamacion);
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Restaurar Copia"));
        QCOMPARE(ContenidoArchivo(e->RutaBD()), antes);
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(RestaurarCopiaFrmTest)
#include "RestaurarCopiaFrm_qtest.moc"
