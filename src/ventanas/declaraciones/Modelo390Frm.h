#pragma once
// "Resumen Anual del IVA (Modelo 390)": the year's boxes with their numbers,
// names and amounts, the check against the four quarterly returns and the
// warnings; printed, saved as PDF or as the agency's import file.
#include <QWidget>
#include <memory>

class Modelo390Rpt;
class ModeloRegistros;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class Registros;
struct Modelo390;

class Modelo390Frm : public QWidget {
    Q_OBJECT
public:
    explicit Modelo390Frm(QWidget* parent = nullptr);
    ~Modelo390Frm() override;
    QSize sizeHint() const override;

    // The summary of the last calculation; nothing before the first.
    const Modelo390* Datos() const { return modelo_.get(); }
    // Write the PDF or the agency's file; false (after telling the user) on failure.
    bool GuardaPdf(const QString& ruta);
    bool GuardaFichero(const QString& ruta);

private:
    bool Form_KeyDown(int tecla);
    void BtnCalcular_Click();
    void BtnImprimir_Click();
    void BtnPdf_Click();
    void BtnFichero_Click();

    QLineEdit* TxtAnio = nullptr;
    QPushButton* BtnCalcular = nullptr;
    QLabel* LblTitulo = nullptr;
    QTableView* DBGridCasillas = nullptr;
    ModeloRegistros* ModeloCasillas = nullptr;
    QLabel* LblComprobacion = nullptr;
    QListWidget* LstAvisos = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnPdf = nullptr;
    QPushButton* BtnFichero = nullptr;
    QPushButton* BtnCerrar = nullptr;

    std::unique_ptr<Modelo390> modelo_;
    std::unique_ptr<Modelo390Rpt> informe_;
    std::unique_ptr<Registros> rsCasillas_;
};
