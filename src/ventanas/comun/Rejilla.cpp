#include "ventanas/comun/Rejilla.h"

#include "dominio/comun/AlineacionLogica.h"
#include "ventanas/comun/Medidas.h"
#include "dominio/comun/RejillaLogica.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
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

// A click below the last row clears the view's selection but leaves its
// current row, which a double click then opens: that row stays marked.
void MarcaSiempreLaFilaActual(QTableView* rejilla) {
    QItemSelectionModel* seleccion = rejilla->selectionModel();
    if (!seleccion || seleccion->property("fiscalino_marca").toBool())
        return;
    seleccion->setProperty("fiscalino_marca", true);
    QObject::connect(seleccion, &QItemSelectionModel::selectionChanged, rejilla, [seleccion] {
        const QModelIndex actual = seleccion->currentIndex();
        if (actual.isValid() && !seleccion->hasSelection())
            seleccion->select(actual, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    });
}
}  // namespace

void PreparaRejilla(QTableView* rejilla) {
    rejilla->verticalHeader()->hide();
    rejilla->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    rejilla->verticalHeader()->setDefaultSectionSize(Px(240));
    rejilla->horizontalHeader()->setHighlightSections(false);
    rejilla->horizontalHeader()->setFixedHeight(Px(270));
    rejilla->setWordWrap(false);
    rejilla->setTabKeyNavigation(false);
}

void FormatearRejilla(QTableView* Rejilla, bool SinMarco) {
    if (!Rejilla)
        return;
    Rejilla->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Rejilla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Rejilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rejilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    Rejilla->setSelectionMode(SinMarco ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    if (!SinMarco)
        MarcaSiempreLaFilaActual(Rejilla);
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
