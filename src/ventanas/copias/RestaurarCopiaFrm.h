#pragma once
#include <QDialog>

class ModeloCopias;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

// "Restaurar Copia": the copies found in the backup folder, newest first,
// with what each holds; restores the one chosen, or any file the user picks.
class RestaurarCopiaFrm : public QDialog {
    Q_OBJECT
public:
    explicit RestaurarCopiaFrm(QWidget* parent = nullptr);
    // Reads the backup folder again.
    Q_INVOKABLE void ActualizaDatos();
    // The file of the row chosen; "" when none is.
    QString CopiaElegida() const;

private:
    void BtnRestaurar_Click();
    void BtnOtro_Click();
    void Restaura(const QString& archivo);

    QLabel* LblCarpeta = nullptr;
    QTableView* RejillaCopias = nullptr;
    ModeloCopias* modelo_ = nullptr;
    QWidget* PicBtn = nullptr;
    QPushButton* BtnRestaurar = nullptr;
    QPushButton* BtnOtro = nullptr;
    QPushButton* BtnSalir = nullptr;
};
