// The faces the screens name resolve to installed look-alikes.
#include "informes/Fuentes.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>

class PruebaFuentes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void CadaCaraTieneSustituto_data() {
        QTest::addColumn<QString>("cara");
        QTest::addColumn<QStringList>("validas");
        QTest::newRow("Arial") << "Arial" << QStringList{"Arial", "Liberation Sans", "DejaVu Sans"};
        QTest::newRow("Verdana") << "Verdana" << QStringList{"Verdana", "DejaVu Sans"};
        QTest::newRow("Tahoma") << "Tahoma" << QStringList{"Tahoma", "DejaVu Sans"};
        QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                       << QStringList{"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
    }

    void CadaCaraTieneSustituto() {
        QFETCH(QString, cara);
        QFETCH(QStringList, validas);
        const QFont f = Fuente(cara, 9, true);
        QCOMPARE(f.family(), cara);
        QCOMPARE(f.pointSizeF(), 9.0);
        QVERIFY(f.bold());
        const QString real = QFontInfo(f).family();
        QVERIFY2(validas.contains(real), qPrintable(cara + QStringLiteral(" -> ") + real));
    }

    // Bold labels must read as bold: the ink of a bold line exceeds that of the regular one.
    void LaNegritaSeVeMasGruesa_data() {
        QTest::addColumn<QString>("cara");
        for (const char* c : {"Tahoma", "Arial", "Verdana", "MS Sans Serif"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }

    void LaNegritaSeVeMasGruesa() {
        QFETCH(QString, cara);
        auto tinta = [](const QFont& f) {
            QImage im(400, 40, QImage::Format_RGB32);
            im.fill(Qt::white);
            QPainter p(&im);
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(5, 30, QStringLiteral("Cobrado - Pagado ->"));
            p.end();
            int n = 0;
            for (int y = 0; y < im.height(); ++y)
                for (int x = 0; x < im.width(); ++x)
                    n += qGray(im.pixel(x, y)) < 128;
            return n;
        };
        const int normal = tinta(Fuente(cara, 8));
        const int negrita = tinta(Fuente(cara, 8, true));
        QVERIFY2(negrita > normal * 11 / 10, qPrintable(QStringLiteral("%1 / %2").arg(negrita).arg(normal)));
    }

    void DosVecesNoCambiaNada() {
        const QStringList antes = QFont::substitutes(QStringLiteral("Arial"));
        InstalaSustitutosFuentes();
        QCOMPARE(QFont::substitutes(QStringLiteral("Arial")), antes);
    }
};

QTEST_MAIN(PruebaFuentes)
#include "Fuentes_qtest.moc"
