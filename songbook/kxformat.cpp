#include "songbook/kxformat.h"

#include "foundation/btkpane.h"
#include "songbook/kxtype.h"
#include "songs/kxsong.h"

btkFontSpec FontSpecOf(const KxFont& font) {
    btkFontSpec spec;
    spec.name = font.name;
    spec.size = font.size;
    spec.bold = font.bold;
    spec.italic = font.italic;
    spec.underline = font.underline;
    spec.strikeout = font.strikeout;
    spec.color = static_cast<btkColor>(font.color);
    return spec;
}

// ---- format properties

void KxFormatProps::loadFonts(const btkXMLNode& fonts) {
    std::unique_ptr<btkFont>* const slots[9] = {&fntext,         &fnlab,           &fnacs,    &fntitle, &fnauthor,
                                                &fnoutlinetitle, &fnoutlinenumber, &fnheader, &fnfooter};
    for (int i = 0; i < 9; ++i) {
        if (!printer) {
            slots[i]->reset();
            continue;
        }
        KxFont font;
        KxFont::loadXML(font, fonts.childByName(KxTypeFontNames[i]));
        slots[i]->reset(printer->makeFont(FontSpecOf(font)));
    }
}

void KxFormatProps::deleteFonts() {
    for (std::unique_ptr<btkFont>* font :
         {&fntext, &fnlab, &fnacs, &fntitle, &fnauthor, &fnoutlinetitle, &fnoutlinenumber, &fnheader, &fnfooter})
        font->reset();
    width = 0;
}

// ---- measuring and laying out

FKXTYPE MeasureSongParams(btkCanvas measure, btkFont* textFont, btkFont* labelFont, btkFont* chordFont, int width,
                          int slspacehi, bool inacs, bool outacs) {
    FKXTYPE p;
    p.width = width;
    measure.setFont(chordFont);
    p.chordRow = measure.textHeight("I");
    p.chordGap = measure.textWidth("I");
    measure.setFont(textFont);
    p.textLine = measure.textHeight("I");
    p.wordGap = measure.textWidth("I");
    measure.setFont(labelFont);
    p.labelLine = btkMax(measure.textHeight("I"), p.textLine);
    p.chordsOut = outacs;
    p.chordsIn = inacs;
    p.sectionSpace = p.textLine * slspacehi / 100;
    p.chordTextLine = p.chordRow + p.textLine;
    p.textFont = textFont;
    p.chordFont = chordFont;
    p.labelFont = labelFont;
    return p;
}

int buildScreenSongPanes(btkCanvas measure, btkCanvas target, const char* text, btkFont* textFont, btkFont* labelFont,
                         btkFont* chordFont, int width, int slspacehi, bool inacs, bool outacs) {
    const FKXTYPE p = MeasureSongParams(measure, textFont, labelFont, chordFont, width, slspacehi, inacs, outacs);
    return buildSongPanes(p, target, text);
}

int buildPrintSongPanes(btkCanvas measure, btkCanvas target, const char* text, const KxFormatProps& props) {
    const FKXTYPE p = MeasureSongParams(measure, props.fntext.get(), props.fnlab.get(), props.fnacs.get(), props.width,
                                        props.slspacehi, props.inacs, props.outacs);
    return buildSongPanes(p, target, text);
}

void drawSongHead(btkCanvas canvas, const char* title, const char* author, const KxFormatProps& props) {
    canvas.setFont(props.fntitle.get());
    const int t = canvas.textHeight(title);
    canvas.text(0, 0, title);
    canvas.setFont(props.fnauthor.get());
    const int a = canvas.textHeight(author);
    canvas.text(0, t, author);
    // The head never ends a page apart from the song's first text block.
    canvas.paneBreak(t + a, "keep");
}

void drawSongSpace(btkCanvas canvas, const KxFormatProps& props) {
    canvas.setFont(props.fntext.get());
    const int gap = canvas.textHeight("I") * props.songspacehi / 100;
    if (props.songlines) canvas.line(0, gap / 2, props.width, gap / 2);
    canvas.paneBreak(gap, "optional");
}

// ---- one song on its own

bool printSong(const KxSong& song, btkPrintDevice& printer, const btkXMLNode& options) {
    if (!printer.IsValid()) return false;
    KxFormatProps props;
    props.printer = &printer;
    props.width = printer.pageWidth();
    const btkXMLNode print = options.childByName("print");
    props.loadFonts(print.childByName("fonts"));
    props.slspacehi = print.intAttr("slspacehi");
    props.inacs = print.intAttr("inacs") != 0;
    props.outacs = print.intAttr("outacs") != 0;

    btkPaneGrp panes;
    const btkCanvas measure = printer.measureCanvas();
    panes.canvas().setMeasureTarget(measure.sp());
    drawSongHead(panes.handle(), song.title, song.author, props);
    buildPrintSongPanes(measure, panes.handle(), song.displayText(), props);

    if (!printer.startDoc(song.title)) return false;
    btkDevicePagePrinter pages(&printer);
    printPanesOnPages(panes, pages, nullptr);
    printer.endDoc();
    return true;
}
