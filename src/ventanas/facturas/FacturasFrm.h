#pragma once
// The quarter browser: paid and collected invoices of a date range side by
// side, their sums and the two amounts of the return.
#include <QWidget>
#include <array>
#include <memory>

class BarraTrimestre;
class ModeloRegistros;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Registros;

class FacturasFrm : public QWidget {
    Q_OBJECT
public:
    explicit FacturasFrm(QWidget* parent = nullptr);
    ~FacturasFrm() override;
    QSize sizeHint() const override;
    // The database was replaced: the same dates searched again, the tax word read again.
    Q_INVOKABLE void ActualizaDatos();
    // Searches the dates in the boxes again, as F3 does (invoices came in from elsewhere).
    void Busca();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QTableView* CreaRejilla(const QString& nombre, const QString& titulo, ModeloRegistros*& modelo, QLabel*& barra);
    void ColocaControles();
    void PonTitulosImpuesto();

    void Form_Load();
    void Form_Unload();
    void BtnBuscar_Click();
    void BtnAceptar_Click();
    void BtnImprimir_Click();
    void BtnLiquidacion_Click();
    // The listing and the return: the boxes' dates, when both are there and the password lets them.
    bool FechasParaInforme();
    void BtnCerrar_Click();
    bool Form_KeyDown(int tecla);
    void AbreFactura(bool cobros);

    void Buscar();
    void MuestraFacturas();
    void CargaRejilla(const QString& tipo);
    void CalculaTotales(const QString& tipo);
    void CalculaDiferencias();
    // Both lists, their sums and the differences emptied together.
    void VaciaPantalla();

    QWidget* lienzo_ = nullptr;  // the controls' canvas, which scrolls in a small window
    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    BarraTrimestre* barra_ = nullptr;  // the year, quarter and dates, with their checks
    std::array<QLabel*, 3> Lbls{};
    std::array<QLineEdit*, 3> TxtOb{};
    QComboBox* CmbTrimestre = nullptr;
    QPushButton* BtnBuscar = nullptr;
    QPushButton* BtnLiquidacion = nullptr;
    QLabel* Label1 = nullptr;
    QTableView* DBGridPagos = nullptr;
    QTableView* DBGridCobros = nullptr;
    std::array<QLabel*, 2> titulosRejilla_{};  // "Pagos" and "Cobros" over the grids
    ModeloRegistros* ModeloPagos = nullptr;
    ModeloRegistros* ModeloCobros = nullptr;
    std::array<QLabel*, 4> LblTotal{};
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnCerrar = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLabel*, 2> LblDif{};
    std::array<QLabel*, 2> LblDifTotal{};

    std::unique_ptr<Registros> RsPagos;
    std::unique_ptr<Registros> RsCobros;

    bool cargado_ = false;
};
