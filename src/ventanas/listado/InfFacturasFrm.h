#pragma once
// "Listado de Facturas entre Fechas": two dates, a refresh that builds the
// listing report, and a print preview of it from which it is printed or
// saved as PDF.
#include <QPrinter>
#include <QWidget>
#include <memory>

class FacturasRpt;
class QAction;
class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPushButton;
class QToolBar;

class InfFacturasFrm : public QWidget {
    Q_OBJECT
public:
    explicit InfFacturasFrm(QWidget* parent = nullptr);
    ~InfFacturasFrm() override;

    // The listing of two dates (the quarter browser's), built at once as if
    // the user had typed them and pressed the refresh button.
    void MuestraFechas(const QString& desde, const QString& hasta);

    // The report on show; nothing before the first successful refresh.
    const FacturasRpt* Informe() const { return informe_.get(); }
    // The text of the last statement sent to the database.
    const QString& UltimaConsulta() const { return sql_; }
    QPrintPreviewWidget* VistaPrevia() const { return vista_; }

    // The database was replaced: the listing on show is built again from it.
    Q_INVOKABLE void ActualizaDatos();

    // Writes the report on show to a PDF file; false (after telling the user) on failure.
    bool GuardaPdf(const QString& ruta);
    // Prints the report on show on the shared printer, pages desde..hasta (0: all).
    bool ImprimeEn(QPrinter& impresora, int desde = 0, int hasta = 0);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QLineEdit* TxtGrupo[2] = {nullptr, nullptr};
    QPushButton* BtnRefrescar = nullptr;
    QPushButton* BtnSalir = nullptr;
    QLabel* LblOb[2] = {nullptr, nullptr};
    // Stands where the report viewer stands: the toolbar and the preview.
    QWidget* CRViewer1 = nullptr;

    void BtnRefrescar_Click();
    void BtnSalir_Click();
    void TxtGrupo_Validate(int indice);
    bool Form_KeyDown(QWidget* destino, int tecla);
    void Imprimir();
    void GuardarComoPdf();
    void ActualizaBarra();

    QToolBar* barra_ = nullptr;
    QPrintPreviewWidget* vista_ = nullptr;
    QLabel* lblPagina_ = nullptr;
    QAction* accImprimir_ = nullptr;
    QAction* accPdf_ = nullptr;
    QAction* accAmpliar_ = nullptr;
    QAction* accReducir_ = nullptr;
    QAction* accAncho_ = nullptr;
    QAction* accPagina_ = nullptr;
    QAction* accPrimera_ = nullptr;
    QAction* accAnterior_ = nullptr;
    QAction* accSiguiente_ = nullptr;
    QAction* accUltima_ = nullptr;

    QPrinter impresoraVista_{QPrinter::HighResolution};
    std::unique_ptr<FacturasRpt> informe_;
    QString sql_;
    bool cerrando_ = false;
    bool devolviendoFoco_ = false;
};
