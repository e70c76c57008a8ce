#pragma once
// The grids' window-free part: a read-only table model over a fully fetched
// result set, whose columns are described by header roles.
#include <QAbstractTableModel>
#include <QString>
#include <QVector>
#include <memory>

class Registros;

// Model roles a grid column is described by (horizontal header data).
namespace RolRejilla {
constexpr int Campo = Qt::UserRole + 1;       // the data field name (text)
constexpr int Alineacion = Qt::UserRole + 2;  // the cells' alignment (Qt::Alignment as int)
constexpr int Formato = Qt::UserRole + 3;     // the number format ("" or "#,##0.00")
}  // namespace RolRejilla

extern const QString FormatoMiles;  // "#,##0.00"

struct ColumnaRejilla {
    QString campo;
    QString titulo;
    Qt::Alignment alineacion = Qt::AlignLeft;
    QString formato;
};

// The columns are fixed when the model is made; the result set only fills
// them (fields it lacks show empty). Cells are written when the view asks for
// them, so a list of any length costs nothing until it is scrolled.
class ModeloRegistros : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloRegistros(QVector<ColumnaRejilla> columnas, QObject* parent = nullptr);

    // The result set shown; nullptr shows none. The caller keeps it alive
    // while it is shown.
    void EstableceRegistros(const Registros* rs);
    const Registros* registros() const { return rs_; }

    const QVector<ColumnaRejilla>& columnas() const { return columnas_; }
    // Column index by data field name (case-insensitive), -1 when none.
    int ColumnaPorCampo(const QString& campo) const;
    // The plain text of a field of a row ("" beyond the end or for a missing field).
    QString TextoCampo(int fila, const QString& campo) const;
    // The text a cell shows.
    QString TextoCelda(int fila, int columna) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVector<ColumnaRejilla> columnas_;
    QVector<int> origen_;  // position in the result set of each column, -1 when missing
    const Registros* rs_ = nullptr;
};

// Widths that share `extra` pixels among columns in proportion to their
// `anchos`, adding up to their sum plus `extra` exactly.
QVector<int> RepartePixeles(const QVector<int>& anchos, int extra);
