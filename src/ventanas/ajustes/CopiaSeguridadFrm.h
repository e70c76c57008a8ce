#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

// "Copia de Seguridad": copies the database to a file named after the day
// the screen was opened.
class CopiaSeguridadFrm : public QDialog {
    Q_OBJECT
public:
    explicit CopiaSeguridadFrm(QWidget* parent = nullptr);

    // The copy's file name, fixed when the screen opens.
    const QString& NombreCopia() const { return nombre_; }

private:
    void BtnGrabar_Click();

    QString nombre_;
    QLabel* LblTexto[7] = {};
    QLabel* LblNombre = nullptr;
    QWidget* PicBtn = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnSalir = nullptr;
};
