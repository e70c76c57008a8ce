#pragma once
#include <QDialog>

class DatosEmpresaFrm : public QDialog {
    Q_OBJECT
public:
    explicit DatosEmpresaFrm(QWidget* parent = nullptr);
};
