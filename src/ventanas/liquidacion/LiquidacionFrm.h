#pragma once
// "Liquidación del Trimestre": the quarterly return box by box for a year and
// quarter (or any two dates), its warnings and checks, printed or saved as PDF.
#include <QWidget>
#include <array>
#include <memory>

class BarraTrimestre;
class LiquidacionRpt;
class ModeloRegistros;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class Registros;
struct Liquidacion;

class LiquidacionFrm : public QWidget {
    Q_OBJECT
public:
    explicit LiquidacionFrm(QWidget* parent = nullptr);
    ~LiquidacionFrm() override;
    QSize sizeHint() const override;

    // The quarter browser hands its year, quarter and dates over, and the
    // return of those dates is worked out at once.
    void Calcula(const QString& anio, int trimestre, const QString& desde, const QString& hasta);

    // The printed return of the last calculation; nothing before the first.
    const LiquidacionRpt* Informe() const { return informe_.get(); }
    // Writes it to a PDF file; false (after telling the user) on failure.
    bool GuardaPdf(const QString& ruta);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Form_Load();
    void ColocaControles();
    bool Form_KeyDown(int tecla);
    void BtnCalcular_Click();
    void BtnImprimir_Click();
    void BtnPdf_Click();
    void BtnCerrar_Click();
    void Muestra();

    QWidget* lienzo_ = nullptr;  // the controls' canvas, which scrolls in a small window
    QWidget* Picture2 = nullptr;
    QWidget* Picture1 = nullptr;
    BarraTrimestre* barra_ = nullptr;  // the year, quarter and dates, with their checks
    std::array<QLineEdit*, 3> TxtOb{};
    QComboBox* CmbTrimestre = nullptr;
    QPushButton* BtnCalcular = nullptr;
    QLabel* LblTitulo = nullptr;
    QLabel* LblIncompletas = nullptr;
    QListWidget* LstIncompletas = nullptr;
    QTableView* DBGridCasillas = nullptr;
    ModeloRegistros* ModeloCasillas = nullptr;
    QLabel* LblAvisos = nullptr;
    QListWidget* LstAvisos = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnPdf = nullptr;
    QPushButton* BtnCerrar = nullptr;

    std::unique_ptr<LiquidacionRpt> informe_;
    std::unique_ptr<Registros> rsCasillas_;
    bool cargado_ = false;
};
