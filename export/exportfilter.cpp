#include "export/exportfilter.h"

#include <sys/stat.h>

#include <cstring>

#include "export/customexporter.h"
#include "export/htmlexporter.h"
#include "export/onlineexporter.h"
#include "export/rtfexporter.h"
#include "export/txtexporter.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btksyspath.h"
#include "foundation/btkxml.h"

ExportFilterDialogs* gExportFilterDialogs = nullptr;

namespace {

const char* const kinds[] = {"txt", "rtf", "html", "custom", "online"};
const char* const captions[] = {"Textový soubor", "RTF soubor", "HTML soubor", "Šablona", "Online-Kantorix"};

const char* const invalidNameText =
    "Neplatné jméno exportovacího filtru (nesmí být prázdné, začínat tečkou "
    "ani obsahovat \"/\", \"\\\" nebo \"..\")";

// The templates in file order, as element names and members.
struct TemplateField {
    const char* element;
    btkstring CustomExporterProps::*member;
};
const TemplateField templateFields[] = {
    {"begindoc", &CustomExporterProps::begindoc},
    {"enddoc", &CustomExporterProps::enddoc},
    {"beginsong", &CustomExporterProps::beginsong},
    {"endsong", &CustomExporterProps::endsong},
    {"begintextline", &CustomExporterProps::begintextline},
    {"endtextline", &CustomExporterProps::endtextline},
    {"beginacline", &CustomExporterProps::beginacline},
    {"endacline", &CustomExporterProps::endacline},
    {"beginmixedline", &CustomExporterProps::beginmixedline},
    {"endmixedline", &CustomExporterProps::endmixedline},
    {"beginchord", &CustomExporterProps::beginchord},
    {"endchord", &CustomExporterProps::endchord},
    {"beginlabel", &CustomExporterProps::beginlabel},
    {"endlabel", &CustomExporterProps::endlabel},
    {"songsep", &CustomExporterProps::songsep},
};

// Not empty, and nothing but bytes 1 to 32.
bool isWhiteSpaceOnly(const btkstring& text) {
    if (text.empty()) return false;
    for (const char* c = text.c_str(); *c; ++c)
        if (static_cast<unsigned char>(*c) > 32) return false;
    return true;
}

// A missing element reads as an empty one, so every flag in it is false.
TextExporterProps readText(const btkXMLNode& root) {
    const btkXMLNode node = root.childByName("text");
    TextExporterProps text;
    text.inacs = node.intAttr("inacs") != 0;
    text.outacs = node.intAttr("outacs") != 0;
    text.textlab = node.intAttr("textlab") != 0;
    return text;
}

// A font of a stored RTF filter: a size the document cannot hold is
// clamped, and a missing or unreadable colour is black, never white.
void readRTFFont(KxFont& font, const btkXMLNode& element) {
    KxFont::loadXML(font, element);
    font.size = RTFFontSize(font.size);
    if (font.color < 0 || font.color > 0xFFFFFF) font.color = 0;
}

void writeText(btkXMLNode root, const TextExporterProps& text) {
    btkXMLNode node = root.addChild("text");
    node.setIntAttr("inacs", text.inacs ? 1 : 0);
    node.setIntAttr("outacs", text.outacs ? 1 : 0);
    node.setIntAttr("textlab", text.textlab ? 1 : 0);
}

// A filter whose file was read with the given root (empty for a new one).
std::unique_ptr<ExportFilter> makeFilter(const char* kind, const btkstring& name, const btkXMLNode& root) {
    if (std::strcmp(kind, "txt") == 0) return std::make_unique<TXTFileExportFilter>(name, root);
    if (std::strcmp(kind, "rtf") == 0) return std::make_unique<RTFFileExportFilter>(name, root);
    if (std::strcmp(kind, "html") == 0) return std::make_unique<HTMLFileExportFilter>(name, root);
    if (std::strcmp(kind, "custom") == 0) return std::make_unique<CustomFileExportFilter>(name, root);
    if (std::strcmp(kind, "online") == 0) return std::make_unique<OnlineExportFilter>(name, root);
    return nullptr;
}

// Reads the stored file of a checked name into root. False, after an error
// box naming the file, when it exists but cannot be read or parsed; true
// with root untouched when there is no file.
bool readFilterFile(const char* name, btkXMLNode& root, bool& exists) {
    const btkstring path = exportFilterPath(name);
    struct stat st;
    exists = btkSysStat(path, &st) == 0;
    if (!exists) return true;
    try {
        root.load(path);
    } catch (const btkError& e) {
        ErrorBox(btkFormat("Exportovací filtr %s nelze načíst: %s", path.c_str(), btkLoadFailureReason(e).c_str()));
        return false;
    }
    return true;
}

bool checkName(const char* name) {
    if (IsValidExportFilterName(name)) return true;
    ErrorBox(invalidNameText);
    return false;
}

}  // namespace

// ---- filters

bool ExportFilter::editProperties() {
    // A notice: nothing went wrong, there is just nothing to set.
    InfoBox("Exportovací filtr nemá žádné upravitelné vlastnosti");
    return false;
}

TXTFileExportFilter::TXTFileExportFilter(const btkstring& name, const btkXMLNode& root)
    : FileExportFilter(name), text(root.name().empty() ? TextExporterProps() : readText(root)) {}

void TXTFileExportFilter::save(btkXMLNode node) const {
    node.setName("txt");
    writeText(node, text);
}

std::unique_ptr<StreamSongExporter> TXTFileExportFilter::createStreamExporter() const {
    return std::make_unique<TXTStreamSongExporter>(text);
}

RTFFileExportFilter::RTFFileExportFilter(const btkstring& name, const btkXMLNode& root) : FileExportFilter(name) {
    if (root.name().empty()) return;  // a new filter keeps the defaults
    text = readText(root);
    // A new RTF filter over another kind's file shares only the text
    // options: its fonts keep the defaults.
    if (root.name() != "rtf") return;
    const btkXMLNode rtfNode = root.childByName("rtf");
    readRTFFont(rtf.fntitle, rtfNode.childByName("fntitle"));
    readRTFFont(rtf.fnauthor, rtfNode.childByName("fnauthor"));
    rtf.exportstyle = rtfNode.attr("exportstyle") == "short" ? RTF_STYLE_SHORT : RTF_STYLE_NORMAL;
    const btkXMLNode textNode = root.childByName("rtftext");
    readRTFFont(rtftext.fntext, textNode.childByName("fntext"));
    readRTFFont(rtftext.fnacs, textNode.childByName("fnacs"));
    readRTFFont(rtftext.fnlab, textNode.childByName("fnlab"));
}

void RTFFileExportFilter::save(btkXMLNode node) const {
    node.setName("rtf");
    btkXMLNode rtfNode = node.addChild("rtf");
    KxFont::saveXML(rtf.fntitle, rtfNode.addChild("fntitle"));
    KxFont::saveXML(rtf.fnauthor, rtfNode.addChild("fnauthor"));
    rtfNode.setAttr("exportstyle", rtf.exportstyle == RTF_STYLE_SHORT ? "short" : "normal");
    btkXMLNode textNode = node.addChild("rtftext");
    KxFont::saveXML(rtftext.fntext, textNode.addChild("fntext"));
    KxFont::saveXML(rtftext.fnacs, textNode.addChild("fnacs"));
    KxFont::saveXML(rtftext.fnlab, textNode.addChild("fnlab"));
    writeText(node, text);
}

bool RTFFileExportFilter::editProperties() {
    return gExportFilterDialogs && gExportFilterDialogs->editRTF(rtf, rtftext, text);
}

std::unique_ptr<StreamSongExporter> RTFFileExportFilter::createStreamExporter() const {
    return std::make_unique<RTFStreamSongExporter>(rtf, rtftext, text);
}

HTMLFileExportFilter::HTMLFileExportFilter(const btkstring& name, const btkXMLNode& root)
    : FileExportFilter(name), text(root.name().empty() ? TextExporterProps() : readText(root)) {}

void HTMLFileExportFilter::save(btkXMLNode node) const {
    node.setName("html");
    node.addChild("html");
    writeText(node, text);
}

std::unique_ptr<StreamSongExporter> HTMLFileExportFilter::createStreamExporter() const {
    return std::make_unique<HTMLStreamSongExporter>(text);
}

CustomFileExportFilter::CustomFileExportFilter(const btkstring& name, const btkXMLNode& root) : FileExportFilter(name) {
    if (root.name().empty()) return;
    const btkXMLNode node = root.childByName("custom");
    for (const TemplateField& field : templateFields) custom.*field.member = node.childByName(field.element).text();
    text = readText(root);
}

void CustomFileExportFilter::save(btkXMLNode node) const {
    node.setName("custom");
    btkXMLNode customNode = node.addChild("custom");
    for (const TemplateField& field : templateFields) {
        btkXMLNode element = customNode.addChild(field.element);
        const btkstring& value = custom.*field.member;
        element.setValue(value);
        // White space alone would read back as no template at all.
        if (isWhiteSpaceOnly(value)) element.setAttr("xml:space", "preserve");
    }
    writeText(node, text);
}

bool CustomFileExportFilter::editProperties() {
    return gExportFilterDialogs && gExportFilterDialogs->editCustom(text, custom);
}

std::unique_ptr<StreamSongExporter> CustomFileExportFilter::createStreamExporter() const {
    return std::make_unique<CustomStreamSongExporter>(custom, text);
}

OnlineExportFilter::OnlineExportFilter(const btkstring& name, const btkXMLNode& root) : DirectoryExportFilter(name) {
    if (root.name().empty()) return;
    const btkXMLNode node = root.childByName("online");
    online.songType = node.attr("song-type");
    online.groupsbg = node.attr("groupsbg");
    online.groupbg = node.attr("groupbg");
    online.songsbg = node.attr("songsbg");
}

void OnlineExportFilter::save(btkXMLNode node) const {
    node.setName("online");
    btkXMLNode onlineNode = node.addChild("online");
    onlineNode.setAttr("song-type", online.songType);
    onlineNode.setAttr("groupbg", online.groupbg);
    onlineNode.setAttr("groupsbg", online.groupsbg);
    onlineNode.setAttr("songsbg", online.songsbg);
}

std::unique_ptr<DirectorySongExporter> OnlineExportFilter::createDirectoryExporter() const {
    return std::make_unique<OnlineExporter>(online);
}

// ---- the stored filters

void getExportFilterKinds(btkStrings& kindList, btkStrings& captionList) {
    for (const char* kind : kinds) kindList.add(kind);
    for (const char* caption : captions) captionList.add(caption);
}

void listExportFilters(btkStrings& names, btkStrings& namesAgain) {
    names.clear();
    namesAgain.clear();
    btkFileList files(programDir().join("data").join("expf").join("*.exp"));
    for (int i = 0; i < files.count(); ++i) {
        names.add(files[i]);
        namesAgain.add(files[i]);
    }
}

bool IsValidExportFilterName(const char* name) { return btkIsPlainFileName(name) && !std::strstr(name, ".."); }

btkstring exportFilterPath(const char* name) {
    return programDir().join("data").join("expf").join(btkFile(name).changeExt("exp"));
}

std::unique_ptr<ExportFilter> loadExportFilter(const char* name, FilterLoadFailure* failure) {
    FilterLoadFailure ignored;
    FilterLoadFailure& why = failure ? *failure : ignored;
    why = FilterLoadFailure::Shown;
    if (!checkName(name)) return nullptr;
    btkXMLNode root;
    bool exists = false;
    if (!readFilterFile(name, root, exists)) return nullptr;
    why = FilterLoadFailure::Missing;
    if (!exists) return nullptr;
    std::unique_ptr<ExportFilter> filter = makeFilter(root.name(), name, root);
    why = filter ? FilterLoadFailure::None : FilterLoadFailure::UnknownKind;
    return filter;
}

std::unique_ptr<ExportFilter> createExportFilter(const char* kind, const char* name) {
    if (!checkName(name)) return nullptr;
    btkXMLNode root;
    bool exists = false;
    if (!readFilterFile(name, root, exists)) return nullptr;
    return makeFilter(kind, name, root);
}

bool saveExportFilter(const ExportFilter& filter) {
    if (!checkName(filter.name)) return false;
    btkXMLNode node;
    filter.save(node);
    try {
        node.save(exportFilterPath(filter.name), "Windows-1250");
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return false;
    }
    return true;
}
