#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/ajustes/CopiaSeguridadFrm.h"
#include "dominio/copias/CopiaSeguridadLogica.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

int Px(const QWidget* w, int twips) { return qRound(twips * w->logicalDpiX() / 1440.0); }

const QString kAbiertaAun = QStringLiteral(
    "La base de datos está abierta aún. Asegúrese de que todos los usuarios han salido de la aplicación menos "
    "usted y vuelva a intentarlo.");

}  // namespace

class CopiaSeguridadFrmTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> e;
    std::unique_ptr<RegistroMensajes> r;
    QString destino;

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }
    void init() {
        e = std::make_unique<EntornoPruebas>();
        destino = e->Carpeta() + QStringLiteral("/copias");
        QDir().mkpath(destino);
        EstableceCarpetaCopia(destino);
        e->Conecta();
        e->InsertaParametros();
        e->InsertaFactura("P", "F-1", "02/12/2026", "21,00", "121");
        e->InsertaFactura("C", "C-1", "03/12/2026", "42,00", "242");
        r = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        r.reset();
        EstableceCarpetaCopia(QString());
        e.reset();
    }

    void LasNotasElNombreYLosBotones() {
        CopiaSeguridadFrm f;
        QCOMPARE(f.objectName(), QStringLiteral("CopiaSeguridadFrm"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Copia de Seguridad"));
        QCOMPARE(f.size(), QSize(Px(&f, 7980), Px(&f, 4980)));
        const QString carpeta = QDir::toNativeSeparators(destino) + QDir::separator();
        QCOMPARE(Control<QLabel>(&f, "LblTexto(0)")->text(), QStringLiteral("NOTAS para la COPIA de SEGURIDAD:"));
        QVERIFY(Control<QLabel>(&f, "LblTexto(0)")->font().bold());
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(Control<QLabel>(&f, QStringLiteral("LblTexto(%1)").arg(i))->text(), NotaCopia(i, carpeta));
        QVERIFY(Control<QLabel>(&f, "LblTexto(5)")->text().contains(QStringLiteral("\"") + carpeta + QStringLiteral("\"")));
        QVERIFY(Control<QLabel>(&f, "LblTexto(6)")->text().contains(QStringLiteral("en la ruta \"") + carpeta));
        // Note 6 stands above note 5.
        QCOMPARE(Control<QLabel>(&f, "LblTexto(6)")->y(), Px(&f, 2700));
        QCOMPARE(Control<QLabel>(&f, "LblTexto(5)")->y(), Px(&f, 3600));

        const QString nombre = NombreCopiaSeguridad(QDate::currentDate(), OrigenCopia());
        QCOMPARE(f.NombreCopia(), nombre);
        auto* lbl = Control<QLabel>(&f, "LblNombre");
        QCOMPARE(lbl->text(), QStringLiteral("El nombre del archivo para la copia de seguridad de hoy es: ") + nombre);
        QCOMPARE(lbl->palette().color(QPalette::WindowText), QColor(192, 0, 0));

        auto* grabar = Control<QPushButton>(&f, "BtnGrabar");
        auto* salir = Control<QPushButton>(&f, "BtnSalir");
        QCOMPARE(grabar->text(), QStringLiteral("&Realiza Copia"));
        QCOMPARE(salir->text(), QStringLiteral("&Salir"));
        QVERIFY(grabar->isDefault());
        QCOMPARE(grabar->parentWidget()->objectName(), QStringLiteral("PicBtn"));
        QCOMPARE(grabar->parentWidget()->geometry(), QRect(0, Px(&f, 4485), Px(&f, 7980), Px(&f, 495)));
    }

    void DosCopiasElMismoDiaDejanUnArchivoConTodasLasFacturas() {
        CopiaSeguridadFrm f;
        f.show();
        auto* grabar = Control<QPushButton>(&f, "BtnGrabar");
        QTest::mouseClick(grabar, Qt::LeftButton);
        QCOMPARE(r->textos(), QStringList{QStringLiteral("La base de datos se copió correctamente.")});
        QCOMPARE(r->ultimo().icono, Icono::Informacion);
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(f.isVisible());
        QVERIFY(Conexion && Conexion->Abierta());
        QVERIFY(!QApplication::overrideCursor());

        // The program goes on working, and the second copy of the day replaces the first.
        e->InsertaFactura("P", "F-2", "04/12/2026", "2,10", "12,10");
        QTest::keyClick(&f, Qt::Key_Return);
        QCOMPARE(r->cuenta(), 2);
        QCOMPARE(r->ultimo().texto, QStringLiteral("La base de datos se copió correctamente."));
        QCOMPARE(QDir(destino).entryList(QDir::Files | QDir::Hidden), QStringList{f.NombreCopia()});
        const QString copia = destino + QLatin1Char('/') + f.NombreCopia();
        QCOMPARE(Sqlite(copia, QStringLiteral("select count(*) from FACTURAS")), QStringLiteral("3"));
        QVERIFY(Conexion && Conexion->Abierta());
        QCOMPARE(Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(),
                 QStringLiteral("3"));
    }

    void ConOtraInstanciaAbiertaSeNiegaYElProgramaSigueConectado() {
        CopiaSeguridadFrm f;
        f.show();
        {
            OtraInstancia otra(e->RutaBD());
            QVERIFY(otra.Lista());
            QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        }
        QCOMPARE(r->textos(), QStringList{kAbiertaAun});
        QCOMPARE(r->ultimo().botones, Botones::Aceptar);
        QVERIFY(QDir(destino).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(f.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(Conexion && Conexion->Abierta());
        e->InsertaFactura("C", "C-2", "05/12/2026", "1,00", "5,76");
        QCOMPARE(Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(),
                 QStringLiteral("3"));

        // Once the other instance has gone the copy is made.
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->ultimo().texto, QStringLiteral("La base de datos se copió correctamente."));
    }

    void UnaCarpetaQueNoExisteSeAvisaComoErrorYSeReconecta() {
        EstableceCarpetaCopia(e->Carpeta() + QStringLiteral("/no-hay"));
        CopiaSeguridadFrm f;
        f.show();
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->cuenta(), 1);
        QVERIFY(r->ultimo().texto.startsWith(QStringLiteral("Se produjo un error: ")));
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
        QVERIFY(Conexion && Conexion->Abierta());
        QVERIFY(!QApplication::overrideCursor());
    }

    void SalirCierraSinCopiar() {
        CopiaSeguridadFrm f;
        f.show();
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
        CopiaSeguridadFrm g;
        g.show();
        QTest::mouseClick(Control<QPushButton>(&g, "BtnSalir"), Qt::LeftButton);
        QVERIFY(!g.isVisible());
        QVERIFY(QDir(destino).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QCOMPARE(r->cuenta(), 0);
        QVERIFY(Conexion && Conexion->Abierta());
    }
};

QTEST_MAIN(CopiaSeguridadFrmTest)
#include "CopiaSeguridadFrm_qtest.moc"
