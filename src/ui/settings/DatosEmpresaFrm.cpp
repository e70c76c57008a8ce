#include "ui/settings/DatosEmpresaFrm.h"

// Placeholder until the screen is built; keeps the program linking.
DatosEmpresaFrm::DatosEmpresaFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DatosEmpresaFrm"));
    setWindowTitle(QStringLiteral("Datos de la Empresa"));
}
