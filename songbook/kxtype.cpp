#include "songbook/kxtype.h"

#include <algorithm>
#include <cstring>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxmltree.h"
#include "songs/fontsettings.h"

const char* const KxTypeFontNames[9] = {"fntext",         "fnlab",           "fnacs",    "fntitle", "fnauthor",
                                        "fnoutlinetitle", "fnoutlinenumber", "fnheader", "fnfooter"};

namespace {

// The names being resolved by the loads in progress (outermost first): a
// type met again is a cycle of base types.
btkStrings& namesInResolution() {
    static btkStrings names;
    return names;
}

bool isBeingResolved(const char* name) {
    for (const btkstring& n : namesInResolution())
        if (n == name) return true;
    return false;
}

// Keeps a name in the resolution list for one load, exceptions included.
class ResolvingName {
public:
    explicit ResolvingName(const btkstring& name) { namesInResolution().add(name); }
    ResolvingName(const ResolvingName&) = delete;
    ResolvingName& operator=(const ResolvingName&) = delete;
    ~ResolvingName() { namesInResolution().removeItems(namesInResolution().count() - 1, 1); }
};

bool flag(const btkXMLNode& node, const char* name) { return node.intAttr(name) != 0; }

int clampedAttr(const btkXMLNode& node, const char* name, int low, int high) {
    return std::clamp(node.intAttr(name), low, high);
}

// At most MaxGrid entries, each a margin in range.
void clampMargins(KxIntList& list) {
    if (list.count() > KxTypeLimits::MaxGrid)
        list.removeItems(KxTypeLimits::MaxGrid, list.count() - KxTypeLimits::MaxGrid);
    for (int i = 0; i < list.count(); ++i)
        list[i] = std::clamp(list[i], -KxTypeLimits::MaxMillimetres, KxTypeLimits::MaxMillimetres);
}

// Font sizes of the fonts element within what the font chooser offers.
void clampFontSizes(btkXMLNode fonts) {
    for (int i = 0; i < fonts.childCount(); ++i) {
        btkXMLNode font = fonts.child(i);
        if (font.hasAttr("size")) font.setIntAttr("size", clampedAttr(font, "size", 0, KxTypeLimits::MaxFontSize));
    }
}

}  // namespace

// ---- integer lists

btkstring intListToString(const KxIntList& list) {
    btkstring text;
    for (int i = 0; i < list.count(); ++i) {
        if (i) text += ',';
        text += list[i];
    }
    return text;
}

void stringToIntList(const char* text, KxIntList& list) {
    btkStrings pieces;
    btkSplit(pieces, text, ',', false);
    list.clear();
    for (const btkstring& piece : pieces) list.add(btkAtoi(piece));
}

// ---- the default type

DefaultKxType::DefaultKxType() {
    fonts.setName("fonts");
    order.setName("order");
    // The platform font's defaults with the face Arial, in the order stored
    // type files hold them (a saved default type reads back unchanged).
    KxFont platform;
    platform.name = "Arial";
    platform.size = 8;
    static const char* const appendOrder[9] = {"fntext",         "fnlab",           "fntitle",  "fnauthor", "fnacs",
                                               "fnoutlinetitle", "fnoutlinenumber", "fnheader", "fnfooter"};
    for (const char* name : appendOrder) KxFont::saveXML(platform, fonts.addChild(name));
    fonts.childByName("fnacs").setIntAttr("bold", 1);
    fonts.childByName("fnlab").setIntAttr("underline", 1);
    fonts.childByName("fntitle").setIntAttr("size", 14);
    fonts.childByName("fntitle").setIntAttr("bold", 1);
    fonts.childByName("fnauthor").setIntAttr("italic", 1);

    hcnt = vcnt = colcnt = 1;
    pagenumstart = 1;
    slspacehi = 50;
    songspacehi = 200;
    songlines = true;
}

// ---- reading and writing the element

KxTypeWithBase::KxTypeWithBase() {
    fonts.setName("fonts");
    order.setName("order");
}

void KxTypeWithBase::writeMargins(btkXMLNode page, const KxIntList& mleft, const KxIntList& mright,
                                  const KxIntList& mtop, const KxIntList& mbottom) {
    page.setAttr("mleft", intListToString(mleft));
    page.setAttr("mright", intListToString(mright));
    page.setAttr("mtop", intListToString(mtop));
    page.setAttr("mbottom", intListToString(mbottom));
}

void KxTypeWithBase::readMargins(const btkXMLNode& page, KxIntList& mleft, KxIntList& mright, KxIntList& mtop,
                                 KxIntList& mbottom) {
    stringToIntList(page.attr("mleft"), mleft);
    stringToIntList(page.attr("mright"), mright);
    stringToIntList(page.attr("mtop"), mtop);
    stringToIntList(page.attr("mbottom"), mbottom);
}

void KxTypeWithBase::writeKxtype(const BaseKxType& t, btkXMLNode element) {
    element.setName("kxtype");
    btkXMLNode page = element.getChild("page");
    page.setIntAttr("hcnt", t.hcnt);
    page.setIntAttr("vcnt", t.vcnt);
    page.setIntAttr("leftsp", t.leftsp);
    page.setIntAttr("rightsp", t.rightsp);
    page.setIntAttr("topsp", t.topsp);
    page.setIntAttr("bottomsp", t.bottomsp);
    page.setIntAttr("margintype", t.margintype);
    writeMargins(page, t.mleft, t.mright, t.mtop, t.mbottom);
    page.setIntAttr("landscape", t.landscape);
    page.setIntAttr("a4distrib", t.a4distrib);
    page.setIntAttr("autodistrib", t.autodistrib);

    element.getChild("outline").setIntAttr("colcnt", t.colcnt);

    btkXMLNode fonts = element.getChild("fonts");
    fonts.assign(t.fonts);
    fonts.setName("fonts");
    btkXMLNode order = element.getChild("order");
    order.assign(t.order);
    order.setName("order");

    btkXMLNode headfoot = element.getChild("headfoot");
    headfoot.setAttr("header", t.header);
    headfoot.setAttr("footer", t.footer);
    headfoot.setIntAttr("pagenumstart", t.pagenumstart);

    btkXMLNode format = element.getChild("format");
    format.setIntAttr("slspacehi", t.slspacehi);
    format.setIntAttr("songspacehi", t.songspacehi);
    format.setIntAttr("songlines", t.songlines);
    format.setIntAttr("inacs", t.inacs);
    format.setIntAttr("outacs", t.outacs);
}

void KxTypeWithBase::readKxtype(BaseKxType& t, const btkXMLNode& element) {
    using L = KxTypeLimits;
    const btkXMLNode page = element.childByName("page");
    t.hcnt = clampedAttr(page, "hcnt", 1, L::MaxGrid);
    t.vcnt = clampedAttr(page, "vcnt", 1, L::MaxGrid);
    t.leftsp = clampedAttr(page, "leftsp", -L::MaxMillimetres, L::MaxMillimetres);
    t.rightsp = clampedAttr(page, "rightsp", -L::MaxMillimetres, L::MaxMillimetres);
    t.topsp = clampedAttr(page, "topsp", -L::MaxMillimetres, L::MaxMillimetres);
    t.bottomsp = clampedAttr(page, "bottomsp", -L::MaxMillimetres, L::MaxMillimetres);
    // Only simple margins and margins per column and row have a meaning.
    t.margintype = page.intAttr("margintype") == 1 ? 1 : 0;
    readMargins(page, t.mleft, t.mright, t.mtop, t.mbottom);
    for (KxIntList* list : {&t.mleft, &t.mright, &t.mtop, &t.mbottom}) clampMargins(*list);
    t.landscape = flag(page, "landscape");
    t.a4distrib = page.intAttr("a4distrib");
    t.autodistrib = flag(page, "autodistrib");

    t.colcnt = clampedAttr(element.childByName("outline"), "colcnt", 1, L::MaxOutlineColumns);

    // Copies first: element may share its children with the type's own nodes.
    btkXMLNode fonts, order;
    fonts.assign(element.childByName("fonts"));
    order.assign(element.childByName("order"));
    t.fonts.assign(fonts);
    t.fonts.setName("fonts");
    clampFontSizes(t.fonts);
    t.order.assign(order);
    t.order.setName("order");

    const btkXMLNode headfoot = element.childByName("headfoot");
    t.header = headfoot.attr("header");
    t.footer = headfoot.attr("footer");
    t.pagenumstart = clampedAttr(headfoot, "pagenumstart", -L::MaxPageNumber, L::MaxPageNumber);

    const btkXMLNode format = element.childByName("format");
    t.slspacehi = clampedAttr(format, "slspacehi", -L::MaxPercent, L::MaxPercent);
    t.songspacehi = clampedAttr(format, "songspacehi", -L::MaxPercent, L::MaxPercent);
    t.songlines = flag(format, "songlines");
    t.inacs = flag(format, "inacs");
    t.outacs = flag(format, "outacs");
}

void KxTypeWithBase::toXML(btkXMLNode element, bool whole) const {
    if (!savediff || whole)
        writeKxtype(*this, element);
    else
        writeDiff(element, basetype);
    element.setIntAttr("savediff", savediff);
    element.setAttr("basetype", basetype);
    element.setName("kxtype");
}

void KxTypeWithBase::fromXML(const btkXMLNode& element) {
    const bool diff = flag(element, "savediff");
    const btkstring base = element.attr("basetype");
    if (diff)
        readDiff(element, base);
    else
        readKxtype(*this, element);
    savediff = diff;
    basetype = base;
}

void KxTypeWithBase::resetToDefault() {
    DefaultKxType defaults;
    btkXMLNode element;
    writeKxtype(defaults, element);
    readKxtype(*this, element);
}

void KxTypeWithBase::writeDiff(btkXMLNode out, const char* baseName) const {
    std::unique_ptr<BaseKxType> base = loadBase(baseName);
    btkXMLNode mine, theirs;
    writeKxtype(*this, mine);
    writeKxtype(*base, theirs);
    XMLDiffTree(mine, theirs, out);
}

void KxTypeWithBase::readDiff(const btkXMLNode& in, const char* baseName) {
    std::unique_ptr<BaseKxType> base = loadBase(baseName);
    btkXMLNode merged;
    writeKxtype(*base, merged);
    XMLMergeTree(merged, in);
    readKxtype(*this, merged);
}

// ---- base types and files

bool KxTypeWithBase::isValidTypeName(const char* name) {
    return name && btkIsPlainFileName(name) && !std::strstr(name, "..");
}

btkstring KxTypeWithBase::typeFilePath(const char* name) {
    return programDir().join("melodary").join(btkstring(name) + ".kxt");
}

std::unique_ptr<BaseKxType> KxTypeWithBase::loadBase(const char* name) {
    // "default" is always the built-in type.
    if (std::strcmp(name, "default") != 0 && isValidTypeName(name) && !isBeingResolved(name) &&
        btkFileExists(typeFilePath(name)))
        return std::make_unique<FileKxType>(name);
    return std::make_unique<DefaultKxType>();
}

FileKxType::FileKxType(const char* name) : fileName(name) {
    if (isValidTypeName(name) && btkFileExists(typeFilePath(name))) {
        load();
    } else {
        resetToDefault();
    }
}

void FileKxType::load() {
    ResolvingName resolving(fileName);
    btkXMLNode root;
    root.load(typeFilePath(fileName));
    fromXML(root);
}

bool FileKxType::save() const {
    const btkstring path = isValidTypeName(fileName) ? typeFilePath(fileName) : btkstring();
    try {
        if (path.empty()) throw btkError(btkFormat("Neplatný název typu melodaru: %s", fileName.c_str()));
        btkXMLNode root;
        toXML(root, false);
        root.save(path, "Windows-1250");
        return true;
    } catch (const btkError& e) {
        ErrorBox(e.what());
        return false;
    }
}

// ---- the type of a song book

MelodarKxType::MelodarKxType() { resetToDefault(); }

void MelodarKxType::changeBaseType(const char* newName) {
    btkXMLNode changes;
    {
        std::unique_ptr<BaseKxType> old = loadBase(basetype);
        btkXMLNode mine, theirs;
        writeKxtype(*this, mine);
        writeKxtype(*old, theirs);
        XMLDiffTree(mine, theirs, changes);
    }
    const btkstring name = newName;
    std::unique_ptr<BaseKxType> fresh = loadBase(name);
    btkXMLNode rebased;
    writeKxtype(*fresh, rebased);
    XMLMergeTree(rebased, changes);
    readKxtype(*this, rebased);
    basetype = name;
}
