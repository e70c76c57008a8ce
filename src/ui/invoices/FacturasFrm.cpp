#include "ui/invoices/FacturasFrm.h"

// Placeholder until the screen is built; keeps the program linking.
FacturasFrm::FacturasFrm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Introducción de Facturas"));
}
