#pragma once
// The access password gate: the guarded screens ask ValidarAcceso first.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The password AccesoFrm compares with; ValidarAcceso copies PalabraClave here.
extern QString ClaveEsperada;
// True only between AccesoFrm accepting the password and ValidarAcceso reading it.
extern bool AccesoConcedido;

// True when the caller may open the screen: at once with no password set,
// otherwise after the right password in AccesoFrm.
bool ValidarAcceso();
// The gates of the invoice screen and of the listing, which the parameters
// may leave open; every way to either screen goes through its gate.
bool ValidarAccesoFacturas();
bool ValidarAccesoInformes();

class AccesoFrm : public QDialog {
    Q_OBJECT
public:
    explicit AccesoFrm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QLabel* Label1 = nullptr;
    QLineEdit* TxtClave = nullptr;
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnCancel = nullptr;

    void BtnAceptar_Click();
    void BtnCancel_Click();
};
