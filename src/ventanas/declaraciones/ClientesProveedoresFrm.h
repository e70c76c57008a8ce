#pragma once
// "Clientes y Proveedores": the customers and suppliers kept once, with
// their invoices and totals of a year, a search by NIF or name, and the
// change of a name, postal code (the 347's province) and country.
#include <QWidget>
#include <memory>
#include <vector>

class ModeloRegistros;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Registros;
struct DatosTercero;
struct FilaTercero;

class ClientesProveedoresFrm : public QWidget {
    Q_OBJECT
public:
    explicit ClientesProveedoresFrm(QWidget* parent = nullptr);
    ~ClientesProveedoresFrm() override;
    QSize sizeHint() const override;

    // Reads the list again for the year in its box, keeping the search and the current NIF.
    Q_INVOKABLE void ActualizaDatos();
    // The NIFs the grid shows, in order.
    QStringList NifsVisibles() const;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void ColocaControles();
    void Filtra(const QString& nifActual = QString());
    void FilaElegida();
    void BtnGrabar_Click();
    void BtnCerrar_Click();
    const FilaTercero* Actual() const;
    DatosTercero Escrito() const;
    // Whether the boxes hold a change of the counterparty they show.
    bool HayCambios() const;
    // Checks and keeps the boxes as the counterparty `nif`; false, after
    // saying why, when they cannot be kept.
    bool GuardaEscrito(const QString& nif);
    // Asks whether to keep the change of the counterparty the boxes show;
    // false when the user cancels or the change cannot be kept.
    bool GuardaCambiosPendientes(bool conCancelar);

    QWidget* lienzo_ = nullptr;
    QWidget* Picture2 = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* LblAnio = nullptr;
    QLineEdit* TxtAnio = nullptr;
    QLabel* LblBuscar = nullptr;
    QLineEdit* TxtBuscar = nullptr;
    QTableView* DBGridTerceros = nullptr;
    ModeloRegistros* Modelo = nullptr;
    QLabel* LblNif = nullptr;
    QLabel* LblAvisoNif = nullptr;
    QLabel* LblNombre = nullptr;
    QLineEdit* TxtNombre = nullptr;
    QLabel* LblCodigoPostal = nullptr;
    QLineEdit* TxtCodigoPostal = nullptr;
    QLabel* LblPais = nullptr;
    QLineEdit* TxtPais = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnCerrar = nullptr;

    std::vector<FilaTercero> filas_;
    std::vector<const FilaTercero*> visibles_;
    std::unique_ptr<Registros> rs_;
    bool cargado_ = false;
    // The counterparty in the boxes and the texts it was given there.
    QString nifMostrado_;
    std::unique_ptr<DatosTercero> mostrado_;
};
