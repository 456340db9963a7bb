#include "songbook/kxitems.h"

#include "songbook/kxformat.h"
#include "songbook/melodar.h"
#include "songs/chords.h"
#include "songs/kxdatabase.h"

// ---- flags

void KxData::writeFlags(btkXMLNode element) const {
    element.setIntAttr("newpage", newpage);
    element.setIntAttr("skippage", skippage);
    element.setIntAttr("fixtobegin", fixtobegin);
    element.setIntAttr("fixtoend", fixtoend);
}

void KxData::readFlags(const btkXMLNode& element) {
    newpage = element.intAttr("newpage") != 0;
    skippage = element.intAttr("skippage") != 0;
    fixtobegin = element.intAttr("fixtobegin") != 0;
    fixtoend = element.intAttr("fixtoend") != 0;
}

// ---- songs

SongData::SongData(Melodar* owner, const KxSong& song)
    : KxData(owner),
      title(song.title),
      author(song.author),
      group(song.group),
      text(song.displayText()),
      locid(song.locid),
      netid(song.netid) {
    if (song.database) db = song.database->name();
    for (int i = 0; i < song.vars.count(); ++i) vars.set(song.vars.item(i).name, song.vars.item(i).value);
}

btkstring SongData::displayText() const { return title + " (" + group + ")"; }

btkstring SongData::transposedText() const {
    // Notes move modulo 12; reducing first keeps any stored value from
    // overflowing the note arithmetic.
    return transposition ? TransposeText(text, transposition % 12) : text;
}

void SongData::setTransposition(int t) {
    transposition = t;
    panes.reset();
    if (!book) return;
    book->setChanged();
    book->relayout();
}

void SongData::drawPanes(const KxFormatProps& props, btkCanvas measure) {
    panes = std::make_unique<btkPaneGrp>();
    panes->canvas().setMeasureTarget(measure.sp());
    drawSongHead(panes->handle(), title, author, props);
    buildPrintSongPanes(measure, panes->handle(), transposedText(), props);
    drawSongSpace(panes->handle(), props);
}

void SongData::writeXML(btkXMLNode element) const {
    writeFlags(element);
    element.setName("song");
    element.setAttr("title", title);
    element.setAttr("author", author);
    element.setAttr("group", group);
    element.setIntAttr("locid", locid);
    element.setIntAttr("netid", netid);
    element.setIntAttr("chorddiff", transposition);
    element.setAttr("db", db);
    element.setAttr("remark", remark);
    element.addChild("text").setValue(text);
    btkXMLNode list = element.addChild("vars");
    for (int i = 0; i < vars.count(); ++i) {
        btkXMLNode var = list.addChild("var");
        var.setAttr("name", vars.item(i).name);
        var.setValue(vars.item(i).value);
    }
}

void SongData::readXML(const btkXMLNode& element) {
    readFlags(element);
    title = element.attr("title");
    author = element.attr("author");
    group = element.attr("group");
    db = element.attr("db");
    remark = element.attr("remark");
    locid = element.intAttr("locid");
    netid = element.intAttr("netid");
    transposition = element.intAttr("chorddiff");
    text = element.childByName("text").text();
    const btkXMLNode list = element.childByName("vars");
    for (int i = 0; i < list.childCount(); ++i) vars.set(list.child(i).attr("name"), list.child(i).text());
}

// ---- tables of contents

KxOutline::KxOutline(Melodar* owner) : KxData(owner) { order.setName("order"); }

void KxOutline::writeXML(btkXMLNode element) const {
    writeFlags(element);
    element.setName("outline");
    element.addChild("order").assign(order);
}

void KxOutline::readXML(const btkXMLNode& element) {
    readFlags(element);
    order.assign(element.childByName("order"));
    order.setName("order");
}

bool KxOutline::editProperties(const std::function<bool(btkXMLNode)>& orderEditor) {
    if (!orderEditor || !orderEditor(order)) return false;
    if (!book) return true;
    book->setChanged();
    book->relayout();
    return true;
}
