#pragma once
#include <QDialog>

class CopiaSeguridadFrm : public QDialog {
    Q_OBJECT
public:
    explicit CopiaSeguridadFrm(QWidget* parent = nullptr);
};
