#pragma once
// "Importar Facturas": brings invoices in from the tax agency's books or any
// spreadsheet's CSV. The file is chosen, its columns mapped when they are not
// a book's, every row previewed with its state; the new ones are stored
// together or not at all.
#include "dominio/importacion/Importacion.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class ModeloImportacion;

class ImportarFacturasFrm : public QDialog {
    Q_OBJECT
public:
    explicit ImportarFacturasFrm(QWidget* parent = nullptr);
    ~ImportarFacturasFrm() override;

    // How many invoices were stored (0 until the import is done).
    int Importadas() const { return importadas_; }

private:
    QLineEdit* TxtArchivo = nullptr;
    QPushButton* BtnExaminar = nullptr;
    QPushButton* BtnLeer = nullptr;
    QStackedWidget* Paginas = nullptr;
    std::array<QComboBox*, NumCamposMapa> CmbCampos{};
    QPushButton* BtnContinuar = nullptr;
    QTableView* GrdFilas = nullptr;
    QLabel* LblCuenta = nullptr;
    QPushButton* BtnImportar = nullptr;
    QPushButton* BtnRechazadas = nullptr;
    QPushButton* BtnSalir = nullptr;

    void BtnExaminar_Click();
    void BtnLeer_Click();
    void BtnContinuar_Click();
    void BtnImportar_Click();
    void BtnRechazadas_Click();

    void MuestraMapa();
    MapaColumnas MapaElegido() const;
    // Reads and checks the file with `mapa`, then shows the preview.
    void Lee(const MapaColumnas& mapa);
    // Runs `trabajo` on a thread of its own, with the progress and Cancelar
    // shown meanwhile; a database failure on it is shown here.
    enum class FinTrabajo { Hecho, Cancelado, Fallo };
    FinTrabajo EnSegundoPlano(const QString& texto, const std::function<void(const ProgresoImportacion&)>& trabajo);

    ExamenImportacion examen_;
    Importacion importacion_;
    ModeloImportacion* modelo_ = nullptr;
    int importadas_ = 0;
};
