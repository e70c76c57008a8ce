// The common form of a browsing grid.
#include "ventanas/comun/Rejilla.h"
#include "dominio/comun/RejillaLogica.h"

#include <QTableView>
#include <QtTest>

class PruebaRejilla : public QObject {
    Q_OBJECT

private slots:
    void alineaPorElCampoYSoloLeer() {
        ModeloRegistros m({{"ID", "Id", Qt::AlignRight, QString()},
                           {"COD_FACTURA", "Factura", Qt::AlignLeft, QString()},
                           {"FECHA_FACTURA", "Fecha", Qt::AlignLeft, QString()},
                           {"TOTALES", "Totales", Qt::AlignRight, QString()},
                           {"importe_neto", "Neto", Qt::AlignRight, FormatoMiles}});
        QTableView v;
        v.setModel(&m);
        FormatearRejilla(&v, false);
        const Qt::Alignment esperadas[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft,
                                           Qt::AlignLeft};
        for (int c = 0; c < 5; ++c)
            QCOMPARE(m.headerData(c, Qt::Horizontal, RolRejilla::Alineacion).toInt(), static_cast<int>(esperadas[c]));
        // Captions and formats are the screen's business.
        QCOMPARE(m.headerData(4, Qt::Horizontal, RolRejilla::Formato).toString(), FormatoMiles);
        QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Factura"));
        QCOMPARE(v.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(v.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(v.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(v.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(v.selectionMode(), QAbstractItemView::SingleSelection);
    }

    void sinMarcoYSinColumnas() {
        QTableView v;
        FormatearRejilla(&v, true);
        QCOMPARE(v.selectionMode(), QAbstractItemView::NoSelection);
        ModeloRegistros vacio({});
        v.setModel(&vacio);
        FormatearRejilla(&v, true);
        QCOMPARE(v.editTriggers(), QAbstractItemView::NoEditTriggers);
        FormatearRejilla(nullptr, false);
    }

    void ajustesPorTitulo() {
        ModeloRegistros m({{"IVA", "IVA", Qt::AlignLeft, QString()}});
        QTableView v;
        v.setModel(&m);
        AlineaColumna(&v, QStringLiteral("IVA"), Qt::AlignRight);
        FormatoColumna(&v, QStringLiteral("IVA"), FormatoMiles);
        TituloColumna(&v, QStringLiteral("IVA"), QStringLiteral("IGIC"));
        QCOMPARE(ColumnaPorTitulo(&v, QStringLiteral("IVA")), -1);
        QCOMPARE(ColumnaPorTitulo(&v, QStringLiteral("IGIC")), 0);
        QCOMPARE(m.headerData(0, Qt::Horizontal, RolRejilla::Alineacion).toInt(), static_cast<int>(Qt::AlignRight));
        QCOMPARE(m.headerData(0, Qt::Horizontal, RolRejilla::Formato).toString(), FormatoMiles);
        // A caption nobody carries changes nothing.
        AlineaColumna(&v, QStringLiteral("IVA"), Qt::AlignLeft);
        QCOMPARE(m.headerData(0, Qt::Horizontal, RolRejilla::Alineacion).toInt(), static_cast<int>(Qt::AlignRight));
    }
};

QTEST_MAIN(PruebaRejilla)
#include "Rejilla_qtest.moc"
