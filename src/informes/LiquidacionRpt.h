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
    int NumPaginas() const override { return paginas_.Numero(); }

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
    // An empty page of boxes under this title, for another declaration laid
    // out as the return is; Coloca* add its lines.
    LiquidacionRpt(const CabeceraEmpresa& empresa, const QString& titulo, const QString& subtitulo,
                   const QDate& fechaImpresion);
    void PintaContenido(QPainter& p, int pagina) const override;
    // `reserva`: the room the lines after it need on the same page (-1: the usual).
    void Coloca(Renglon r, double alto, double antes = 0, double reserva = -1);
    void ColocaAviso(const Liquidacion::Aviso& aviso);
    void ColocaApartado(const QString& titulo, bool columnas);
    void ColocaCasilla(const QString& numero, const QString& concepto, const QString& importe, bool total);

private:
    Liquidacion liquidacion_;
    CabeceraEmpresa empresa_;
    QDate fecha_;
    QString titulo_, subtitulo_;
    std::vector<Renglon> renglones_;
    PaginasDocumento paginas_;
};
