#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Datos de la Empresa": the single row of DATOS_EMPRESA.
class DatosEmpresaFrm : public QDialog {
    Q_OBJECT
public:
    explicit DatosEmpresaFrm(QWidget* parent = nullptr);

    // True when the row was missing at load: saving inserts it.
    bool FaltaFila() const { return faltaFila_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void BtnAceptar_Click();

    bool faltaFila_ = true;
    // The eleven boxes of the company's data, then the three of its activity.
    QLineEdit* Txts[14] = {};
    QLabel* Lbls[14] = {};
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnSalir = nullptr;
};
