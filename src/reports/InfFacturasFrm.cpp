#include "reports/InfFacturasFrm.h"

#include <QLineEdit>
#include <QPushButton>

// Placeholder until the screen is built; keeps the program linking.
InfFacturasFrm::InfFacturasFrm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Listado de Facturas entre Fechas"));
    TxtGrupo[0] = new QLineEdit(this);
    TxtGrupo[1] = new QLineEdit(this);
    BtnRefrescar = new QPushButton(QStringLiteral("&Refrescar Datos (F5)"), this);
}
