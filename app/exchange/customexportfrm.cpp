#include "app/exchange/customexportfrm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/exchange/expflistfrm.h"
#include "app/song/songsetfrm.h"
#include "export/exportfilter.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"
#include "songs/appservices.h"
#include "songs/kxsong.h"

Tcustomexportfrm* customexportfrm = nullptr;

Tcustomexportfrm::Tcustomexportfrm() {
    setObjectName("customexportfrm");
    setWindowTitle(btkToQString("Uživatelský export"));
    songset = new Tsongsetctrlfrm(this);
    expf = new QListWidget(this);
    expf->setObjectName("expf");
    outfile = new QLineEdit(this);
    outfile->setObjectName("outfile");
    outfile->setEnabled(false);
    outdir = new QLineEdit(this);
    outdir->setObjectName("outdir");
    outdir->setEnabled(false);
    choosefile = new QPushButton(QStringLiteral("..."), this);
    choosefile->setObjectName("choosefile");
    choosefile->setToolTip(btkToQString("Vybrat soubor"));
    choosefile->setEnabled(false);
    choosedir = new QPushButton(QStringLiteral("..."), this);
    choosedir->setObjectName("choosedir");
    choosedir->setToolTip(btkToQString("Vybrat adresář"));
    choosedir->setEnabled(false);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(btkToQString("Storno"), this);
    BitBtn2->setObjectName("BitBtn2");

    auto* grid = new QGridLayout(this);
    grid->addWidget(songset, 0, 0, 1, 2);
    grid->addWidget(new QLabel(btkToQString("Výstupní formát"), this), 1, 0);
    grid->addWidget(expf, 2, 0, 1, 2);
    grid->addWidget(new QLabel(btkToQString("Výstupní soubor"), this), 3, 0);
    grid->addWidget(outfile, 4, 0);
    grid->addWidget(choosefile, 4, 1);
    grid->addWidget(new QLabel(btkToQString("Výstupní adresář"), this), 5, 0);
    grid->addWidget(outdir, 6, 0);
    grid->addWidget(choosedir, 6, 1);
    grid->setColumnStretch(0, 1);
    for (QPushButton* chooser : {choosefile, choosedir})
        chooser->setMaximumWidth(chooser->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 7, 0, 1, 2);
    // Room for a path of some length in the output fields.
    resize(440, sizeHint().height());

    QObject::connect(expf, &QListWidget::itemClicked, this, btkGuarded([this](QListWidgetItem*) { expfClick(); }));
    QObject::connect(BitBtn1, &QPushButton::clicked, this, btkGuarded([this](bool) { BitBtn1Click(); }));
    QObject::connect(choosefile, &QPushButton::clicked, this, btkGuarded([this](bool) { chooseFileClick(); }));
    QObject::connect(choosedir, &QPushButton::clicked, this, btkGuarded([this](bool) { chooseDirClick(); }));
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

bool Tcustomexportfrm::Execute() {
    listExportFilters(names, namesAgain);
    {
        const QSignalBlocker blocker(expf);
        expf->clear();
        for (int i = 0; i < names.count(); ++i) expf->addItem(btkToQString(btkFile(names[i]).changeExt("")));
        if (expf->count() > 0) expf->setCurrentRow(0);
    }
    expfClick();
    return (runner ? runner(*this) : exec()) == QDialog::Accepted;
}

btkstring Tcustomexportfrm::selectedName() const {
    const int row = expf->currentRow();
    return row >= 0 && row < names.count() ? names[row] : btkstring();
}

void Tcustomexportfrm::expfClick() {
    const btkstring name = selectedName();
    if (name.empty()) return;
    // Only the kind matters here: a file that cannot be read is not named
    // yet (the run will), and counts as a one-file filter.
    bool oneFile = true;
    if (btkFileExists(exportFilterPath(name))) {
        btkXMLNode root;
        try {
            root.load(exportFilterPath(name));
            oneFile = root.name() != btkstring("online");
        } catch (const btkError&) {
        }
    }
    outfile->setEnabled(oneFile);
    choosefile->setEnabled(oneFile);
    outdir->setEnabled(!oneFile);
    choosedir->setEnabled(!oneFile);
}

void Tcustomexportfrm::chooseFileClick() {
    btkstring path = btkFromQString(outfile->text());
    if (btkDialogs().saveFile("Všechny soubory|*", programDir(), "", path)) outfile->setText(btkToQString(path));
}

void Tcustomexportfrm::chooseDirClick() {
    btkstring path = btkFromQString(outdir->text());
    if (btkDialogs().chooseDirectory(programDir(), path)) outdir->setText(btkToQString(path));
}

void Tcustomexportfrm::BitBtn1Click() {
    if (RunExport()) accept();
}

bool Tcustomexportfrm::RunExport() {
    const btkstring name = selectedName();
    if (name.empty()) {
        ErrorBox("Není vybrán exportovací filtr");
        return false;
    }
    btkCntVec<KxSong*> songs;
    CollectSongSet(songset->choice(), songs);
    FilterLoadFailure failure;
    const std::unique_ptr<ExportFilter> filter = loadExportFilter(name, &failure);
    if (!filter) {
        RefuseUnloadedFilter(name, failure);
        return false;
    }
    if (const FileExportFilter* file = filter->asFileFilter()) {
        const btkstring path = btkFromQString(outfile->text());
        const btkFile folder = btkFile(path).dirPart();
        if (path.empty() || btkIsDirectory(path) || !btkIsDirectory(folder.empty() ? btkFile(".") : folder)) {
            ErrorBox("Soubor nelze vytvořit");
            return false;
        }
        btkCntVec<AbstractSongData*> data;
        for (KxSong* song : songs) data.add(song);
        // A failed write has named the file in an error box; the old file
        // stays.
        return exportToFile(*file, data, path);
    }
    if (const DirectoryExportFilter* directory = filter->asDirectoryFilter()) {
        const btkstring path = btkFromQString(outdir->text());
        if (path.empty() || !btkIsDirectory(path)) {
            ErrorBox(path.empty() ? btkstring("Adresář neexistuje")
                                  : btkFormat("Adresář neexistuje\n%s", path.c_str()));
            return false;
        }
        return exportToDirectory(*directory, songs, path);
    }
    return false;
}
