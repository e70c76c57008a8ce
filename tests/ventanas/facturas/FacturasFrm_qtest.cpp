// The quarter browser driven as a person would, on a real database file.
#include "ApoyoFacturas.h"
#include "ApoyoPruebas.h"

#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "dominio/facturas/Trimestres.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/EtiquetaImporte.h"
#include "informes/Fuentes.h"
#include "base/MedidasLogica.h"
#include "dominio/comun/RejillaLogica.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/facturas/FacturasFrm.h"

#include <QHeaderView>
#include <QtTest>
#include <memory>

namespace {

int ContarFacturas() {
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"));
    return static_cast<int>(rs->Campo(0).Numero());
}

QDate Hoy() { return QDate::currentDate(); }
QString HoyTexto() { return EscribeFecha(Hoy()); }
int TrimestreHoy() { return TrimestreDeFecha(Hoy()); }
// A day of today's quarter that is not today, and a day of another quarter.
QDate OtroDiaDelTrimestre() {
    const auto r = FechasTrimestre(TrimestreHoy(), QString::number(Hoy().year()));
    QDate d = *LeeFecha(r->desde);
    return d == Hoy() ? d.addDays(1) : d;
}
QDate DiaDeOtroTrimestre() { return Hoy().addMonths(Hoy().month() <= 6 ? 6 : -6); }

}  // namespace

class PruebaFacturasFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<FacturasFrm> frm;

    FacturasFrm* Abre() {
        frm = new FacturasFrm();
        frm->setAttribute(Qt::WA_DeleteOnClose);
        frm->show();
        Activa(frm);
        return frm;
    }
    QLineEdit* Caja(int i) { return Control<QLineEdit>(frm, QStringLiteral("TxtOb(%1)").arg(i)); }
    QComboBox* Trimestre() { return Control<QComboBox>(frm, QStringLiteral("CmbTrimestre")); }
    QTableView* Pagos() { return Control<QTableView>(frm, QStringLiteral("DBGridPagos")); }
    QTableView* Cobros() { return Control<QTableView>(frm, QStringLiteral("DBGridCobros")); }
    QString Etiqueta(const QString& nombre) { return Control<QLabel>(frm, nombre)->text(); }
    QStringList Totales() {
        QStringList r;
        for (int i = 0; i < 4; ++i)
            r << Etiqueta(QStringLiteral("LblTotal(%1)").arg(i));
        return r;
    }
    QStringList Diferencias() {
        return {Etiqueta(QStringLiteral("LblDifTotal(0)")), Etiqueta(QStringLiteral("LblDifTotal(1)"))};
    }
    void Enfoca(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        QCOMPARE(Foco(), w);
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IVA");
        IvaPorDefecto = 21;
        mensajes = std::make_unique<RegistroMensajes>();
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->objectName().isEmpty())
                w->close();
        delete frm;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mensajes.reset();
        entorno.reset();
    }

    void abreEnElTrimestreDeHoy() {
        entorno->InsertaFactura("P", "P-1", EscribeFecha(OtroDiaDelTrimestre()), "21", "121", "100", "21");
        entorno->InsertaFactura("C", "C-1", HoyTexto(), "1.234,5", "7.000");
        entorno->InsertaFactura("C", "C-9", EscribeFecha(DiaDeOtroTrimestre()), "50", "100");
        Abre();
        QCOMPARE(frm->objectName(), QStringLiteral("FacturasFrm"));
        QCOMPARE(frm->windowTitle(), QStringLiteral("Introducción de Facturas"));
        QCOMPARE(Caja(0)->text(), QString::number(Hoy().year()));
        QCOMPARE(Trimestre()->currentIndex(), TrimestreHoy());
        QCOMPARE(Trimestre()->count(), 4);
        QCOMPARE(Trimestre()->itemText(0), QStringLiteral("1º Trimestre"));
        QCOMPARE(Trimestre()->itemText(3), QStringLiteral("4º Trimestre"));
        const auto r = FechasTrimestre(TrimestreHoy(), QString::number(Hoy().year()));
        QCOMPARE(Caja(1)->text(), r->desde);
        QCOMPARE(Caja(2)->text(), r->hasta);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(Cobros()->model()->rowCount(), 1);
        QCOMPARE(FilaRejilla(Pagos(), 0),
                 QStringList({EscribeFecha(OtroDiaDelTrimestre()), "P-1", "100,00", "21", "21,00", "121,00"}));
        QCOMPARE(Totales(), QStringList({"21,00", "121,00", "1.234,50", "7.000,00"}));
        QCOMPARE(Diferencias(), QStringList({"1.213,50", "6.879,00"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void controlesYPresentacion() {
        Abre();
        QCOMPARE(Control<QLabel>(frm, "Lbls(0)")->text(), QStringLiteral("Año"));
        QCOMPARE(Control<QLabel>(frm, "Lbls(1)")->text(), QStringLiteral("Desde Fecha"));
        QCOMPARE(Control<QLabel>(frm, "Lbls(2)")->text(), QStringLiteral("Hasta Fecha"));
        QCOMPARE(Control<QPushButton>(frm, "BtnBuscar")->text(), QStringLiteral("Buscar  (F3)"));
        QCOMPARE(Control<QPushButton>(frm, "BtnAceptar")->text(), QStringLiteral("&Añadir Factura  (F5)"));
        QCOMPARE(Control<QPushButton>(frm, "BtnImprimir")->text(), QStringLiteral("&Informe  (F9)"));
        QCOMPARE(Control<QPushButton>(frm, "BtnCerrar")->text(), QStringLiteral("&Salir  (Esc)"));
        QCOMPARE(Etiqueta("Label1"),
                 QStringLiteral("Para \"ver / modificar / borrar\" una factura haga doble click con el ratón sobre la misma"));
        QCOMPARE(Etiqueta("Label2"), QStringLiteral("Cobrado - Pagado ->"));
        QCOMPARE(Etiqueta("LblDif(0)"), QStringLiteral("IVA:"));
        QCOMPARE(Etiqueta("LblDif(1)"), QStringLiteral("Total:"));
        QCOMPARE(Etiqueta("DBGridPagos_Titulo"), QStringLiteral("Pagos"));
        QCOMPARE(Etiqueta("DBGridCobros_Titulo"), QStringLiteral("Cobros"));
        for (const char* n : {"Label1", "Label2", "LblDif(0)", "LblDif(1)"}) {
            QFont f = Control<QLabel>(frm, n)->font();
            QCOMPARE(f.family(), QStringLiteral("Tahoma"));
            QVERIFY2(f.bold(), n);
        }
        QCOMPARE(Control<QLabel>(frm, "LblDifTotal(0)")->font().family(), QStringLiteral("Tahoma"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Caja(i)->palette().color(QPalette::Base), QColor(255, 255, 230));
        QCOMPARE(Caja(0)->maxLength(), 4);
        QCOMPARE(Caja(1)->maxLength(), 10);
        QCOMPARE(Caja(2)->maxLength(), 10);

        const double dpi = frm->logicalDpiX();
        const QStringList titulos{"Id", "Fecha", "Factura", "Total Neto", "IVA", "Importe IVA", "Total Factura"};
        const int anchos[] = {315, 1200, 1410, 975, 495, 990, 1155};
        const Qt::Alignment alineaciones[] = {Qt::AlignLeft,  Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight,
                                              Qt::AlignRight, Qt::AlignRight,   Qt::AlignRight};
        for (QTableView* v : {Pagos(), Cobros()}) {
            QCOMPARE(v->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QCOMPARE(v->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(v->selectionBehavior(), QAbstractItemView::SelectRows);
            QVERIFY(v->isColumnHidden(0));
            QCOMPARE(v->model()->columnCount(), 7);
            for (int c = 0; c < 7; ++c) {
                QCOMPARE(v->model()->headerData(c, Qt::Horizontal).toString(), titulos[c]);
                QCOMPARE(v->model()->headerData(c, Qt::Horizontal, RolRejilla::Alineacion).toInt(),
                         static_cast<int>(alineaciones[c]));
                if (c > 0)
                    QCOMPARE(v->columnWidth(c), PixelesDeTwips(anchos[c], dpi));
            }
            for (int c : {3, 5, 6})
                QCOMPARE(v->model()->headerData(c, Qt::Horizontal, RolRejilla::Formato).toString(), FormatoMiles);
            QCOMPARE(v->model()->headerData(4, Qt::Horizontal, RolRejilla::Formato).toString(), QString());
        }
        // The VAT sum starts under the VAT column of its grid.
        auto* pagos = Pagos();
        const int xColumnaIva = pagos->mapTo(frm, QPoint(pagos->columnViewportPosition(5), 0)).x();
        QVERIFY(qAbs(Control<QLabel>(frm, "LblTotal(0)")->x() - xColumnaIva) <= 3);
    }

    void etiquetasAntesDeBuscar() {
        // With no date to search, the sums keep their design texts.
        frm = new FacturasFrm();
        QCOMPARE(Etiqueta("LblTotal(0)"), QStringLiteral("9,999,999.00"));
        QCOMPARE(Etiqueta("LblTotal(3)"), QStringLiteral("9,999,999.00"));
        QCOMPARE(Etiqueta("LblDifTotal(0)"), QStringLiteral("9,999,999.99"));
        QCOMPARE(Etiqueta("LblDifTotal(1)"), QStringLiteral("9,999,999.99"));
    }

    void ordenDeTabulacion() {
        Abre();
        Enfoca(Caja(0));
        QStringList visitados{NombreFoco()};
        for (int i = 0; i < 9; ++i) {
            Pulsa(Qt::Key_Tab);
            visitados << NombreFoco();
        }
        QCOMPARE(visitados, QStringList({"TxtOb(0)", "CmbTrimestre", "TxtOb(1)", "TxtOb(2)", "BtnBuscar",
                                         "BtnAceptar", "BtnImprimir", "BtnCerrar", "DBGridPagos", "DBGridCobros"}));
    }

    void facturaNuevaConIntroPorCadaCampo() {
        Abre();
        int filasAntes = -1;
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                QCOMPARE(NombreFoco(), QStringLiteral("CmbTipo"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(1)")->text(), HoyTexto());
                QCOMPARE(Control<QLineEdit>(d, "Txts(5)")->text(), QStringLiteral("21"));
                QVERIFY(!Control<QPushButton>(d, "BtnBorrar")->isEnabled());
                Teclea("C");
                QCOMPARE(Control<QComboBox>(d, "CmbTipo")->currentText(), QStringLiteral("Cobros"));
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(0)"));
                Teclea("F-2024/1");
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(2)"));
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(3)"));
                Teclea("121");
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(4)"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(4)")->text(), QStringLiteral("100,00"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(2)")->text(), QStringLiteral("21,00"));
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(5)"));
                Intro();
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(6)"));
                Teclea("Material de oficina");
                // Then the customer's fields, left empty, and "&Grabar".
                for (const char* campo : {"Txts(10)", "Txts(7)", "Txts(8)", "Txts(9)", "BtnAceptar"}) {
                    Intro();
                    QCOMPARE(NombreFoco(), QString::fromLatin1(campo));
                }
                filasAntes = ContarFacturas();
                QVERIFY(d->isVisible());
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
                QVERIFY(!d->isVisible());
            },
            &hecho);
        Pulsa(Qt::Key_F5);
        QVERIFY(hecho);
        QCOMPARE(filasAntes, 0);
        QCOMPARE(ContarFacturas(), 1);
        QCOMPARE(Pagos()->model()->rowCount(), 0);
        QCOMPARE(Cobros()->model()->rowCount(), 1);
        QCOMPARE(FilaRejilla(Cobros(), 0), QStringList({HoyTexto(), "F-2024/1", "100,00", "21", "21,00", "121,00"}));
        QCOMPARE(Totales(), QStringList({"0.00", "0.00", "21,00", "121,00"}));
        QCOMPARE(Diferencias(), QStringList({"21,00", "121,00"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void dobleClicAbreCambiaYBorra() {
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "21", "121", "100", "21");
        entorno->InsertaFactura("P", "P-2", HoyTexto(), "10", "110", "100", "10");
        Abre();
        QCOMPARE(Pagos()->model()->rowCount(), 2);
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                QCOMPARE(Control<QComboBox>(d, "CmbTipo")->currentText(), QStringLiteral("Pagos"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(0)")->text(), QStringLiteral("P-2"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(3)")->text(), QStringLiteral("110"));
                QVERIFY(Control<QPushButton>(d, "BtnBorrar")->isEnabled());
                Enfoca(Control<QLineEdit>(d, "Txts(0)"));
                Reescribe("P-2b");
                Enfoca(Control<QLineEdit>(d, "Txts(3)"));
                Reescribe("260");
                Intro();  // the VAT amount is there: net and percentage follow
                QCOMPARE(Control<QLineEdit>(d, "Txts(4)")->text(), QStringLiteral("250"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(5)")->text(), QStringLiteral("4"));
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            },
            &hecho);
        DobleClic(Pagos(), 1);
        QVERIFY(hecho);
        QCOMPARE(FilaRejilla(Pagos(), 1), QStringList({HoyTexto(), "P-2b", "250,00", "4", "10,00", "260,00"}));
        QCOMPARE(Totales().mid(0, 2), QStringList({"31,00", "381,00"}));

        hecho = false;
        mensajes->Responde(Respuesta::Si);
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                QCOMPARE(Control<QLineEdit>(d, "Txts(0)")->text(), QStringLiteral("P-1"));
                QTest::mouseClick(Control<QPushButton>(d, "BtnBorrar"), Qt::LeftButton);
                QVERIFY(!d->isVisible());
            },
            &hecho);
        DobleClic(Pagos(), 0);
        QVERIFY(hecho);
        QCOMPARE(mensajes->cuenta(), 1);
        const Mensaje& m = mensajes->ultimo();
        QCOMPARE(m.texto, QStringLiteral("¿Seguro que desea borrar esta factura?"));
        QCOMPARE(m.botones, Botones::SiNo);
        QCOMPARE(m.porDefecto, Respuesta::No);
        QCOMPARE(m.icono, Icono::Ninguno);
        QCOMPARE(m.titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(ContarFacturas(), 1);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(FilaRejilla(Pagos(), 0).at(1), QStringLiteral("P-2b"));
        QCOMPARE(Totales().mid(0, 2), QStringList({"10,00", "260,00"}));
        QCOMPARE(Diferencias(), QStringList({"-10,00", "-260,00"}));
    }

    void clicBajoLasFilasDejaMarcadaLaActual() {
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "21", "121", "100", "21");
        entorno->InsertaFactura("P", "P-2", HoyTexto(), "10", "110", "100", "10");
        Abre();
        QTableView* v = Pagos();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier,
                          v->visualRect(v->model()->index(1, 1)).center());
        const QPoint debajo(20, v->viewport()->height() - 5);
        QVERIFY(!v->indexAt(debajo).isValid());
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, debajo);
        QCOMPARE(v->currentIndex().row(), 1);
        QCOMPARE(v->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(v->selectionModel()->selectedRows().at(0).row(), 1);
        // A double click there opens the row on show as marked.
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) { QCOMPARE(Control<QLineEdit>(d, "Txts(0)")->text(), QStringLiteral("P-2")); },
            &hecho);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, debajo);
        QVERIFY(hecho);
    }

    void noAlBorrarCierraSinBorrar() {
        entorno->InsertaFactura("C", "C-1", HoyTexto(), "21", "121");
        Abre();
        mensajes->Responde(Respuesta::No);
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                Enfoca(Control<QLineEdit>(d, "Txts(0)"));
                Reescribe("cambiado");
                QTest::mouseClick(Control<QPushButton>(d, "BtnBorrar"), Qt::LeftButton);
                QVERIFY(!d->isVisible());
            },
            &hecho);
        DobleClic(Cobros(), 0);
        QVERIFY(hecho);
        QCOMPARE(mensajes->textos(), QStringList({"¿Seguro que desea borrar esta factura?"}));
        QCOMPARE(ContarFacturas(), 1);
        QCOMPARE(FilaRejilla(Cobros(), 0).at(1), QStringLiteral("C-1"));
    }

    void fechaNoValidaBloqueaGrabar() {
        Abre();
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                Teclea("P");
                Enfoca(Control<QLineEdit>(d, "Txts(1)"));
                Reescribe("30/02/2008");
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
                QVERIFY(d->isVisible());
                QCOMPARE(mensajes->textos(), QStringList({"Esa fecha no es válida."}));
                QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
                QCOMPARE(ContarFacturas(), 0);
                Intro();
                QCOMPARE(mensajes->cuenta(), 2);
                QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
                Reescribe("1-2-08");
                Enfoca(Control<QLineEdit>(d, "Txts(3)"));
                Reescribe("121");
                Intro();
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
                QVERIFY(!d->isVisible());
            },
            &hecho);
        QTest::mouseClick(Control<QPushButton>(frm, "BtnAceptar"), Qt::LeftButton);
        QVERIFY(hecho);
        QCOMPARE(mensajes->cuenta(), 2);
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select FECHA_FACTURA, TIPO from FACTURAS"));
        QCOMPARE(rs->Campo(0).Texto(), QStringLiteral("01/02/2008"));
        QCOMPARE(rs->Campo(1).Texto(), QStringLiteral("P"));
    }

    void fechasEntreTrimestresYF3() {
        entorno->InsertaFactura("P", "P-feb", "10/02/2008", "21", "121");
        entorno->InsertaFactura("C", "C-may", "20/05/2008", "42", "242");
        entorno->InsertaFactura("C", "C-jun", "01/06/2008", "1", "2");
        entorno->InsertaFactura("P", "P-ago", "15/08/2008", "7", "8");
        Abre();
        const int trimestre = Trimestre()->currentIndex();
        Enfoca(Caja(1));
        Reescribe("1/2/08");
        Intro();
        QCOMPARE(Caja(1)->text(), QStringLiteral("01/02/2008"));
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(2)"));
        Reescribe("31/5/08");
        Intro();
        QCOMPARE(Caja(2)->text(), QStringLiteral("31/05/2008"));
        QCOMPARE(NombreFoco(), QStringLiteral("BtnBuscar"));
        // Typing dates alone reloads nothing.
        QCOMPARE(Pagos()->model()->rowCount(), 0);
        Pulsa(Qt::Key_F3);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        // Enter on the search button searches as well.
        Conexion->Ejecutar(QStringLiteral("delete from FACTURAS where COD_FACTURA = 'C-may'"));
        Intro();
        QCOMPARE(Cobros()->model()->rowCount(), 0);
        entorno->InsertaFactura("C", "C-may", "20/05/2008", "42", "242");
        Pulsa(Qt::Key_F3);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(Cobros()->model()->rowCount(), 1);
        QCOMPARE(FilaRejilla(Pagos(), 0).at(1), QStringLiteral("P-feb"));
        QCOMPARE(FilaRejilla(Cobros(), 0).at(1), QStringLiteral("C-may"));
        QCOMPARE(Trimestre()->currentIndex(), trimestre);
        QCOMPARE(Diferencias(), QStringList({"21,00", "121,00"}));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void anioDeUnaCifra() {
        const int q = TrimestreHoy();
        const auto r2009 = FechasTrimestre(q, QStringLiteral("2009"));
        entorno->InsertaFactura("P", "P-2009", r2009->hasta, "1", "2");
        Abre();
        QCOMPARE(Pagos()->model()->rowCount(), 0);
        Enfoca(Caja(0));
        Reescribe("9");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(Caja(0)->text(), QStringLiteral("2009"));
        QCOMPARE(Caja(1)->text(), r2009->desde);
        QCOMPARE(Caja(2)->text(), r2009->hasta);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTrimestre"));
        // Enter in the year box does the same and moves to the quarter.
        Enfoca(Caja(0));
        Reescribe("8");
        Intro();
        QCOMPARE(Caja(0)->text(), QStringLiteral("2008"));
        QCOMPARE(Caja(1)->text(), FechasTrimestre(q, QStringLiteral("2008"))->desde);
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTrimestre"));
        Intro();
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(1)"));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void anioQueNoFormaFecha() {
        Abre();
        const QString desde = Caja(1)->text();
        Enfoca(Caja(0));
        Reescribe("0000");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(mensajes->textos(), QStringList({"El año no es válido."}));
        QCOMPARE(Caja(0)->text(), QStringLiteral("0000"));
        QCOMPARE(Caja(1)->text(), desde);
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(0)"));
    }

    void trimestreElegidoConElTeclado() {
        entorno->InsertaFactura("C", "C-1", "15/11/2008", "1", "2");
        Abre();
        Enfoca(Caja(0));
        Reescribe("2008");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTrimestre"));
        Pulsa(Qt::Key_End);
        QCOMPARE(Trimestre()->currentIndex(), 3);
        QCOMPARE(Caja(1)->text(), QStringLiteral("01/10/2008"));
        QCOMPARE(Caja(2)->text(), QStringLiteral("31/12/2008"));
        QCOMPARE(Cobros()->model()->rowCount(), 1);
    }

    void trimestreSinAnio() {
        Abre();
        const QString desde = Caja(1)->text();
        Enfoca(Caja(0));
        Reescribe("");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTrimestre"));
        Pulsa(TrimestreHoy() == 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(mensajes->textos(), QStringList({"El campo año debe estar cubierto."}));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(Caja(1)->text(), desde);
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(0)"));
    }

    void fechaNoValidaEnUnaCaja() {
        Abre();
        Enfoca(Caja(1));
        Reescribe("30/02/2008");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(mensajes->textos(), QStringList({"Esa fecha no es válida."}));
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(1)"));
        QCOMPARE(Caja(1)->text(), QStringLiteral("30/02/2008"));
        Intro();
        QCOMPARE(mensajes->cuenta(), 2);
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(1)"));
        // Neither a search nor the listing goes out with it.
        Pulsa(Qt::Key_F3);
        Pulsa(Qt::Key_F9);
        QCOMPARE(mensajes->cuenta(), 4);
        QVERIFY(!BuscaPantalla("InfFacturasFrm"));
        Reescribe("1/2/8");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(Caja(1)->text(), QStringLiteral("01/02/2008"));
        QCOMPARE(NombreFoco(), QStringLiteral("TxtOb(2)"));
        QCOMPARE(mensajes->cuenta(), 4);
    }

    void fechaVaciaF3yF9() {
        Abre();
        Enfoca(Caja(2));
        Reescribe("");
        Pulsa(Qt::Key_F3);
        QCOMPARE(mensajes->textos(), QStringList({"Seleccione las fechas entre las que visualizar los datos."}));
        Pulsa(Qt::Key_F9);
        QCOMPARE(mensajes->cuenta(), 1);
        QVERIFY(!BuscaPantalla("InfFacturasFrm"));
    }

    void f9AbreElListadoConLasFechas() {
        Abre();
        Enfoca(Caja(1));
        Reescribe("1/1/08");
        Intro();
        Reescribe("31/12/08");
        Intro();
        Pulsa(Qt::Key_F9);
        auto* inf = qobject_cast<InfFacturasFrm*>(BuscaPantalla("InfFacturasFrm"));
        QVERIFY(inf);
        QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(0)")->text(), QStringLiteral("01/01/2008"));
        QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(1)")->text(), QStringLiteral("31/12/2008"));
        inf->close();
    }

    void teclasDeFuncionConMayusculasYControl_data() {
        QTest::addColumn<int>("modificadores");
        QTest::newRow("Mayús") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl") << int(Qt::ControlModifier);
        QTest::newRow("Mayús+Ctrl") << int(Qt::ShiftModifier | Qt::ControlModifier);
    }

    void teclasDeFuncionConMayusculasYControl() {
        QFETCH(int, modificadores);
        const auto m = static_cast<Qt::KeyboardModifiers>(modificadores);
        Abre();
        Enfoca(Caja(1));
        Reescribe("1/1/08");
        Intro();
        Reescribe("31/12/08");
        entorno->InsertaFactura("P", "P-1", "15/08/2008", "1", "2");
        Pulsa(Qt::Key_F3, m);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        Pulsa(Qt::Key_F9, m);
        auto* inf = qobject_cast<InfFacturasFrm*>(BuscaPantalla("InfFacturasFrm"));
        QVERIFY(inf);
        QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(1)")->text(), QStringLiteral("31/12/2008"));
        inf->close();
        Activa(frm);
        Enfoca(Caja(2));
        bool hecho = false;
        CuandoEditor([&](FacturasDatosFrm*) { Pulsa(Qt::Key_Escape); }, &hecho);
        Pulsa(Qt::Key_F5, m);
        QVERIFY(hecho);
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void anioConElFocoSinTocarNoPisaLasFechas_data() {
        QTest::addColumn<int>("tecla");
        QTest::newRow("F3") << int(Qt::Key_F3);
        QTest::newRow("F9") << int(Qt::Key_F9);
        QTest::newRow("Intro") << int(Qt::Key_Return);
        QTest::newRow("Tab") << int(Qt::Key_Tab);
    }

    void anioConElFocoSinTocarNoPisaLasFechas() {
        QFETCH(int, tecla);
        entorno->InsertaFactura("P", "P-feb", "10/02/2008", "21", "121");
        entorno->InsertaFactura("P", "P-ago", "15/08/2008", "7", "8");
        Abre();
        Enfoca(Caja(1));
        Reescribe("1/2/08");
        Intro();
        Reescribe("31/5/08");
        // The year box only passed through: nothing typed there.
        Enfoca(Caja(0));
        Pulsa(static_cast<Qt::Key>(tecla));
        QCOMPARE(Caja(1)->text(), QStringLiteral("01/02/2008"));
        QCOMPARE(Caja(2)->text(), QStringLiteral("31/05/2008"));
        if (tecla == Qt::Key_F3) {
            QCOMPARE(Pagos()->model()->rowCount(), 1);
            QCOMPARE(FilaRejilla(Pagos(), 0).at(1), QStringLiteral("P-feb"));
        }
        if (tecla == Qt::Key_F9) {
            auto* inf = qobject_cast<InfFacturasFrm*>(BuscaPantalla("InfFacturasFrm"));
            QVERIFY(inf);
            QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(0)")->text(), QStringLiteral("01/02/2008"));
            QCOMPARE(Control<QLineEdit>(inf, "TxtGrupo(1)")->text(), QStringLiteral("31/05/2008"));
            inf->close();
        }
        // A year typed there does move the dates to its quarter.
        Enfoca(Caja(0));
        Reescribe("2007");
        Pulsa(Qt::Key_F3);
        QCOMPARE(Caja(1)->text(), FechasTrimestre(Trimestre()->currentIndex(), QStringLiteral("2007"))->desde);
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void importesLargosEnterosAlAgrandarLaVentana() {
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "99.999.999.999", "999.999.999.999");
        entorno->InsertaFactura("P", "P-2", HoyTexto(), "1", "2,5");
        Abre();
        QCOMPARE(Totales().mid(0, 2), QStringList({"100.000.000.000,00", "1.000.000.000.001,50"}));
        QCOMPARE(Diferencias(), QStringList({"-100.000.000.000,00", "-1.000.000.000.001,50"}));
        frm->resize(frm->width() * 8 / 5, frm->height() * 5 / 4);
        QCoreApplication::processEvents();
        for (const char* n : {"LblTotal(0)", "LblTotal(1)", "LblTotal(2)", "LblTotal(3)", "LblDifTotal(0)",
                              "LblDifTotal(1)"}) {
            auto* l = Control<QLabel>(frm, n);
            const QFontMetrics fm = l->fontMetrics();
            QVERIFY2(fm.horizontalAdvance(l->text() + QLatin1Char('x')) <= l->contentsRect().width(), n);
        }
        // The grid's amount columns too, and the sums stay under them.
        QTableView* v = Pagos();
        for (int c : {3, 5, 6}) {
            const QString texto = v->model()->index(0, c).data().toString();
            QVERIFY2(v->fontMetrics().horizontalAdvance(texto + QLatin1String("xx")) <= v->columnWidth(c),
                     qPrintable(texto));
        }
        const int xTotal = v->mapTo(frm, QPoint(v->columnViewportPosition(6), 0)).x();
        QVERIFY(qAbs(Control<QLabel>(frm, "LblTotal(1)")->x() - xTotal) <= 3);
        QCOMPARE(Control<QLabel>(frm, "LblTotal(1)")->width(), v->columnWidth(6));
        // Both grids share the room, side by side within the window.
        QCOMPARE(Cobros()->width(), v->width());
        QVERIFY(v->geometry().right() < Cobros()->x());
        QVERIFY(Cobros()->geometry().right() < frm->width());
    }

    void importeQueNoCabeSeCortaALaVista() {
        entorno->InsertaFactura("C", "C-1", HoyTexto(), "1", "999.999.999.999");
        Abre();
        auto* total = qobject_cast<EtiquetaImporte*>(Control<QLabel>(frm, "LblTotal(3)"));
        QVERIFY(total);
        QCOMPARE(total->text(), QStringLiteral("999.999.999.999,00"));
        // At the design size it does not fit: it shows cut where it is cut.
        QVERIFY(total->TextoVisible().endsWith(QChar(0x2026)));
        QVERIFY(total->TextoVisible().startsWith(QStringLiteral("999.")));
        // One that fits shows whole.
        auto* iva = qobject_cast<EtiquetaImporte*>(Control<QLabel>(frm, "LblTotal(2)"));
        QCOMPARE(iva->TextoVisible(), QStringLiteral("1,00"));
    }

    void dobleClicEnListaVacia() {
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "1", "2");
        Abre();
        QCOMPARE(Cobros()->model()->rowCount(), 0);
        DobleClic(Cobros(), 0);
        QCOMPARE(mensajes->textos(), QStringList({"No ha seleccionado ninguna Factura."}));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void cancelarTambienRecarga() {
        Abre();
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm*) {
                // Saved elsewhere while the editor is open.
                entorno->InsertaFactura("P", "P-otro", HoyTexto(), "1", "2");
                Pulsa(Qt::Key_Escape);
            },
            &hecho);
        Pulsa(Qt::Key_F5);
        QVERIFY(hecho);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(Totales().mid(0, 2), QStringList({"1,00", "2,00"}));
    }

    void palabraIgicEnCadaTitulo() {
        OpcionIva = QStringLiteral("IGIC");
        Abre();
        for (QTableView* v : {Pagos(), Cobros()}) {
            QCOMPARE(v->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("IGIC"));
            QCOMPARE(v->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Importe IGIC"));
            // The renamed columns keep what was set on them by caption.
            QCOMPARE(v->model()->headerData(5, Qt::Horizontal, RolRejilla::Formato).toString(), FormatoMiles);
            QCOMPARE(v->model()->headerData(4, Qt::Horizontal, RolRejilla::Alineacion).toInt(),
                     static_cast<int>(Qt::AlignRight));
        }
        QCOMPARE(Etiqueta("LblDif(0)"), QStringLiteral("IGIC:"));
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                QCOMPARE(Control<QLabel>(d, "Lbls(2)")->text(), QStringLiteral("Importe IGIC"));
                QCOMPARE(Control<QLabel>(d, "Lbls(3)")->text(), QStringLiteral("Importe Total (IGIC incluido)"));
                QCOMPARE(Control<QLabel>(d, "Lbls(5)")->text(), QStringLiteral("% del IGIC"));
            },
            &hecho);
        Pulsa(Qt::Key_F5);
        QVERIFY(hecho);
    }

    void escCierraLaVentana() {
        Abre();
        Enfoca(Caja(1));
        Pulsa(Qt::Key_Escape);
        QVERIFY(!frm || !frm->isVisible());
    }

    void escConFechaNoValidaCierraSinAviso() {
        Abre();
        Enfoca(Caja(2));
        Reescribe("31/04/2008");
        Pulsa(Qt::Key_Escape);
        QVERIFY(!frm || !frm->isVisible());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void escDesdeLaRejilla() {
        Abre();
        Enfoca(Pagos());
        Pulsa(Qt::Key_Escape);
        QVERIFY(!frm || !frm->isVisible());
    }

    void baseDeDatosQueFallaAlCargar() {
        Conexion->Ejecutar(QStringLiteral("alter table FACTURAS rename to FACTURAS_APARTE"));
        Abre();
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
        QVERIFY(mensajes->ultimo().texto.startsWith(QStringLiteral("Se produjo un error: ")));
        QCOMPARE(Pagos()->model()->rowCount(), 0);
        QVERIFY(frm->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        Conexion->Ejecutar(QStringLiteral("alter table FACTURAS_APARTE rename to FACTURAS"));
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "1", "2");
        Pulsa(Qt::Key_F3);
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(Totales().mid(0, 2), QStringList({"1,00", "2,00"}));
    }

    // The connection lost between two searches: no list, sum or difference
    // of the earlier search stays beside the emptied ones.
    void conexionPerdidaVaciaLaPantallaEntera() {
        entorno->InsertaFactura("P", "P-1", HoyTexto(), "21", "121");
        entorno->InsertaFactura("C", "C-1", HoyTexto(), "42", "242");
        Abre();
        QCOMPARE(Diferencias(), QStringList({"21,00", "121,00"}));
        CierraConexion();
        Pulsa(Qt::Key_F3);
        QCOMPARE(mensajes->cuenta(), 1);
        QVERIFY(mensajes->ultimo().texto.contains(QStringLiteral("No hay conexión con la base de datos.")));
        QCOMPARE(Pagos()->model()->rowCount(), 0);
        QCOMPARE(Cobros()->model()->rowCount(), 0);
        QCOMPARE(Totales(), QStringList({"0.00", "0.00", "0.00", "0.00"}));
        QCOMPARE(Diferencias(), QStringList({"0,00", "0,00"}));
        entorno->Conecta();
        Pulsa(Qt::Key_F3);
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(Cobros()->model()->rowCount(), 1);
        QCOMPARE(Diferencias(), QStringList({"21,00", "121,00"}));
    }

    void rechazoAlGrabarMantieneElEditor() {
        Conexion->Ejecutar(QStringLiteral(
            "create trigger RECHAZO before insert on FACTURAS begin select raise(abort, 'disco lleno'); end"));
        Abre();
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                Teclea("P");
                Intro();
                Teclea("F-1");
                Enfoca(Control<QLineEdit>(d, "Txts(3)"));
                Teclea("121");
                Intro();
                Enfoca(Control<QLineEdit>(d, "Txts(6)"));
                Teclea("no se pierde");
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
                QVERIFY(d->isVisible());
                QCOMPARE(mensajes->cuenta(), 1);
                QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
                QVERIFY(mensajes->ultimo().texto.contains(QStringLiteral("disco lleno")));
                QCOMPARE(Control<QLineEdit>(d, "Txts(0)")->text(), QStringLiteral("F-1"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(2)")->text(), QStringLiteral("21,00"));
                QCOMPARE(Control<QLineEdit>(d, "Txts(6)")->text(), QStringLiteral("no se pierde"));
                QCOMPARE(Control<QComboBox>(d, "CmbTipo")->currentText(), QStringLiteral("Pagos"));
                QCOMPARE(QApplication::overrideCursor(), nullptr);
                // Once the database takes it, it is saved and the editor closes.
                Conexion->Ejecutar(QStringLiteral("drop trigger RECHAZO"));
                QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
                QVERIFY(!d->isVisible());
            },
            &hecho);
        Pulsa(Qt::Key_F5);
        QVERIFY(hecho);
        QCOMPARE(Pagos()->model()->rowCount(), 1);
        QCOMPARE(FilaRejilla(Pagos(), 0).last(), QStringLiteral("121,00"));
    }

    void rechazoAlBorrarMantieneElEditor() {
        entorno->InsertaFactura("C", "C-1", HoyTexto(), "21", "121");
        Conexion->Ejecutar(QStringLiteral(
            "create trigger RECHAZO before delete on FACTURAS begin select raise(abort, 'bloqueada'); end"));
        Abre();
        mensajes->Responde(Respuesta::Si);
        bool hecho = false;
        CuandoEditor(
            [&](FacturasDatosFrm* d) {
                QTest::mouseClick(Control<QPushButton>(d, "BtnBorrar"), Qt::LeftButton);
                QVERIFY(d->isVisible());
                QCOMPARE(mensajes->cuenta(), 2);
                QVERIFY(mensajes->ultimo().texto.contains(QStringLiteral("bloqueada")));
                QCOMPARE(Control<QLineEdit>(d, "Txts(0)")->text(), QStringLiteral("C-1"));
            },
            &hecho);
        DobleClic(Cobros(), 0);
        QVERIFY(hecho);
        QCOMPARE(ContarFacturas(), 1);
        QCOMPARE(Cobros()->model()->rowCount(), 1);
    }
};

QTEST_MAIN(PruebaFacturasFrm)
#include "FacturasFrm_qtest.moc"
