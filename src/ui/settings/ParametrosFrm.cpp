#include "ui/settings/ParametrosFrm.h"

// Placeholder until the screen is built; keeps the program linking.
ParametrosFrm::ParametrosFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ParametrosFrm"));
    setWindowTitle(QStringLiteral("Configuración de la Aplicación"));
}
