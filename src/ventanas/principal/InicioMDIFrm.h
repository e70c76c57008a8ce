#pragma once
// The program's one top-level window: the frame of the child screens, with
// the menus, the status bar and the button menu.
#include <QMainWindow>
#include <QPointer>
#include <functional>

class EstadoTeclas;
class Menufrm;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QTimer;

class InicioMDIFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit InicioMDIFrm(QWidget* parent = nullptr);
    ~InicioMDIFrm() override;

    // Open the quarter browser and the listing, asking the password when guarded.
    void MenuFacturas_Click();
    void MenuListados_Click();
    // The return of a quarter, asking the password as the listing does.
    void MenuLiquidacion_Click();
    void MenuModelo390_Click();

    // Width and height in twips (outer size), state 0 normal, 1 minimised, 2 maximised.
    void AplicaTamano(double anchoTwips, double altoTwips, int estado);
    // 0 normal, 1 minimised, 2 maximised.
    int EstadoVentana() const;
    // The window's frame became known (width and height it adds): a size
    // applied before it was known is applied again without it.
    void AjustaAlMarco(const QSize& marco);

    // Shows the button menu (creating it again if it was closed) and returns it.
    Menufrm* MuestraMenu();
    Menufrm* MenuBotones() const;
    QMdiArea* Area() const { return area_; }

    void MenuAplicacionDatos_Click();
    void MenuAplicacionConfig_Click();
    void MenuAplicacionImpresora_Click();
    void MenuCopia_Click();
    // Invoices brought in from a file, modal, guarded as the invoices are.
    void MenuImportar_Click();
    // The VAT record books, modal, guarded as the listing is.
    void MenuLibros_Click();
    // The year's operations with third parties, guarded as the listing is.
    void MenuModelo347_Click();
    // The customers and suppliers, guarded as the invoices are.
    void MenuTerceros_Click();
    void MenuRestaurar_Click();
    void MenuAcercaDe_Click();
    void MenuVentanaItem_Click(int indice);

protected:
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QStatusBar* StbInicio = nullptr;
    QLabel* Panels[6] = {};  // panels 1..6 of the status bar
    QMenu* MenuAplicacion = nullptr;
    QAction* MenuAplicacionDatos = nullptr;
    QAction* MenuAplicacionTerceros = nullptr;
    QAction* MenuAplicacionConfig = nullptr;
    QAction* MenuAplicacionImpresora = nullptr;
    QAction* MenuAplicacionSep0 = nullptr;
    QAction* MenuAplicacionSalir = nullptr;
    QMenu* MenuDeFacturas = nullptr;  // "&Facturas": the quarter browser and the import
    QAction* MenuFacturas = nullptr;
    QAction* MenuFacturasIntroduccion = nullptr;
    QAction* MenuImportar = nullptr;
    QMenu* MenuInforme = nullptr;
    QAction* MenuListados = nullptr;  // the "Informe" item of the menu bar
    QAction* MenuInformeListado = nullptr;
    QAction* MenuLiquidacion = nullptr;
    QAction* MenuLibros = nullptr;
    QAction* MenuModelo347 = nullptr;
    QAction* MenuModelo390 = nullptr;
    QMenu* MenuCopiaSeguridad = nullptr;  // "Copia de &Seguridad": the copy and the restore
    QAction* MenuCopia = nullptr;
    QAction* MenuRestaurar = nullptr;
    QMenu* MenuVentana = nullptr;
    QAction* MenuVentanaItem[5] = {};
    QAction* MenuAcercaDe = nullptr;

    QSize MarcoVentana() const;
    // The screen's room for windows, and the window moved back into it.
    QRect Disponible() const;
    void MantenEnPantalla();
    void CreaMenus();
    void CreaBarraEstado();
    void MuestraEnMarco(QWidget* w);
    void ColocaNueva(QMdiSubWindow* sub);
    void ActualizaHora();
    void ActualizaTeclas();
    void SubventanaActivada(QMdiSubWindow* sub);
    void MosaicoHorizontal();
    void Cascada();
    int PasoCascada() const;
    void OrganizaIconos();
    void CierraTodas();

    QMdiArea* area_ = nullptr;
    QPointer<Menufrm> menu_;
    QPointer<QMdiSubWindow> ultimaActiva_;
    QTimer* reloj_ = nullptr;
    EstadoTeclas* teclas_ = nullptr;
    bool saliendo_ = false;
    QSize exteriorPendiente_;  // outer size still to apply once the frame is known
};

// Stores the main window's state and size, closes the connection and ends
// the program. Only the main window's closing calls it, after the user said yes.
void SalirAplicacion();
// How the program ends (the tests keep their process alive). Returns the previous one.
std::function<void()> EstableceFinPrograma(std::function<void()> fin);
