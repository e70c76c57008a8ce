// The faces the screens name resolve to installed look-alikes.
#include "ui/common/Fuentes.h"

#include <QFontInfo>
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

    void DosVecesNoCambiaNada() {
        const QStringList antes = QFont::substitutes(QStringLiteral("Arial"));
        InstalaSustitutosFuentes();
        QCOMPARE(QFont::substitutes(QStringLiteral("Arial")), antes);
    }
};

QTEST_MAIN(PruebaFuentes)
#include "Fuentes_qtest.moc"
