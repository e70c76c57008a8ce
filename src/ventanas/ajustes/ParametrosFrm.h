#pragma once
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// "Configuración de la Aplicación": the single row of PARAMETROS. Changes
// take effect at the next start.
class ParametrosFrm : public QDialog {
    Q_OBJECT
public:
    explicit ParametrosFrm(QWidget* parent = nullptr);

    // The caption of the tax-word label: 84 characters, its run of 24 blanks
    // covered by the box Txts(3).
    static QString TextoOpcionIva();
    // True when the row was missing at load: saving inserts it.
    bool FaltaFila() const { return faltaFila_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Carga();
    void AbreRepeticion(bool vaciar);
    void BtnGrabar_Click();

    bool faltaFila_ = true;
    QString palabraAnterior_;  // the tax word whose rate the percentage may still propose
    QLabel* Lbls[5] = {};
    QLineEdit* Txts[4] = {};
    QPlainTextEdit* TxtFrase = nullptr;  // Txts(4)
    QGroupBox* FraRest = nullptr;
    QCheckBox* ChkRest[2] = {};
    // How many automatic copies are kept: a setting of this computer, not of the row.
    QLabel* LblCopias = nullptr;
    QLineEdit* TxtCopias = nullptr;
    QWidget* Picture1 = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnSalir = nullptr;
    QPushButton* BtnBaseDatos = nullptr;
};
