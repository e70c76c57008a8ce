// The lock keys' state. Offscreen it follows the keys pressed; on X11 (run
// this program under xvfb-run with QT_QPA_PLATFORM=xcb) the keyboard's lock
// state itself is read.
#include "ventanas/comun/EstadoTeclas.h"

#include <QGuiApplication>
#include <QLibrary>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

class PruebaEstadoTeclas : public QObject {
    Q_OBJECT

    static bool EsX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

private slots:
    void InsertCambiaCadaVez() {
        QLineEdit caja;
        caja.show();
        caja.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&caja));
        EstadoTeclas e;
        QSignalSpy cambios(&e, &EstadoTeclas::Cambiado);
        QVERIFY(!e.Insertar());
        QTest::keyClick(caja.windowHandle(), Qt::Key_Insert);
        QVERIFY(e.Insertar());
        QTest::keyClick(&caja, Qt::Key_Insert);
        QVERIFY(!e.Insertar());
        QCOMPARE(cambios.count(), 2);
        // Other keys change nothing.
        QTest::keyClicks(&caja, QStringLiteral("ab"));
        QCOMPARE(cambios.count(), 2);
    }

    void BloqueosSinLedsSiguenLasTeclas() {
        if (EsX11())
            QSKIP("the X server's lock state has the last word here");
        QLineEdit caja;
        caja.show();
        caja.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&caja));
        EstadoTeclas e;
        QTest::keyClick(&caja, Qt::Key_CapsLock);
        QVERIFY(e.BloqMayus());
        QTest::keyClick(&caja, Qt::Key_NumLock);
        QVERIFY(e.BloqNum());
        QTest::keyClick(&caja, Qt::Key_CapsLock);
        QVERIFY(!e.BloqMayus());
        QVERIFY(e.BloqNum());
    }

    void X11LeeElEstadoDelTeclado() {
        if (!EsX11())
            QSKIP("needs an X server (xvfb-run, QT_QPA_PLATFORM=xcb)");
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        QVERIFY(x11 && x11->display());
        QLibrary lib(QStringLiteral("X11"), 6);
        auto bloquea = reinterpret_cast<int (*)(void*, unsigned, unsigned, unsigned)>(lib.resolve("XkbLockModifiers"));
        auto sincroniza = reinterpret_cast<int (*)(void*, int)>(lib.resolve("XSync"));
        QVERIFY(bloquea && sincroniza);
        const unsigned kTecladoPrincipal = 0x100, kMayus = 2, kNum = 16;
        struct Caso { unsigned mascara; bool num, mayus; };
        for (Caso c : {Caso{kMayus, false, true}, Caso{kNum, true, false}, Caso{kMayus | kNum, true, true},
                       Caso{0, false, false}}) {
            bloquea(x11->display(), kTecladoPrincipal, kMayus | kNum, c.mascara);
            sincroniza(x11->display(), 0);
            EstadoTeclas e;
            QCOMPARE(e.BloqNum(), c.num);
            QCOMPARE(e.BloqMayus(), c.mayus);
            // A running status bar sees the change on its next look.
            bloquea(x11->display(), kTecladoPrincipal, kMayus | kNum, c.mascara ^ kMayus);
            sincroniza(x11->display(), 0);
            QSignalSpy cambios(&e, &EstadoTeclas::Cambiado);
            e.Actualiza();
            QCOMPARE(e.BloqMayus(), !c.mayus);
            QCOMPARE(cambios.count(), 1);
        }
        bloquea(x11->display(), kTecladoPrincipal, kMayus | kNum, 0);
        sincroniza(x11->display(), 0);
    }
};

QTEST_MAIN(PruebaEstadoTeclas)
#include "EstadoTeclas_qtest.moc"
