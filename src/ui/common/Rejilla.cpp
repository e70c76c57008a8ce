#include "ui/common/Rejilla.h"

#include "ui/common/AlineacionLogica.h"
#include "ui/common/RejillaLogica.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

namespace {
Qt::Alignment AlineacionQt(Alineacion a) {
    switch (a) {
    case Alineacion::Derecha: return Qt::AlignRight;
    case Alineacion::Centro: return Qt::AlignHCenter;
    case Alineacion::Izquierda: break;
    }
    return Qt::AlignLeft;
}
}  // namespace

void FormatearRejilla(QTableView* Rejilla, bool SinMarco) {
    if (!Rejilla)
        return;
    Rejilla->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Rejilla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Rejilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rejilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    Rejilla->setSelectionMode(SinMarco ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    QAbstractItemModel* m = Rejilla->model();
    if (!m)
        return;
    for (int c = 0; c < m->columnCount(); ++c) {
        const QString campo = m->headerData(c, Qt::Horizontal, RolRejilla::Campo).toString();
        m->setHeaderData(c, Qt::Horizontal, static_cast<int>(AlineacionQt(AlineacionColumna(campo))), RolRejilla::Alineacion);
    }
}

int ColumnaPorTitulo(const QTableView* rejilla, const QString& titulo) {
    QAbstractItemModel* m = rejilla ? rejilla->model() : nullptr;
    if (!m)
        return -1;
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == titulo)
            return c;
    return -1;
}

void AlineaColumna(QTableView* rejilla, const QString& titulo, Qt::Alignment alineacion) {
    int c = ColumnaPorTitulo(rejilla, titulo);
    if (c >= 0)
        rejilla->model()->setHeaderData(c, Qt::Horizontal, static_cast<int>(alineacion), RolRejilla::Alineacion);
}

void FormatoColumna(QTableView* rejilla, const QString& titulo, const QString& formato) {
    int c = ColumnaPorTitulo(rejilla, titulo);
    if (c >= 0)
        rejilla->model()->setHeaderData(c, Qt::Horizontal, formato, RolRejilla::Formato);
}

void TituloColumna(QTableView* rejilla, const QString& titulo, const QString& nuevo) {
    int c = ColumnaPorTitulo(rejilla, titulo);
    if (c >= 0)
        rejilla->model()->setHeaderData(c, Qt::Horizontal, nuevo, Qt::DisplayRole);
}
