#pragma once
// "Base de datos": the file on this computer or a PostgreSQL server, chosen
// from the configuration screen; the choice takes effect at the next start.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct DatosServidor;

class BaseDatosFrm : public QDialog {
    Q_OBJECT
public:
    explicit BaseDatosFrm(QWidget* parent = nullptr);

private:
    QRadioButton* OptArchivo = nullptr;
    QRadioButton* OptServidor = nullptr;
    QGroupBox* FraServidor = nullptr;
    QLineEdit* TxtServidor = nullptr;
    QLineEdit* TxtPuerto = nullptr;
    QLineEdit* TxtBase = nullptr;
    QLineEdit* TxtUsuario = nullptr;
    QLineEdit* TxtClave = nullptr;
    QPushButton* BtnProbar = nullptr;
    QPushButton* BtnCopiar = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnCancelar = nullptr;

    DatosServidor Datos() const;
    void ActivaServidor();
    void BtnProbar_Click();
    void BtnCopiar_Click();
    void BtnGrabar_Click();
};
