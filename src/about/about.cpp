#include "about/about.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/datafiles.h"

TAboutForm::TAboutForm(const QString& version, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AboutForm");
    setWindowTitle("About Orvix - Version " + version);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel;
    picture->setObjectName("AboutImage");
    picture->setAlignment(Qt::AlignCenter);
    const QString file = FindDataFile("pictures/about.bmp");
    if (!file.isEmpty())
        picture->setPixmap(QPixmap(file));
    auto* title = new QLabel("<b>Orvix</b>");
    title->setAlignment(Qt::AlignCenter);
    auto* ver = new QLabel("Version " + version);
    ver->setAlignment(Qt::AlignCenter);
    auto* blurb = new QLabel("A desktop client for Kyrn.");
    blurb->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton("OK");
    ok->setObjectName("OKBtn");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(picture);
    layout->addWidget(title);
    layout->addWidget(ver);
    layout->addWidget(blurb);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}
