#pragma once
#include <QDialog>

class ParametrosFrm : public QDialog {
    Q_OBJECT
public:
    explicit ParametrosFrm(QWidget* parent = nullptr);
};
