#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "dominio/listado/Listado.h"
#include "informes/Fuentes.h"
#include "ventanas/ajustes/DatosEmpresaFrm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QLineEdit* Txt(QWidget* w, int i) { return Control(w, QStringLiteral("Txts(%1)").arg(i)); }

int Px(const QWidget* w, int twips) { return qRound(twips * w->logicalDpiX() / 1440.0); }

int FilasEmpresa() {
    return Conexion->AbrirRegistros(QStringLiteral("select count(*) from DATOS_EMPRESA"))->Campo(0).Texto().toInt();
}

}  // namespace

class DatosEmpresaFrmTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> e;
    std::unique_ptr<RegistroMensajes> r;

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }
    void init() {
        e = std::make_unique<EntornoPruebas>();
        e->Conecta();
        r = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        r.reset();
        e.reset();
    }

    void CajasConSusEtiquetasLimitesYPosiciones() {
        DatosEmpresaFrm f;
        QCOMPARE(f.objectName(), QStringLiteral("DatosEmpresaFrm"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Datos de la Empresa"));
        QCOMPARE(f.size(), QSize(Px(&f, 7620), Px(&f, 3915)));
        struct Caja { const char* tag; const char* etiqueta; int longitud, izquierda, arriba, ancho; };
        const Caja cajas[14] = {
            {"NOMBRE", "Nombre", 40, 1155, 60, 3750},        {"DESCRIPCION", "Descripcion", 100, 1155, 420, 6330},
            {"CIF", "CIF", 15, 1155, 780, 1680},             {"DIRECCION", "Dirección", 60, 1155, 1140, 5490},
            {"LOCALIDAD", "Localidad", 30, 1155, 1500, 2850}, {"COD_POSTAL", "Cod.  Postal", 5, 5085, 1860, 660},
            {"PROVINCIA", "Provincia", 30, 1155, 1860, 2850}, {"TLFN", "Teléfono", 15, 1155, 2220, 1770},
            {"FAX", "Fax", 15, 3420, 2220, 1470},             {"EMAIL", "E Mail", 40, 1155, 2580, 3750},
            {"WEB", "WEB", 40, 1155, 2940, 3750},
            // The activity, on the right of the contact lines, inside the same window.
            {"COD_ACTIVIDAD", "Cód. Actividad", 1, 6600, 2220, 375},
            {"TIPO_ACTIVIDAD", "Tipo Actividad", 2, 6600, 2580, 375},
            {"EPIGRAFE_IAE", "Epígrafe IAE", 4, 6600, 2940, 600}};
        for (int i = 0; i < 14; ++i) {
            const Caja& c = cajas[i];
            QLineEdit* t = Txt(&f, i);
            QCOMPARE(t->property("Tag").toString(), QString::fromLatin1(c.tag));
            QCOMPARE(LimiteDeCaja(t), c.longitud);
            QCOMPARE(t->geometry(), QRect(Px(&f, c.izquierda), Px(&f, c.arriba), Px(&f, c.ancho), Px(&f, 285)));
            auto* l = Control<QLabel>(&f, QStringLiteral("Lbls(%1)").arg(i));
            QCOMPARE(l->text(), QString::fromUtf8(c.etiqueta));
            // Each label stands on its box's line, to its left.
            QVERIFY(l->geometry().right() < t->geometry().left());
            QVERIFY(qAbs(l->geometry().center().y() - t->geometry().center().y()) <= Px(&f, 90));
            QVERIFY(f.rect().contains(t->geometry()));
            if (i >= 11)
                QVERIFY(l->geometry().left() > Txt(&f, 8)->geometry().right());
        }
        auto* aceptar = Control<QPushButton>(&f, "BtnAceptar");
        auto* salir = Control<QPushButton>(&f, "BtnSalir");
        QCOMPARE(aceptar->text(), QStringLiteral("&Aceptar"));
        QCOMPARE(salir->text(), QStringLiteral("&Salir"));
        QVERIFY(aceptar->isDefault());
        QCOMPARE(aceptar->geometry(), QRect(Px(&f, 120), Px(&f, 3420), Px(&f, 3675), Px(&f, 405)));
        QCOMPARE(salir->geometry(), QRect(Px(&f, 3840), Px(&f, 3420), Px(&f, 3675), Px(&f, 405)));
    }

    void ElTabuladorVaDeLaLocalidadALaProvinciaYAlCodigoPostal() {
        DatosEmpresaFrm f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        Txt(&f, 0)->setFocus();
        const QStringList esperado = {"Txts(1)", "Txts(2)", "Txts(3)", "Txts(4)", "Txts(6)", "Txts(5)", "Txts(7)",
                                      "Txts(8)", "Txts(9)", "Txts(10)", "Txts(11)", "Txts(12)", "Txts(13)",
                                      "BtnAceptar", "BtnSalir", "Txts(0)"};
        for (const QString& nombre : esperado) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), nombre);
        }
    }

    void ElCodigoPostalSoloAdmiteCifras() {
        DatosEmpresaFrm f;
        f.show();
        Reemplaza(Txt(&f, 5), QStringLiteral("08a9-0'1x23"));
        QCOMPARE(Txt(&f, 5)->text(), QStringLiteral("08901"));
        Reemplaza(Txt(&f, 2), QStringLiteral("B-1'2"));
        QCOMPARE(Txt(&f, 2)->text(), QStringLiteral("B-1'2"));
    }

    void PrimeraVezInsertaEmpresaEnPruebas() {
        DatosEmpresaFrm f;
        f.show();
        QVERIFY(f.FaltaFila());
        for (int i = 0; i < 11; ++i)
            QCOMPARE(Txt(&f, i)->text(), QString());
        QTest::mouseClick(Control<QPushButton>(&f, "BtnAceptar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(r->cuenta(), 0);
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
        QCOMPARE(rs->NumFilas(), 1);
        QCOMPARE(rs->Campo(QStringLiteral("NOMBRE")).Texto(), QStringLiteral("EMPRESA en PRUEBAS"));
        for (int c = 1; c < rs->NumColumnas(); ++c)
            QVERIFY2(rs->Campo(c).EsNulo(), qPrintable(rs->Columnas()[c]));
    }

    void LosDatosGuardadosEncabezanElListado() {
        {
            DatosEmpresaFrm f;
            f.show();
            Reemplaza(Txt(&f, 0), QStringLiteral("Cafè de l'Òpera"));
            Reemplaza(Txt(&f, 2), QStringLiteral("B07000000"));
            Reemplaza(Txt(&f, 3), QStringLiteral("Plaza d'Or, 3"));
            Reemplaza(Txt(&f, 4), QStringLiteral("Sóller"));
            Reemplaza(Txt(&f, 6), QStringLiteral("Illes Balears"));
            Reemplaza(Txt(&f, 5), QStringLiteral("07100"));
            // Enter presses the default button.
            QTest::keyClick(Txt(&f, 5), Qt::Key_Return);
            QVERIFY(!f.isVisible());
            QCOMPARE(f.result(), int(QDialog::Accepted));
        }
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
        const CabeceraEmpresa cab = LineasEmpresa(*rs);
        QCOMPARE(cab.linea1, QStringLiteral("Cafè de l'Òpera"));
        QCOMPARE(cab.linea2, QStringLiteral("Plaza d'Or, 3"));
        QCOMPARE(cab.linea3, QStringLiteral("07100 Sóller Illes Balears"));

        // The next opening shows the row and updates it.
        DatosEmpresaFrm g;
        g.show();
        QVERIFY(!g.FaltaFila());
        QCOMPARE(Txt(&g, 3)->text(), QStringLiteral("Plaza d'Or, 3"));
        QCOMPARE(Txt(&g, 1)->text(), QString());
        Reemplaza(Txt(&g, 8), QStringLiteral("971 00 00 00"));
        Txt(&g, 2)->clear();
        QTest::mouseClick(Control<QPushButton>(&g, "BtnAceptar"), Qt::LeftButton);
        rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
        QCOMPARE(rs->NumFilas(), 1);
        QCOMPARE(rs->Campo(QStringLiteral("FAX")).Texto(), QStringLiteral("971 00 00 00"));
        QVERIFY(rs->Campo(QStringLiteral("CIF")).EsNulo());
        QCOMPARE(rs->Campo(QStringLiteral("NOMBRE")).Texto(), QStringLiteral("Cafè de l'Òpera"));
        QCOMPARE(r->cuenta(), 0);
    }

    void LaActividadSeGuardaYSeVuelveALeer() {
        {
            DatosEmpresaFrm f;
            f.show();
            Escribe(Txt(&f, 11), QStringLiteral("a"));
            QCOMPARE(Txt(&f, 11)->text(), QStringLiteral("A"));
            Escribe(Txt(&f, 12), QStringLiteral("012"));
            Escribe(Txt(&f, 13), QStringLiteral("6531"));
            QTest::mouseClick(Control<QPushButton>(&f, "BtnAceptar"), Qt::LeftButton);
            QVERIFY(!f.isVisible());
        }
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
        QCOMPARE(rs->Campo(QStringLiteral("COD_ACTIVIDAD")).Texto(), QStringLiteral("A"));
        QCOMPARE(rs->Campo(QStringLiteral("TIPO_ACTIVIDAD")).Texto(), QStringLiteral("01"));
        QCOMPARE(rs->Campo(QStringLiteral("EPIGRAFE_IAE")).Texto(), QStringLiteral("6531"));
        DatosEmpresaFrm g;
        g.show();
        QCOMPARE(Txt(&g, 13)->text(), QStringLiteral("6531"));
        Txt(&g, 12)->clear();
        QTest::mouseClick(Control<QPushButton>(&g, "BtnAceptar"), Qt::LeftButton);
        rs = Conexion->AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA"));
        QVERIFY(rs->Campo(QStringLiteral("TIPO_ACTIVIDAD")).EsNulo());
        QCOMPARE(rs->Campo(QStringLiteral("COD_ACTIVIDAD")).Texto(), QStringLiteral("A"));
        QCOMPARE(r->cuenta(), 0);
    }

    void SalirYEscapeDescartanLoEscrito() {
        {
            DatosEmpresaFrm f;
            f.show();
            Reemplaza(Txt(&f, 0), QStringLiteral("Nada"));
            QTest::keyClick(Txt(&f, 0), Qt::Key_Escape);
            QVERIFY(!f.isVisible());
            QCOMPARE(f.result(), int(QDialog::Rejected));
        }
        QCOMPARE(FilasEmpresa(), 0);
        Conexion->Ejecutar(QStringLiteral("insert into DATOS_EMPRESA (NOMBRE) values ('Antigua')"));
        DatosEmpresaFrm g;
        g.show();
        Reemplaza(Txt(&g, 0), QStringLiteral("Nueva"));
        QTest::mouseClick(Control<QPushButton>(&g, "BtnSalir"), Qt::LeftButton);
        QVERIFY(!g.isVisible());
        QCOMPARE(Conexion->AbrirRegistros(QStringLiteral("select NOMBRE from DATOS_EMPRESA"))->Campo(0).Texto(),
                 QStringLiteral("Antigua"));
        QCOMPARE(r->cuenta(), 0);
    }

    void UnFalloAlGuardarSeAvisaYLaPantallaSigueAbierta() {
        DatosEmpresaFrm f;
        f.show();
        Reemplaza(Txt(&f, 0), QStringLiteral("Mía"));
        Conexion->Ejecutar(QStringLiteral("drop table DATOS_EMPRESA"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnAceptar"), Qt::LeftButton);
        QCOMPARE(r->cuenta(), 1);
        // The engine's own English words stay out of the message.
        QCOMPARE(r->ultimo().texto,
                 QStringLiteral("Se produjo un error: No se encontró la tabla DATOS_EMPRESA en la base de datos."));
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
        QVERIFY(f.isVisible());
        QCOMPARE(Txt(&f, 0)->text(), QStringLiteral("Mía"));
    }

    void UnTextoConCaracteresDeControlNoSeGuarda() {
        DatosEmpresaFrm f;
        f.show();
        Reemplaza(Txt(&f, 0), QStringLiteral("Mía"));
        Pega(Txt(&f, 3), QStringLiteral("Calle Mayor,") + QChar(0) + QStringLiteral(" 1"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnAceptar"), Qt::LeftButton);
        QCOMPARE(r->textos(), QStringList{QStringLiteral(
                                  "El campo 'Dirección' contiene caracteres que no se pueden guardar (caracteres de "
                                  "control, que no se ven, o caracteres incompletos). Bórrelos y vuelva a intentarlo.")});
        QVERIFY(f.isVisible());
        QCOMPARE(f.focusWidget(), Txt(&f, 3));
        QCOMPARE(FilasEmpresa(), 0);
    }
};

QTEST_MAIN(DatosEmpresaFrmTest)
#include "DatosEmpresaFrm_qtest.moc"
