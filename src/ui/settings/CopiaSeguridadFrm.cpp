#include "ui/settings/CopiaSeguridadFrm.h"

// Placeholder until the screen is built; keeps the program linking.
CopiaSeguridadFrm::CopiaSeguridadFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CopiaSeguridadFrm"));
    setWindowTitle(QStringLiteral("Copia de Seguridad"));
}
