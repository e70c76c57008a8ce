#pragma once
// "Libros Registro": exports the VAT record books of a year, from 1 January
// to the end of a quarter, for the tax agency's Pre303 service.
#include "dominio/libros/ArchivoLibros.h"

#include <QDialog>
#include <memory>

class ExportacionLibros;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;

class LibrosRegistroFrm : public QDialog {
    Q_OBJECT
public:
    explicit LibrosRegistroFrm(QWidget* parent = nullptr);
    ~LibrosRegistroFrm() override;

    void done(int r) override;

private:
    void BtnAceptar_Click();
    // The invoices the books cannot take as they are, for the user to decide.
    bool AceptaIncidencias(const DatosLibros& datos);
    // The file the user chooses, the agency's name proposed; empty when he gives up.
    QString PideArchivo(const DatosLibros& datos, bool xlsx);
    // Starts writing on a worker thread, the progress shown; the outcome comes later.
    void Exporta(const DatosLibros& datos, const QString& ruta);
    void ExportacionTerminada();

    QLabel* LblNota = nullptr;
    QLabel* Lbls[3] = {};
    QLineEdit* TxtEjercicio = nullptr;
    QComboBox* CmbPeriodo = nullptr;
    QComboBox* CmbFormato = nullptr;
    QPushButton* BtnAceptar = nullptr;
    QPushButton* BtnSalir = nullptr;
    QProgressDialog* progreso_ = nullptr;

    ExportacionLibros* exportacion_ = nullptr;
    std::shared_ptr<const DatosLibros> datos_;  // those being written
    FormatoLibros formato_ = FormatoLibros::Xlsx;
};

// The list of the invoices the books cannot take, with the choice between
// exporting them as they are and going back to correct them.
class IncidenciasLibrosFrm : public QDialog {
    Q_OBJECT
public:
    IncidenciasLibrosFrm(const QStringList& lineas, QWidget* parent = nullptr);
};
