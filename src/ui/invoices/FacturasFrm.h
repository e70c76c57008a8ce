#pragma once
#include <QWidget>

class FacturasFrm : public QWidget {
    Q_OBJECT
public:
    explicit FacturasFrm(QWidget* parent = nullptr);
};
