// The form utilities on real boxes: typed keys, paste and drop through the
// same filters, placing forms, entering fields and the empty-box check.
#include "ApoyoPantallas.h"

#include "ventanas/comun/Utiles.h"

#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScreen>
#include <QTest>

Q_DECLARE_METATYPE(Utiles::Filtro)

class PruebaUtiles : public QObject {
    Q_OBJECT

    static void Suelta(QLineEdit* c, const QString& texto) {
        QMimeData datos;
        datos.setText(texto);
        QDragEnterEvent entra(QPoint(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(c, &entra);
        QDropEvent suelta(QPointF(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(c, &suelta);
    }

private slots:
    void FiltrosDeTeclas_data() {
        QTest::addColumn<int>("filtro");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("queda");
        QTest::newRow("fecha con letras") << 0 << "12/ab03-2008.x" << "12/03-2008.";
        QTest::newRow("fecha sin comillas") << 0 << "1'/3\"" << "1/3";
        QTest::newRow("entero") << 1 << "1a2,3-4 5" << "12345";
        QTest::newRow("importe una coma") << 2 << "12,5,6" << "12,56";
        QTest::newRow("importe menos delante") << 2 << "-12-3" << "-123";
        QTest::newRow("importe menos detras") << 2 << "12-" << "12";
        QTest::newRow("importe sin letras ni apostrofo") << 2 << "1'0e3" << "103";
    }

    void FiltrosDeTeclas() {
        QFETCH(int, filtro);
        QFETCH(QString, texto);
        QFETCH(QString, queda);
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, static_cast<Utiles::Filtro>(filtro));
        c.show();
        QTest::keyClicks(&c, texto);
        QCOMPARE(c.text(), queda);
    }

    void TeclasDeEdicionPasanSiempre() {
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, Utiles::Filtro::Entero);
        c.show();
        QTest::keyClicks(&c, QStringLiteral("1234"));
        QTest::keyClick(&c, Qt::Key_Backspace);
        QTest::keyClick(&c, Qt::Key_Home);
        QTest::keyClick(&c, Qt::Key_Delete);
        QTest::keyClick(&c, Qt::Key_End);
        QTest::keyClick(&c, Qt::Key_Left);
        QTest::keyClicks(&c, QStringLiteral("9"));
        QCOMPARE(c.text(), QStringLiteral("293"));
        // The key codes themselves.
        for (int t : {8, 9, 13, 27, 3, 22, 24, 127}) {
            int a = t, b = t, e = t;
            ObjUtiles().TeclaFecha(a);
            ObjUtiles().TeclaEntero(b);
            ObjUtiles().TeclaImporte(e, QStringLiteral("-1,5"));
            QCOMPARE(a, t);
            QCOMPARE(b, t);
            QCOMPARE(e, t);
        }
        int coma = ',';
        ObjUtiles().TeclaImporte(coma, QStringLiteral("1,5"));
        QCOMPARE(coma, 0);
        int letra = 'a';
        ObjUtiles().TeclaFecha(letra);
        QCOMPARE(letra, 0);
    }

    void ImporteSobreSeleccion() {
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, Utiles::Filtro::Importe);
        c.show();
        QTest::keyClicks(&c, QStringLiteral("12,5"));
        c.selectAll();
        // The comma of the text being replaced does not count.
        QTest::keyClicks(&c, QStringLiteral("-0,7"));
        QCOMPARE(c.text(), QStringLiteral("-0,7"));
    }

    void ComaDelTecladoNumerico() {
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, Utiles::Filtro::Importe);
        c.show();
        QTest::keyClicks(&c, QStringLiteral("12"));
        QTest::keyClick(&c, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClicks(&c, QStringLiteral("5"));
        QTest::keyClick(&c, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(c.text(), QStringLiteral("12,5"));
        // The main keyboard's point is not part of an amount typed by hand.
        QTest::keyClick(&c, Qt::Key_Period);
        QCOMPARE(c.text(), QStringLiteral("12,5"));
    }

    void MenosSoloAlPrincipio() {
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, Utiles::Filtro::Importe);
        c.show();
        QTest::keyClicks(&c, QStringLiteral("125"));
        c.setSelection(1, 2);
        QTest::keyClicks(&c, QStringLiteral("-"));
        QCOMPARE(c.text(), QStringLiteral("125"));
        c.setSelection(0, 1);
        QTest::keyClicks(&c, QStringLiteral("-"));
        QCOMPARE(c.text(), QStringLiteral("-25"));
    }

    void PegarYSoltarPasanPorElFiltro_data() {
        QTest::addColumn<Utiles::Filtro>("filtro");
        QTest::addColumn<QString>("pegado");
        QTest::addColumn<QString>("queda");
        QTest::newRow("fecha buena") << Utiles::Filtro::Fecha << "15/03/2008" << "15/03/2008";
        QTest::newRow("fecha con apostrofo") << Utiles::Filtro::Fecha << "15'03" << "";
        QTest::newRow("fecha con letras") << Utiles::Filtro::Fecha << "hoy" << "";
        QTest::newRow("entero bueno") << Utiles::Filtro::Entero << "2008" << "2008";
        QTest::newRow("entero con signo") << Utiles::Filtro::Entero << "-5" << "";
        QTest::newRow("importe bueno") << Utiles::Filtro::Importe << "-1.234,50" << "-1.234,50";
        QTest::newRow("importe dos comas") << Utiles::Filtro::Importe << "1,2,3" << "";
        QTest::newRow("importe inyeccion") << Utiles::Filtro::Importe << "1' or '1'='1" << "";
    }

    void PegarYSoltarPasanPorElFiltro() {
        QFETCH(Utiles::Filtro, filtro);
        QFETCH(QString, pegado);
        QFETCH(QString, queda);
        QLineEdit c;
        ObjUtiles().AsignaFiltro(&c, filtro);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QApplication::clipboard()->setText(pegado);
        QTest::keyClick(&c, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c.text(), queda);
        c.clear();
        Suelta(&c, pegado);
        QCOMPARE(c.text(), queda);
    }

    void PreparaFormularioCentraSobreLaReferencia() {
        QWidget ref;
        ref.setGeometry(100, 80, 600, 400);
        ref.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ref));
        QDialog d(&ref);
        d.resize(200, 120);
        ObjUtiles().PreparaFormulario(&d, &ref);
        QCOMPARE(d.size(), QSize(200, 120));
        const QPoint centro = QRect(d.pos(), d.frameGeometry().size()).center();
        QVERIFY((centro - ref.frameGeometry().center()).manhattanLength() <= 2);
    }

    void PreparaFormularioSinReferenciaCentraEnPantalla() {
        QDialog d;
        d.resize(300, 150);
        ObjUtiles().PreparaFormulario(&d, nullptr);
        const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint centro = QRect(d.pos(), d.frameGeometry().size()).center();
        QVERIFY((centro - pantalla.center()).manhattanLength() <= 2);
        // A form larger than the screen keeps its title bar on it.
        QDialog grande;
        grande.resize(pantalla.width() + 300, pantalla.height() + 300);
        ObjUtiles().PreparaFormulario(&grande, nullptr);
        QCOMPARE(grande.pos(), pantalla.topLeft());
    }

    void PreparaFormularioMDICentraEnElMarco() {
        QMainWindow v;
        auto* area = new QMdiArea(&v);
        v.setCentralWidget(area);
        v.resize(800, 600);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        auto* hija = new QWidget();
        hija->resize(200, 100);
        ObjUtiles().PreparaFormularioMDI(hija, &v);  // not in the frame yet: asks for it
        QVERIFY(Utiles::PideCentrarEnMarco(hija));
        QMdiSubWindow* sub = area->addSubWindow(hija);
        sub->show();
        ObjUtiles().PreparaFormularioMDI(hija, &v);
        const QSize zona = area->viewport()->size();
        QCOMPARE(sub->pos(), QPoint((zona.width() - sub->width()) / 2, (zona.height() - sub->height()) / 2));
    }

    void EntraCampoSeleccionaTodo() {
        QLineEdit c;
        c.setText(QStringLiteral("12/03/2008"));
        c.show();
        c.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c));
        c.setFocus();
        c.deselect();
        ObjUtiles().EntraCampo(&c);
        QCOMPARE(c.selectedText(), QStringLiteral("12/03/2008"));
        // Still selected after the focus came from a click.
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
        ObjUtiles().EntraCampo(&c);
        QTRY_COMPARE(c.selectedText(), QStringLiteral("12/03/2008"));
        ObjUtiles().EntraCampo(nullptr);
    }

    void CamposVacios_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("vacio");
        QTest::newRow("llenos") << "01/01/2008" << "31/03/2008" << false;
        QTest::newRow("primero vacio") << "" << "31/03/2008" << true;
        QTest::newRow("segundo vacio") << "01/01/2008" << "" << true;
        QTest::newRow("solo blancos") << "01/01/2008" << "   " << true;
    }

    void CamposVacios() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, vacio);
        QLineEdit x(a), y(b);
        QCOMPARE(ObjUtiles().CamposVacios({&x, &y}, 0, 0, 0), vacio);
    }

    void UnaSolaInstancia() { QCOMPARE(&ObjUtiles(), &ObjUtiles()); }
};

QTEST_MAIN(PruebaUtiles)
#include "Utiles_qtest.moc"
