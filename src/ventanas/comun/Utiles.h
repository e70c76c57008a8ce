#pragma once
// The form utilities every screen leans on: placing forms, entering fields,
// the key filters of date, whole-number and amount boxes, and the empty-box check.
#include <QList>
#include <QObject>
#include <QString>

class QKeyEvent;
class QLineEdit;
class QMdiSubWindow;
class QWidget;

class Utiles : public QObject {
    Q_OBJECT
public:
    // Porcentaje: up to two digits, a comma and two decimals (9,5).
    // Pais: two letters, written in capitals.
    enum class Filtro { Fecha, Entero, Importe, Porcentaje, Pais };

    // Centres a dialog over its reference form, or over the screen without one.
    void PreparaFormulario(QWidget* formulario, QWidget* referencia = nullptr);
    // Centres a child window in the frame's client area (when it enters the
    // frame, if it is not there yet); its left and top never go below 0.
    void PreparaFormularioMDI(QWidget* hija, QWidget* principal);
    // For the frame: centres a child window in its client area, and tells
    // whether a screen asked for it before entering.
    static void CentraEnMarco(QMdiSubWindow* sub);
    static bool PideCentrarEnMarco(QWidget* hija);
    // Selects the whole text of the box that has just received the focus.
    void EntraCampo(QLineEdit* campo);

    // Key filters: the typed character's code by reference, set to 0 to drop it.
    // Editing keys (backspace, Tab, Enter, Esc, delete, other control codes) always pass.
    void TeclaFecha(int& tecla);                         // digits, "/", "-", "."
    void TeclaEntero(int& tecla);                        // digits
    void TeclaImporte(int& tecla, const QString& texto); // digits, one comma, a leading minus
    void TeclaPorcentaje(int& tecla, const QString& texto);  // digits, one comma
    void TeclaLetra(int& tecla);                         // the letters A to Z, either case

    // True when a box of the array is empty or holds only blanks. The three
    // further arguments are unused.
    bool CamposVacios(const QList<QLineEdit*>& campos, int = 0, int = 0, int = 0);

    // Puts a filter on a box: typed keys go through the key filter, and a
    // validator holds the same rule for paste and drop. Enter is left to the screen.
    void AsignaFiltro(QLineEdit* campo, Filtro filtro);

    // The length limit of a box in whole characters (an emoji counts one and
    // is never cut in half); a later call changes it. A box with a key filter
    // holds only single-unit characters and keeps its plain length limit.
    void LimitaCaracteres(QLineEdit* campo, int caracteres);

    // The check of every screen that writes text, before its statement: when
    // a box of the form holds characters that cannot be stored, says which
    // box, puts the focus in it and returns false.
    bool CompruebaTextos(QWidget* formulario);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};

// Enter, from the main keyboard or the keypad.
bool EsTeclaIntro(const QKeyEvent* k);

// The single shared instance, created on first use.
Utiles& ObjUtiles();
