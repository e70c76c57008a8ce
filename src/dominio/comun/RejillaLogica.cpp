#include "dominio/comun/RejillaLogica.h"

#include "base/Formatos.h"
#include "datos/ConexionBD.h"


const QString FormatoMiles = QStringLiteral("#,##0.00");

ModeloRegistros::ModeloRegistros(QVector<ColumnaRejilla> columnas, QObject* parent)
    : QAbstractTableModel(parent), columnas_(std::move(columnas)), origen_(columnas_.size(), -1) {}

void ModeloRegistros::EstableceRegistros(const Registros* rs) {
    beginResetModel();
    rs_ = rs;
    for (int c = 0; c < columnas_.size(); ++c)
        origen_[c] = rs_ ? rs_->IndiceColumna(columnas_[c].campo) : -1;
    endResetModel();
}

int ModeloRegistros::ColumnaPorCampo(const QString& campo) const {
    for (int c = 0; c < columnas_.size(); ++c)
        if (columnas_[c].campo.compare(campo, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QString ModeloRegistros::TextoCampo(int fila, const QString& campo) const {
    if (!rs_ || fila < 0 || fila >= rs_->NumFilas())
        return QString();
    int c = rs_->IndiceColumna(campo);
    return c < 0 ? QString() : rs_->Celda(fila, c).Texto();
}

QString ModeloRegistros::TextoCelda(int fila, int columna) const {
    if (!rs_ || fila < 0 || fila >= rs_->NumFilas() || columna < 0 || columna >= columnas_.size())
        return QString();
    int c = origen_[columna];
    if (c < 0)
        return QString();
    const Valor& v = rs_->Celda(fila, c);
    if (v.EsNumero() && columnas_[columna].formato == FormatoMiles)
        return FormatoImporte(v.Numero());
    return v.Texto();
}

int ModeloRegistros::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !rs_ ? 0 : rs_->NumFilas();
}

int ModeloRegistros::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnas_.size();
}

QVariant ModeloRegistros::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return TextoCelda(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(columnas_[index.column()].alineacion | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant ModeloRegistros::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnas_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const ColumnaRejilla& col = columnas_[section];
    switch (role) {
    case Qt::DisplayRole: return col.titulo;
    case RolRejilla::Campo: return col.campo;
    case RolRejilla::Alineacion: return static_cast<int>(col.alineacion);
    case RolRejilla::Formato: return col.formato;
    default: return QVariant();
    }
}

bool ModeloRegistros::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnas_.size())
        return false;
    ColumnaRejilla& col = columnas_[section];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: col.titulo = value.toString(); break;
    case RolRejilla::Alineacion: col.alineacion = Qt::Alignment(value.toInt()); break;
    case RolRejilla::Formato: col.formato = value.toString(); break;
    default: return false;
    }
    emit headerDataChanged(orientation, section, section);
    if (role != Qt::DisplayRole && role != Qt::EditRole && rowCount() > 0)
        emit dataChanged(index(0, section), index(rowCount() - 1, section));
    return true;
}

Qt::ItemFlags ModeloRegistros::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QVector<int> RepartePixeles(const QVector<int>& anchos, int extra) {
    QVector<int> r = anchos;
    long long total = 0;
    for (int a : anchos)
        total += a;
    if (total <= 0 || extra == 0)
        return r;
    // Each column gets its share of the running sum, so rounding never adds up
    // to more or less than the extra.
    long long acumulado = 0;
    int repartido = 0;
    for (int i = 0; i < r.size(); ++i) {
        acumulado += anchos[i];
        const int hasta = static_cast<int>(extra * acumulado / total);
        r[i] += hasta - repartido;
        repartido = hasta;
    }
    return r;
}
