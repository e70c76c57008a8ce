// The about box: its texts, the hover state of its two links and where a click sends them.
#include "ApoyoPantallas.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/principal/AcercaDeFrm.h"
#include "dominio/principal/AcercaDeLogica.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

class Receptor : public QObject {
    Q_OBJECT
public:
    QList<QUrl> abiertas;
public slots:
    void Abre(const QUrl& u) { abiertas << u; }
};

class PruebaAcercaDe : public QObject {
    Q_OBJECT
    const QColor enlace{68, 109, 217};

    static void Sobre(QWidget* w, QPoint p = QPoint(3, 3)) { QTest::mouseMove(w, p); }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void Textos() {
        AcercaDeFrm d;
        QCOMPARE(d.objectName(), QStringLiteral("AcercaDeFrm"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Acerca de Fiscalino"));
        QCOMPARE(d.size(), QSize(Px(5010), Px(3705)));
        const QStringList rotulos{"Título de la aplicación", "Descripción de la aplicación", "Desarrollada por",
                                  "Versión", "e-Mail", "Web"};
        for (int i = 0; i < 6; ++i) {
            auto* l = d.findChild<QLabel*>(QStringLiteral("Lbls(%1)").arg(i));
            QVERIFY(l);
            QCOMPARE(l->text(), rotulos[i]);
            QVERIFY(l->font().bold());
            QCOMPARE(l->palette().color(QPalette::Window), QColor(0xD9, 0xEE, 0xFF));
        }
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("LblTexto(1)"))->text(),
                 QStringLiteral("Fiscalino  -  Declaración Trimestral del IVA"));
        QCOMPARE(Control<QLabel>(&d, "LblVersion")->text(), QStringLiteral("Versión 1.0"));
        QCOMPARE(Control<QLabel>(&d, "LblDescripcion")->text(),
                 QStringLiteral("Programa sencillo para llevar un control de la declaración trimestral del IVA"));
        QCOMPARE(Control<QLabel>(&d, "LblAutor")->text(), IdentidadPrograma().autor);
        QCOMPARE(Control<QLabel>(&d, "LblEmail")->text(), IdentidadPrograma().correo);
        QVERIFY(Control<QLabel>(&d, "LblWeb")->text().startsWith(QStringLiteral("https://")));
        QVERIFY(!Control<QLabel>(&d, "Picture1")->pixmap().isNull());
        QCOMPARE(Control<QPushButton>(&d, "BtnAceptar")->text(), QStringLiteral("Aceptar"));
    }

    void CadaLineaCabeEntera() {
        AcercaDeFrm d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QList<QLabel*> lineas{d.findChild<QLabel*>(QStringLiteral("LblTexto(1)")), Control<QLabel>(&d, "LblVersion"), Control<QLabel>(&d, "LblAutor"),
                                    Control<QLabel>(&d, "LblEmail"), Control<QLabel>(&d, "LblWeb")};
        QList<QLabel*> todas = lineas;
        for (int i = 0; i < 6; ++i)
            todas << d.findChild<QLabel*>(QStringLiteral("Lbls(%1)").arg(i));
        for (QLabel* l : todas) {
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                     qPrintable(l->objectName()));
            QVERIFY2(l->geometry().right() < d.width(), qPrintable(l->objectName()));
        }
        // Still where the design puts them.
        QCOMPARE(lineas[0]->pos(), RectTwips(1140, 435, 3075, 195).topLeft());
    }

    void SubrayadoHastaCruzarElFondo() {
        AcercaDeFrm d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QVERIFY(!AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblEmail")));
        QCOMPARE(Control<QLabel>(&d, "LblEmail")->palette().color(QPalette::WindowText), QColor(Qt::black));

        Sobre(Control<QLabel>(&d, "LblEmail"));
        QTRY_VERIFY(AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblEmail")));
        QCOMPARE(Control<QLabel>(&d, "LblEmail")->palette().color(QPalette::WindowText), enlace);
        QCOMPARE(Control<QLabel>(&d, "LblEmail")->cursor().shape(), Qt::WhatsThisCursor);
        // Straight onto the other link: both stay underlined.
        Sobre(Control<QLabel>(&d, "LblWeb"));
        QTRY_VERIFY(AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblWeb")));
        QVERIFY(AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblEmail")));
        // Over another label or the button: no change.
        Sobre(Control<QLabel>(&d, "Lbls(0)"));
        Sobre(Control<QPushButton>(&d, "BtnAceptar"), QPoint(5, 5));
        QVERIFY(AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblEmail")));
        // Moving again over an underlined link changes nothing.
        Sobre(Control<QLabel>(&d, "LblWeb"), QPoint(6, 4));
        QVERIFY(AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblWeb")));
        // The background ends the hover of both.
        Sobre(&d, QPoint(d.width() - 4, Px(2500)));
        QTRY_VERIFY(!AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblEmail")));
        QVERIFY(!AcercaDeFrm::Subrayado(Control<QLabel>(&d, "LblWeb")));
        QCOMPARE(Control<QLabel>(&d, "LblWeb")->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(Control<QLabel>(&d, "LblWeb")->cursor().shape(), Qt::ArrowCursor);
    }

    void ClicsAbrenCorreoYWeb() {
        Receptor r;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &r, "Abre");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &r, "Abre");
        AcercaDeFrm d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(Control<QLabel>(&d, "LblEmail"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(Control<QLabel>(&d, "LblWeb"), Qt::LeftButton, {}, QPoint(3, 3));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(r.abiertas, (QList<QUrl>{QUrl(QStringLiteral("mailto:") + IdentidadPrograma().correo),
                                          QUrl(IdentidadPrograma().enlaceWeb)}));
    }

    void EscEnterYAceptarCierran_data() {
        QTest::addColumn<int>("tecla");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("clic") << 0;
    }

    void EscEnterYAceptarCierran() {
        QFETCH(int, tecla);
        AcercaDeFrm d;
        bool cerrado = false;
        AlAbrirModal([&](QWidget* m) {
            QCOMPARE(m, static_cast<QWidget*>(&d));
            if (tecla)
                QTest::keyClick(m, Qt::Key(tecla));
            else
                QTest::mouseClick(Control<QPushButton>(&d, "BtnAceptar"), Qt::LeftButton);
            cerrado = !d.isVisible();
            if (!cerrado)
                d.reject();
        });
        d.exec();
        QVERIFY(cerrado);
    }
};

QTEST_MAIN(PruebaAcercaDe)
#include "AcercaDeFrm_qtest.moc"
