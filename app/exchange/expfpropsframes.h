// The property frames of the export filter dialogs: the text options of
// every stream filter, the RTF text fonts, the RTF heading fonts and the
// templates of a template filter. Each loads a settings record into its
// controls and saves them back; the dialogs around them decide when.
#pragma once

#include <QWidget>

#include "app/settings/fontbutton.h"
#include "export/exportprops.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class Texpfpropstextfrm : public QWidget {
public:
    explicit Texpfpropstextfrm(QWidget* parent = nullptr);
    void loadProps(const TextExporterProps& props);
    void saveProps(TextExporterProps& props) const;

    QCheckBox* inacs = nullptr;
    QCheckBox* outacs = nullptr;
    QCheckBox* textlab = nullptr;
};

// The song text fonts; chords and labels take face and size from the text.
class Texpfpropsrtftextfrm : public QWidget {
public:
    explicit Texpfpropsrtftextfrm(QWidget* parent = nullptr);
    void loadProps(const RTFSongExporterProps& props);
    void saveProps(RTFSongExporterProps& props) const;

    FontButton* ftext = nullptr;
    FontButton* facs = nullptr;
    FontButton* flab = nullptr;
};

// The heading fonts; the export style is not shown and keeps its value.
class Texpfpropsrtffrm : public QWidget {
public:
    explicit Texpfpropsrtffrm(QWidget* parent = nullptr);
    void loadProps(const RTFExporterProps& props);
    void saveProps(RTFExporterProps& props) const;

    FontButton* ftitle = nullptr;
    FontButton* fauthor = nullptr;
};

// The fifteen templates. The memos show line ends as the platform edits
// them; stored templates hold line feeds only.
class Texpfpropscustomfrm : public QWidget {
public:
    explicit Texpfpropscustomfrm(QWidget* parent = nullptr);
    void loadProps(const CustomExporterProps& props);
    void saveProps(CustomExporterProps& props) const;

    QPlainTextEdit* begindoc = nullptr;
    QPlainTextEdit* enddoc = nullptr;
    QPlainTextEdit* beginsong = nullptr;
    QPlainTextEdit* endsong = nullptr;
    QPlainTextEdit* songsep = nullptr;
    QLineEdit* begintextline = nullptr;
    QLineEdit* endtextline = nullptr;
    QLineEdit* beginmixedline = nullptr;
    QLineEdit* endmixedline = nullptr;
    QLineEdit* beginchord = nullptr;
    QLineEdit* endchord = nullptr;
    QLineEdit* beginlabel = nullptr;
    QLineEdit* endlabel = nullptr;
    QLineEdit* beginacline = nullptr;
    QLineEdit* endacline = nullptr;
};
