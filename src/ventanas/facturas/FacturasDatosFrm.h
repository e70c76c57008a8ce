#pragma once
// The invoice editor: enters a new invoice, or changes or deletes one.
// Shown modally by the quarter browser, which gives it its mode and invoice.
#include "dominio/facturas/Facturas.h"

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class FacturasDatosFrm : public QDialog {
    Q_OBJECT
public:
    // nuevaFactura true: a new invoice (idFactura empty). False: the invoice whose ID is idFactura.
    FacturasDatosFrm(bool nuevaFactura, const QString& idFactura, QWidget* parent = nullptr);

    // The mode and the invoice, until the editor closes (then false and empty).
    bool NuevaFactura() const { return nuevaFactura_; }
    const QString& IdFactura() const { return idFactura_; }

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Form_Load();
    void CargaFactura();
    bool Txts_Validate(int indice);
    bool CompruebaFechaPendiente();
    bool CompruebaNif();
    // A known NIF left in its box fills the name and country not typed yet.
    void RellenaTercero();
    void TipoCambiado();
    int Longitud(int i) const;
    CamposTercero Tercero() const;
    bool CompruebaTipo();
    bool CompruebaPais();
    bool CompruebaTipoId();
    bool CompruebaImportes();
    void PaisCambiado();
    CamposFactura Campos() const;
    Importes ImportesEditor() const;
    // Enter in the total: the amounts completed with the rates in force.
    void CompletaImportes();
    void BtnAceptar_Click();
    void BtnBorrar_Click();
    void BtnSalir_Click();
    void MueveFoco(QWidget* destino);
    int IndiceCampo(const QObject* objeto) const;
    void EscribeCampo(int i, const QString& texto);

    std::array<QLabel*, 13> Lbls{};
    QComboBox* CmbTipo = nullptr;
    std::array<QLineEdit*, 11> Txts{};
    // The kind of a foreign counterparty's identifier, "02" to "06".
    QComboBox* CmbTipoId = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QWidget* Picture2 = nullptr;
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnBorrar = nullptr;
    QPushButton* BtnSalir = nullptr;

    // The invoice as it was read, which a save may change only while it is
    // still so; nothing when it could not be read.
    bool nuevaFactura_ = false;
    QString idFactura_;
    std::optional<FilaFactura> leida_;
    // The NIF last warned about, so that a warning stops the user only once.
    QString nifAvisado_;
    bool cargado_ = false;
    bool validando_ = false;
    bool moviendo_ = false;
};
