#pragma once
// The quarter browser's top bar, which the screens of the same dates share:
// the year, the quarter and the two dates, their checks on leaving a box,
// Enter walking along them, and the quarter filling the dates.
#include <QObject>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

class BarraTrimestre : public QObject {
    Q_OBJECT
public:
    // Puts the labels, boxes and quarter list on `barra` at the browser's
    // places; `pantalla` is the screen the boxes are left for.
    BarraTrimestre(QWidget* pantalla, QWidget* barra);

    std::array<QLabel*, 3> Lbls{};
    std::array<QLineEdit*, 3> TxtOb{};  // year, from, to
    QComboBox* CmbTrimestre = nullptr;

    // What a quarter selection does once the dates are filled (a new year selects again).
    std::function<void()> alElegirTrimestre;
    // What Enter does in the last date once it is accepted.
    std::function<void()> alIntroEnHasta;

    // The quarter selection: the dates of the quarter of the year, then
    // alElegirTrimestre; a missing or impossible year is refused with its message.
    void CmbTrimestre_Click();
    // The check on leaving box `indice`: a typed year completed (and the
    // quarter selected again), a date rewritten dd/mm/yyyy or refused.
    bool TxtOb_Validate(int indice);
    // The check of the box the user is typing in, before a button acts.
    bool CompruebaCajaActiva();
    // Both dates there and real dates; otherwise the message, and false.
    bool CompruebaFechas();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void MueveFoco(QWidget* destino);

    QWidget* pantalla_;
    bool validando_ = false;  // a box check is under way
    bool moviendo_ = false;   // Enter moves the focus after its own check
};
