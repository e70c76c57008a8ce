#pragma once
// The printed return: headed by the company's data like the listing, then the
// incomplete invoices, the boxes in the form's order with their numbers and
// names, the warnings and checks, and on every page the date of printing and
// the page number.
#include "dominio/liquidacion/Liquidacion.h"
#include "informes/DocumentoRpt.h"
#include "dominio/listado/Listado.h"

#include <QDate>
#include <vector>

class LiquidacionRpt : public DocumentoRpt {
public:
    LiquidacionRpt(const Liquidacion& liquidacion, const CabeceraEmpresa& empresa,
                   const QDate& fechaImpresion = QDate::currentDate());

    const Liquidacion& Datos() const { return liquidacion_; }
    const CabeceraEmpresa& Empresa() const { return empresa_; }
    int NumPaginas() const override { return paginas_; }

    // One printed line: what it is, its texts, and where it stands.
    struct Renglon {
        enum Clase { Modelo, Apartado, Columnas, Casilla, Aviso } clase;
        QString numero, texto, importe;
        bool negrita = false;
        int pagina = 0;
        double arriba = 0;  // twips from the sheet's top edge
    };
    const std::vector<Renglon>& Renglones() const { return renglones_; }

protected:
    void PintaContenido(QPainter& p, int pagina) const override;

private:
    void Coloca(Renglon r, double alto, double antes = 0);
    void ColocaAviso(const Liquidacion::Aviso& aviso);

    Liquidacion liquidacion_;
    CabeceraEmpresa empresa_;
    QDate fecha_;
    std::vector<Renglon> renglones_;
    int paginas_ = 1;
    double y_ = 0;
};
