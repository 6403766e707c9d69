#include "browser/html2pdf.h"

#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "store/programstate.h"
#include "store/texts.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

THTML2PDF::THTML2PDF(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), s_(state)
{
    setObjectName(QStringLiteral("HTML2PDF"));
    setWindowTitle(QStringLiteral("Conversion"));
    Label1 = new QLabel(QStringLiteral("Conversion en cours..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    BitBtn1 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    options.importDir = state.store().path(QStringLiteral("Import"));
    connect(BitBtn1, &QPushButton::clicked, this, &THTML2PDF::BitBtn1Click);
}

THTML2PDF::~THTML2PDF()
{
    delete conversion_;
}

QString THTML2PDF::convert(QWebEnginePage* page)
{
    const BusyCursor busy;
    Termine = false;
    s_.FichierImport.clear();
    Label1->setText(QStringLiteral("Conversion en cours..."));
    ProgressBar1->setRange(0, 0);
    ProgressBar1->show();
    delete conversion_;
    conversion_ = new PageConversion(page, options, this);
    connect(conversion_, &PageConversion::status, this, [this](const QString& text, int maximum) {
        Label1->setText(text);
        // A phase of no steps shows a moving bar.
        ProgressBar1->setRange(0, maximum);
        ProgressBar1->setValue(0);
    });
    connect(conversion_, &PageConversion::step, this, [this] {
        if (ProgressBar1->value() < ProgressBar1->maximum())
            ProgressBar1->setValue(ProgressBar1->value() + 1);
    });
    connect(conversion_, &PageConversion::succeeded, this, [this](const QString& pdf) {
        Termine = true;
        s_.FichierImport = pdf;
        done(QDialog::Accepted);
    });
    connect(conversion_, &PageConversion::failed, this, &THTML2PDF::HandleTerminate);
    conversion_->start();
    emit started(conversion_);
    dialogs::exec(*this);
    // A dialog closed any other way than by its end stops the conversion.
    if (!Termine) BitBtn1Click();
    conversion_->deleteLater();
    conversion_ = nullptr;
    return s_.FichierImport;
}

void THTML2PDF::BitBtn1Click()
{
    if (conversion_) conversion_->cancel();
    // The PDF made before "Annuler" does not outlive it.
    if (!s_.FichierImport.isEmpty()) {
        QFile::remove(s_.FichierImport);
        s_.FichierImport.clear();
    }
    Termine = true;
    done(QDialog::Rejected);
}

void THTML2PDF::HandleTerminate()
{
    if (Termine) return;
    Termine = true;
    msg::error(QStringLiteral("Cette page ne peut pas être convertie.") + CR +
               QStringLiteral("Thread arrêté."));
    done(QDialog::Rejected);
}

void THTML2PDF::closeEvent(QCloseEvent* e)
{
    e->ignore();
}
