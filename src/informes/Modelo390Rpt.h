#pragma once
// The printed annual summary, laid out as the quarterly return's page: the
// company's header, the incomplete invoices, the boxes under the form's
// headings with their numbers and names, the quarterly results and the
// check, then the warnings.
#include "dominio/declaraciones/Modelo390.h"
#include "informes/LiquidacionRpt.h"

class Modelo390Rpt : public LiquidacionRpt {
public:
    Modelo390Rpt(const Modelo390& modelo, const CabeceraEmpresa& empresa,
                 const QDate& fechaImpresion = QDate::currentDate());
};
