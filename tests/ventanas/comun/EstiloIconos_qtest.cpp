// The icons of Qt's built-in style, served by the program as PNG files read
// by name: the same pictures, and a main window shown without loading a
// single picture plugin.
#include "ventanas/comun/Recursos.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include <memory>

class PruebaEstiloIconos : public QObject {
    Q_OBJECT

private slots:
    // First, before any test here decodes a picture the plugins' way.
    void VentanaSinComplementosDeImagen() {
        InstalaEstiloIconos();
        QMainWindow v;
        v.menuBar()->addMenu(QStringLiteral("&Archivo"));
        auto* area = new QMdiArea;
        v.setCentralWidget(area);
        area->addSubWindow(new QWidget)->show();
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QFile mapas(QStringLiteral("/proc/self/maps"));
        if (!mapas.open(QIODevice::ReadOnly))
            QSKIP("the process's map is read from /proc");
        QVERIFY2(!mapas.readAll().contains("/imageformats/"), "a picture plugin was loaded");
    }

    void MismosDibujosQueElEstilo_data() {
        QTest::addColumn<int>("icono");
        QTest::addColumn<bool>("derecha");
        for (auto i : {QStyle::SP_TitleBarMaxButton, QStyle::SP_TitleBarShadeButton, QStyle::SP_TitleBarUnshadeButton,
                       QStyle::SP_TitleBarContextHelpButton, QStyle::SP_ToolBarHorizontalExtensionButton,
                       QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarCloseButton})
            QTest::addRow("%d", int(i)) << int(i) << false;
        QTest::addRow("flecha de derecha a izquierda") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << true;
    }
    void MismosDibujosQueElEstilo() {
        QFETCH(int, icono);
        QFETCH(bool, derecha);
        InstalaEstiloIconos();
        const std::unique_ptr<QStyle> qt(QStyleFactory::create(QStringLiteral("fusion")));
        QStyleOption opcion;
        opcion.direction = derecha ? Qt::RightToLeft : Qt::LeftToRight;
        const auto sp = static_cast<QStyle::StandardPixmap>(icono);
        const QIcon nuestro = QApplication::style()->standardIcon(sp, &opcion);
        const QIcon suyo = qt->standardIcon(sp, &opcion);
        QCOMPARE(nuestro.availableSizes(), suyo.availableSizes());
        QVERIFY(!suyo.availableSizes().isEmpty());
        for (QSize t : suyo.availableSizes() + QList<QSize>{{12, 12}, {64, 64}, {40, 25}}) {
            QCOMPARE(nuestro.actualSize(t), suyo.actualSize(t));
            QCOMPARE(nuestro.pixmap(t).toImage().convertToFormat(QImage::Format_ARGB32),
                     suyo.pixmap(t).toImage().convertToFormat(QImage::Format_ARGB32));
        }
    }
};

QTEST_MAIN(PruebaEstiloIconos)
#include "EstiloIconos_qtest.moc"
