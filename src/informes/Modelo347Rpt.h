#pragma once
// The printed Modelo 347: headed by the company's data, the warnings first,
// then the rows of each key (NIF, name, province, country, the year's total
// and its four quarters) with the key's totals, and the date of printing and
// the page number on every page.
#include "dominio/declaraciones/Modelo347.h"
#include "dominio/listado/Listado.h"
#include "informes/DocumentoRpt.h"

#include <QDate>
#include <QStringList>
#include <vector>

class Modelo347Rpt : public DocumentoRpt {
public:
    Modelo347Rpt(const Modelo347& modelo, const CabeceraEmpresa& empresa,
                 const QDate& fechaImpresion = QDate::currentDate());

    const Modelo347& Datos() const { return modelo_; }
    int NumPaginas() const override { return paginas_.Numero(); }

    // One printed line: what it is, its texts (the row's columns) and where it stands.
    struct Renglon {
        enum Clase { Titulo, Apartado, Columnas, Fila, Total, Aviso } clase;
        QStringList textos;
        int pagina = 0;
        double arriba = 0;  // twips from the sheet's top edge
    };
    const std::vector<Renglon>& Renglones() const { return renglones_; }

protected:
    void PintaContenido(QPainter& p, int pagina) const override;

private:
    void Coloca(Renglon r, double alto, double antes = 0);

    Modelo347 modelo_;
    CabeceraEmpresa empresa_;
    QDate fecha_;
    std::vector<Renglon> renglones_;
    PaginasDocumento paginas_;
};
