#pragma once
// "Declaración Anual de Operaciones con Terceros (Modelo 347)": for a year,
// the warnings, one row per counterparty and key with its quarters, the
// totals; printed, saved as PDF, or written as the agency's file.
#include <QWidget>
#include <memory>
#include <optional>

class Modelo347Rpt;
class ModeloRegistros;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class Registros;
struct Declarante347;

class Modelo347Frm : public QWidget {
    Q_OBJECT
public:
    explicit Modelo347Frm(QWidget* parent = nullptr);
    ~Modelo347Frm() override;
    QSize sizeHint() const override;

    // The declaration of the year in the box; false (after telling the user) when there is none.
    bool Calcula();
    // The printed declaration of the last calculation; nothing before the first.
    const Modelo347Rpt* Informe() const { return informe_.get(); }
    // Writes it to a PDF file; false (after telling the user) on failure.
    bool GuardaPdf(const QString& ruta);
    // Writes the agency's file, asking for the contact first when it is not
    // kept; false (after telling the user) when something stops it.
    bool GuardaFichero(const QString& ruta);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void ColocaControles();
    bool Form_KeyDown(int tecla);
    void BtnImprimir_Click();
    void BtnVistaPrevia_Click();
    void BtnPdf_Click();
    void BtnFichero_Click();
    void BtnCerrar_Click();
    // The company and the contact, checked; nothing when something is missing.
    std::optional<Declarante347> Declarante();
    bool EscribeFichero(const QString& ruta, const Declarante347& d);

    QWidget* lienzo_ = nullptr;
    QWidget* Picture2 = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* LblAnio = nullptr;
    QLineEdit* TxtAnio = nullptr;
    QPushButton* BtnCalcular = nullptr;
    QLabel* LblTitulo = nullptr;
    QLabel* LblAvisos = nullptr;
    QListWidget* LstAvisos = nullptr;
    QTableView* DBGrid347 = nullptr;
    ModeloRegistros* Modelo = nullptr;
    QLabel* LblTotales = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnVistaPrevia = nullptr;
    QPushButton* BtnPdf = nullptr;
    QPushButton* BtnFichero = nullptr;
    QPushButton* BtnCerrar = nullptr;

    std::unique_ptr<Modelo347Rpt> informe_;
    std::unique_ptr<Registros> rsFilas_;
    bool cargado_ = false;
};
