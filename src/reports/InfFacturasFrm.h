#pragma once
#include <QWidget>

class QLineEdit;
class QPushButton;

class InfFacturasFrm : public QWidget {
    Q_OBJECT
public:
    explicit InfFacturasFrm(QWidget* parent = nullptr);

    // The quarter browser writes the two dates here and clicks the button.
    QLineEdit* TxtGrupo[2] = {nullptr, nullptr};
    QPushButton* BtnRefrescar = nullptr;
};
