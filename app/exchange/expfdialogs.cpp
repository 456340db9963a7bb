#include "app/exchange/expfdialogs.h"

#include <algorithm>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "export/exportfilter.h"
#include "foundation/qt/btkqstring.h"

Trtfexpffrm* rtfexpffrm = nullptr;
Tcustomexpffrm* customexpffrm = nullptr;

namespace {

// OK and "Storno" at the bottom right.
QHBoxLayout* okCancel(btkDialogForm* form, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(QStringLiteral("OK"), form);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    cancel = new QPushButton(btkToQString("Storno"), form);
    cancel->setObjectName("BitBtn2");
    QObject::connect(ok, &QPushButton::clicked, form, [form] { form->accept(); });
    QObject::connect(cancel, &QPushButton::clicked, form, [form] { form->reject(); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

QGroupBox* box(const char* caption, QWidget* frame, QWidget* parent) {
    auto* group = new QGroupBox(btkToQString(caption), parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(frame);
    return group;
}

class WindowFilterDialogs final : public ExportFilterDialogs {
public:
    bool editRTF(RTFExporterProps& rtf, RTFSongExporterProps& rtftext, TextExporterProps& text) override {
        return rtfexpffrm && rtfexpffrm->Execute(rtf, rtftext, text);
    }
    bool editCustom(TextExporterProps& text, CustomExporterProps& custom) override {
        return customexpffrm && customexpffrm->Execute(text, custom);
    }
};

}  // namespace

Trtfexpffrm::Trtfexpffrm() {
    setObjectName("rtfexpffrm");
    setWindowTitle(btkToQString("Formát RTF exportu"));
    text = new Texpfpropstextfrm(this);
    rtftext = new Texpfpropsrtftextfrm(this);
    rtf = new Texpfpropsrtffrm(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box("Nastavení textu", text, this));
    layout->addWidget(box("Vlastnosti textu", rtftext, this));
    layout->addWidget(box("Záhlaví písně", rtf, this));
    layout->addLayout(okCancel(this, BitBtn1, BitBtn2));
    resize(460, std::max(467, sizeHint().height()));
}

bool Trtfexpffrm::Execute(RTFExporterProps& rtfProps, RTFSongExporterProps& rtftextProps,
                          TextExporterProps& textProps) {
    text->loadProps(textProps);
    rtftext->loadProps(rtftextProps);
    rtf->loadProps(rtfProps);
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) return false;
    text->saveProps(textProps);
    rtftext->saveProps(rtftextProps);
    rtf->saveProps(rtfProps);
    return true;
}

Tcustomexpffrm::Tcustomexpffrm() {
    setObjectName("customexpffrm");
    setWindowTitle(btkToQString("Uživatelský export"));
    resize(618, 449);
    pages = new QTabWidget(this);
    custom = new Texpfpropscustomfrm(this);
    text = new Texpfpropstextfrm(this);
    pages->addTab(custom, btkToQString("Šablony"));
    pages->addTab(text, btkToQString("Text"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(okCancel(this, BitBtn1, BitBtn2));
}

bool Tcustomexpffrm::Execute(TextExporterProps& textProps, CustomExporterProps& customProps) {
    text->loadProps(textProps);
    custom->loadProps(customProps);
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) return false;
    text->saveProps(textProps);
    custom->saveProps(customProps);
    return true;
}

void InstallExportFilterDialogs(bool install) {
    static WindowFilterDialogs dialogs;
    gExportFilterDialogs = install ? &dialogs : nullptr;
}
