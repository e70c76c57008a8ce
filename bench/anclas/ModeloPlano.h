#pragma once
// The plain grid's model: the rows of one statement, every cell a QVariant,
// as a simple model keeps them.
#include <QAbstractTableModel>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

class ModeloPlano : public QAbstractTableModel {
public:
    void Llena(sqlite3* db, const std::string& sql) {
        beginResetModel();
        celdas_.clear();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", sql.c_str(), sqlite3_errmsg(db));
            std::exit(1);
        }
        columnas_ = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < columnas_; ++c)
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL: celdas_.emplace_back(); break;
                case SQLITE_INTEGER: celdas_.emplace_back(sqlite3_column_int64(st, c)); break;
                case SQLITE_FLOAT: celdas_.emplace_back(sqlite3_column_double(st, c)); break;
                default:
                    celdas_.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                                           sqlite3_column_bytes(st, c)));
                }
        sqlite3_finalize(st);
        endResetModel();
    }
    int rowCount(const QModelIndex& = {}) const override {
        return columnas_ ? static_cast<int>(celdas_.size() / static_cast<size_t>(columnas_)) : 0;
    }
    int columnCount(const QModelIndex& = {}) const override { return columnas_; }
    QVariant data(const QModelIndex& i, int rol) const override {
        if (rol != Qt::DisplayRole)
            return {};
        return celdas_[static_cast<size_t>(i.row()) * static_cast<size_t>(columnas_) + static_cast<size_t>(i.column())];
    }

private:
    std::vector<QVariant> celdas_;
    int columnas_ = 0;
};
