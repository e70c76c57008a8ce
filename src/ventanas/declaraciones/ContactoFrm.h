#pragma once
// Who answers the agency's questions about the annual declarations' files:
// the telephone and the person, asked once and kept in the settings.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class ContactoFrm : public QDialog {
    Q_OBJECT
public:
    ContactoFrm(const QString& telefono, const QString& persona, QWidget* parent = nullptr);

    QString Telefono() const;
    QString Persona() const;

private:
    void BtnAceptar_Click();

    QLabel* LblTelefono = nullptr;
    QLineEdit* TxtTelefono = nullptr;
    QLabel* LblPersona = nullptr;
    QLineEdit* TxtPersona = nullptr;
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnCancelar = nullptr;
};

// The contact kept, asking for it first when any part is missing; false
// when the user cancels.
bool PideContactoDeclaraciones(QWidget* padre, QString* telefono, QString* persona);
