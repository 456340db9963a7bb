#include "app/main/startfrm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "app/version.h"
#include "foundation/btkstring.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/inetconnection.h"

Tstartfrm* startfrm = nullptr;

namespace {

// A label that opens its address with the desktop when clicked.
QLabel* linkLabel(QWidget* parent, const char* text, const char* address) {
    auto* label = new QLabel(parent);
    label->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(QString::fromLatin1(address), btkToQString(text).toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label,
                     btkGuarded([](const QString& link) { QDesktopServices::openUrl(QUrl(link)); }));
    return label;
}

}  // namespace

Tstartfrm::Tstartfrm() : btkDialogForm(nullptr, Qt::FramelessWindowHint) {
    setObjectName("startfrm");
    // Frameless, but the window list and the task bar show a title.
    setWindowTitle(QStringLiteral("Kantorix"));
    setFixedSize(483, 230);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0xFF, 0xFF));  // 16777088
    setPalette(pal);

    auto* shape = new QFrame(this);
    shape->setObjectName("Shape1");
    shape->setFrameShape(QFrame::Box);
    shape->setGeometry(0, 0, 483, 230);

    Label5 = new QLabel(QStringLiteral("Kantorix"), this);
    Label5->setObjectName("Label5");
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPixelSize(48);
    Label5->setFont(big);
    QPalette maroon = Label5->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label5->setPalette(maroon);

    version = new QLabel(btkToQString(btkstring("Verze ") + KX_VERSION), this);
    version->setObjectName("version");

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    auto* credits = new QVBoxLayout(Panel1);
    credits->addWidget(new QLabel(btkToQString("Správce zpěvníků a databází písní"), Panel1));
    credits->addWidget(new QLabel(btkToQString("Akordy v hranatých závorkách, transpozice, tisk zpěvníků"), Panel1));
    credits->addWidget(linkLabel(Panel1, KxWebAddress, KxWebAddress));
    credits->addWidget(linkLabel(Panel1, KxContactMail, btkstring("mailto:") + KxContactMail));

    btok = new QPushButton(QStringLiteral("OK"), this);
    btok->setObjectName("btok");
    btok->setVisible(false);
    QObject::connect(btok, &QPushButton::clicked, this, [this] { accept(); });

    credits->setContentsMargins(0, 4, 0, 0);
    credits->setSpacing(2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Panel1, 1);
    bottom->addWidget(btok, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 8, 16, 12);
    layout->setSpacing(2);
    layout->addWidget(Label5);
    layout->addWidget(version);
    layout->addLayout(bottom, 1);
    shape->lower();
}

void Tstartfrm::showEvent(QShowEvent* event) {
    btkDialogForm::showEvent(event);
    // Centred on the screen; start-up error boxes, placed over the splash,
    // are centred with it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (aboutMode) {
        btok->setVisible(true);
        layout()->activate();
    }
}

void Tstartfrm::showSplash() {
    freeSplash();
    startfrm = new Tstartfrm();
    startfrm->show();
    QApplication::processEvents();
}

void Tstartfrm::freeSplash() {
    delete startfrm;
    startfrm = nullptr;
}

void Tstartfrm::showAbout() {
    freeSplash();
    startfrm = new Tstartfrm();
    startfrm->aboutMode = true;
    startfrm->exec();
    freeSplash();
}
