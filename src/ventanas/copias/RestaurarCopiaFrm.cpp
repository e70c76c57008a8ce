#include "ventanas/copias/RestaurarCopiaFrm.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "dominio/copias/RestaurarCopiaLogica.h"

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

// The copies of the folder as the list shows them.
class ModeloCopias : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Carga(const QList<CopiaEncontrada>& copias) {
        beginResetModel();
        rutas_.clear();
        filas_.clear();
        for (const CopiaEncontrada& c : copias) {
            rutas_ << c.ruta;
            filas_ << FilaCopia(c);
        }
        endResetModel();
    }
    QString Ruta(int fila) const { return rutas_.value(fila); }

    int rowCount(const QModelIndex& padre = QModelIndex()) const override {
        return padre.isValid() ? 0 : static_cast<int>(filas_.size());
    }
    int columnCount(const QModelIndex& padre = QModelIndex()) const override {
        return padre.isValid() ? 0 : static_cast<int>(titulos_.size());
    }
    QVariant data(const QModelIndex& i, int rol) const override {
        if (!i.isValid())
            return {};
        if (rol == Qt::DisplayRole)
            return filas_.value(i.row()).value(i.column());
        // The whole name, also where the window is too narrow for it.
        if (rol == Qt::ToolTipRole && i.column() == 0)
            return filas_.value(i.row()).value(0);
        if (rol == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignVCenter | (i.column() == 2 || i.column() == 3 ? Qt::AlignRight : Qt::AlignLeft));
        return {};
    }
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o == Qt::Horizontal && rol == Qt::DisplayRole)
            return titulos_.value(seccion);
        return {};
    }

private:
    const QStringList titulos_ = TitulosColumnasCopias();
    QStringList rutas_;
    QList<QStringList> filas_;
};

RestaurarCopiaFrm::RestaurarCopiaFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RestaurarCopiaFrm"));
    setWindowTitle(TituloRestaurar);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));

    LblCarpeta = new QLabel(this);
    LblCarpeta->setObjectName(QStringLiteral("LblCarpeta"));
    LblCarpeta->setTextFormat(Qt::PlainText);
    LblCarpeta->setWordWrap(true);

    modelo_ = new ModeloCopias(this);
    RejillaCopias = new QTableView(this);
    RejillaCopias->setObjectName(QStringLiteral("RejillaCopias"));
    RejillaCopias->setModel(modelo_);
    RejillaCopias->setSelectionBehavior(QAbstractItemView::SelectRows);
    RejillaCopias->setSelectionMode(QAbstractItemView::SingleSelection);
    RejillaCopias->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RejillaCopias->setTabKeyNavigation(false);
    RejillaCopias->setWordWrap(false);
    RejillaCopias->setTextElideMode(Qt::ElideMiddle);
    RejillaCopias->verticalHeader()->hide();
    RejillaCopias->verticalHeader()->setDefaultSectionSize(Px(255));
    RejillaCopias->horizontalHeader()->setHighlightSections(false);
    RejillaCopias->horizontalHeader()->setStretchLastSection(true);
    connect(RejillaCopias, &QTableView::doubleClicked, this, &RestaurarCopiaFrm::BtnRestaurar_Click);

    PicBtn = new QWidget(this);
    PicBtn->setObjectName(QStringLiteral("PicBtn"));
    BtnRestaurar = new QPushButton(QStringLiteral("&Restaurar"), PicBtn);
    BtnRestaurar->setObjectName(QStringLiteral("BtnRestaurar"));
    BtnRestaurar->setDefault(true);
    BtnOtro = new QPushButton(QStringLiteral("&Otro archivo..."), PicBtn);
    BtnOtro->setObjectName(QStringLiteral("BtnOtro"));
    BtnOtro->setAutoDefault(false);
    BtnSalir = new QPushButton(QStringLiteral("&Salir"), PicBtn);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    BtnSalir->setAutoDefault(false);
    auto* botones = new QHBoxLayout(PicBtn);
    botones->setContentsMargins(0, 0, 0, 0);
    botones->setSpacing(Px(180));
    for (QPushButton* b : {BtnRestaurar, BtnOtro, BtnSalir}) {
        b->setMinimumHeight(Px(450));
        botones->addWidget(b, 1);
    }
    connect(BtnRestaurar, &QPushButton::clicked, this, &RestaurarCopiaFrm::BtnRestaurar_Click);
    connect(BtnOtro, &QPushButton::clicked, this, &RestaurarCopiaFrm::BtnOtro_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(Px(120), Px(120), Px(120), Px(120));
    todo->addWidget(LblCarpeta);
    todo->addWidget(RejillaCopias, 1);
    todo->addWidget(PicBtn);

    ActualizaDatos();
    // As wide as the longest name asks, never narrower than its design nor
    // wider than the screen.
    const QHeaderView* cabecera = RejillaCopias->horizontalHeader();
    int contenido = 2 * RejillaCopias->frameWidth() + RejillaCopias->verticalScrollBar()->sizeHint().width() + Px(240);
    const QAbstractItemView* vista = RejillaCopias;
    for (int c = 0; c < modelo_->columnCount(); ++c)
        contenido += qMax(vista->sizeHintForColumn(c), cabecera->sectionSizeHint(c));
    resize(CabeEnPantalla(this, QSize(qMax(Px(9600), contenido), Px(5160))));
    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
    RejillaCopias->setFocus();
}

void RestaurarCopiaFrm::ActualizaDatos() {
    PunteroOcupado puntero;
    const QString carpeta = CarpetaCopia();
    const QList<CopiaEncontrada> copias = CopiasEnCarpeta(carpeta);
    LblCarpeta->setText(copias.isEmpty() ? QStringLiteral("No hay copias de seguridad en ") + carpeta +
                                               QStringLiteral(". Pulse \"Otro archivo...\" para elegir una.")
                                         : QStringLiteral("Copias de seguridad que hay en ") + carpeta +
                                               QStringLiteral(", la más reciente primero:"));
    modelo_->Carga(copias);
    RejillaCopias->resizeColumnsToContents();
    if (!copias.isEmpty())
        RejillaCopias->setCurrentIndex(modelo_->index(0, 0));
    BtnRestaurar->setEnabled(!copias.isEmpty());
}

QString RestaurarCopiaFrm::CopiaElegida() const {
    const QModelIndex i = RejillaCopias->currentIndex();
    return i.isValid() ? modelo_->Ruta(i.row()) : QString();
}

void RestaurarCopiaFrm::BtnRestaurar_Click() {
    const QString archivo = CopiaElegida();
    if (!archivo.isEmpty())
        Restaura(archivo);
}

void RestaurarCopiaFrm::BtnOtro_Click() {
    const QString archivo = QFileDialog::getOpenFileName(
        this, QStringLiteral("Elegir la copia que se restaurará"), CarpetaCopia(),
        QStringLiteral("Bases de datos (*.mdb);;Todos los archivos (*)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (!archivo.isEmpty())
        Restaura(archivo);
}

void RestaurarCopiaFrm::Restaura(const QString& archivo) {
    std::unique_ptr<PunteroOcupado> puntero;
    const bool hecha = RestauraConAvisos(archivo, [&puntero](bool ocupado) {
        if (ocupado)
            puntero = std::make_unique<PunteroOcupado>();
        else
            puntero.reset();
    });
    if (!hecha)
        return;
    accept();
    // The screens open behind show the restored data.
    ActualizaPantallas();
}
