#include "foundation/btkxml.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "foundation/btkconverter.h"
#include "foundation/btkfile.h"

// ---- btkXML defaults

void btkXML::name(const char*) {}
void btkXML::endElement(const char*) {}
void btkXML::attribute(const char*, const char*) {}
void btkXML::text(const char*) {}

// ---- btkXMLNodeData

btkXML* btkXMLNodeData::beginElement() {
    auto* child = new btkXMLNodeData;
    children.add(child);
    return child;
}

int btkXMLNodeData::findAttr(const char* name) const {
    for (int i = 0; i < attributes.count(); ++i)
        if (attributes[i]->name == name) return i;
    return -1;
}

void btkXMLNodeData::attribute(const char* name, const char* value) {
    int i = findAttr(name);
    if (i >= 0) {
        attributes[i]->value = value;
    } else {
        attributes.add(new btkXMLAttribute{name, value});
    }
}

// ---- btkXMLNode

btkXMLNode::btkXMLNode() : d(new btkXMLNodeData) {}

btkXMLNode::btkXMLNode(btkXMLNodeData* element) : d(element ? element : new btkXMLNodeData) {}

btkstring btkXMLNode::attr(const char* name) const {
    int i = d->findAttr(name);
    return i < 0 ? btkstring() : d->attributes[i]->value;
}

int btkXMLNode::intAttr(const char* name) const { return btkAtoi(attr(name)); }

bool btkXMLNode::hasAttr(const char* name) const { return d->findAttr(name) >= 0; }

void btkXMLNode::setAttr(const char* name, const char* value) { d->attribute(name, value); }

void btkXMLNode::setIntAttr(const char* name, int value) { setAttr(name, btkIntToStr(value)); }

btkXMLNode btkXMLNode::childByName(const char* name) const {
    int i = indexOfChild(name);
    return i < 0 ? btkXMLNode() : child(i);
}

btkXMLNode btkXMLNode::getChild(const char* name) {
    int i = indexOfChild(name);
    return i < 0 ? addChild(name) : child(i);
}

btkXMLNode btkXMLNode::addChild(const char* name) {
    auto* element = new btkXMLNodeData;
    element->m_name = name;
    d->children.add(element);
    return btkXMLNode(element);
}

int btkXMLNode::indexOfChild(const char* name) const {
    for (int i = 0; i < d->children.count(); ++i)
        if (d->children[i]->m_name == name) return i;
    return -1;
}

void btkXMLNode::removeChild(int i) {
    d->children.at(i);  // bounds test
    d->children.removeItems(i, 1);
}

void btkXMLNode::clear() {
    d->m_name = btkstring();
    d->m_text = btkstring();
    d->attributes.clear();
    d->children.clear();
}

void btkXMLNode::assign(const btkXMLNode& other) {
    if (sameElement(other)) return;
    // Copies first: other may be a descendant of this element, which clear()
    // would release.
    btkXMLNode source = other;
    btkXMLNode copy;
    copy.d->m_name = source.d->m_name;
    copy.d->m_text = source.d->m_text;
    for (const btkXMLAttribute* a : source.d->attributes) copy.d->attributes.add(new btkXMLAttribute(*a));
    for (btkXMLNodeData* c : source.d->children) {
        btkXMLNode childCopy;
        childCopy.assign(btkXMLNode(c));
        copy.d->children.add(childCopy.d.get());
    }
    clear();
    d->m_name = copy.d->m_name;
    d->m_text = copy.d->m_text;
    d->attributes = std::move(copy.d->attributes);
    d->children = std::move(copy.d->children);
}

bool btkXMLNode::equals(const btkXMLNode& other) const {
    const btkXMLNodeData& a = *d;
    const btkXMLNodeData& b = *other.d;
    if (a.m_name != b.m_name) return false;
    if (a.attributes.count() != b.attributes.count() || a.children.count() != b.children.count()) return false;
    for (const btkXMLAttribute* attribute : a.attributes) {
        int j = b.findAttr(attribute->name);
        if (j < 0 || b.attributes[j]->value != attribute->value) return false;
    }
    for (btkXMLNodeData* c : a.children) {
        int j = other.indexOfChild(c->m_name);
        if (j < 0 || !btkXMLNode(c).equals(other.child(j))) return false;
    }
    return true;
}

namespace {

// Builds into a handle of its own, so a failed parse leaves node untouched.
void parseStream(btkXMLNode& node, btkReadStream& stream, btkstring* encoding) {
    btkWindowTextReader reader(stream);
    btkXMLNode parsed;
    btkXMLNodeBuilder builder(parsed);
    btkSimpleXMLProcessor first(&builder);
    btkXMLParser parser(&first, reader);
    parser.setReportRoot(true);
    parser.run();
    node = parsed;
    if (encoding) *encoding = parser.encoding();
}

}  // namespace

btkXMLLoadError btkXMLLoadError::inFile(const char* fileName, const btkXMLLoadError& failure) {
    btkstring reason = failure.reason();
    if (failure.offset() >= 0) reason += btkFormat(" (bajt %lld)", failure.offset());
    return btkXMLLoadError(btkFormat("Soubor %s nelze načíst: %s", fileName, reason.c_str()), failure.offset(), reason);
}

btkstring btkOpenFailureText(int error) {
    switch (error) {
    case ENOENT: return "soubor neexistuje";
    case EACCES:
    case EPERM: return "přístup odepřen";
    case EISDIR: return "je to složka";
    case ENOTDIR: return "část cesty není složka";
    case ENAMETOOLONG: return "příliš dlouhá cesta";
    case EMFILE:
    case ENFILE: return "příliš mnoho otevřených souborů";
    default: return btkFormat("soubor nelze otevřít (chyba %d)", error);
    }
}

btkstring btkLoadFailureReason(const btkError& error) {
    const auto* load = dynamic_cast<const btkXMLLoadError*>(&error);
    return load ? load->reason() : error.message();
}

void btkXMLNode::load(const char* fileName, btkstring* encoding) {
    errno = 0;
    btkFileReadStream in(fileName, "r");
    if (!in.isOpen()) throw btkXMLLoadError::inFile(fileName, btkXMLLoadError(btkOpenFailureText(errno)));
    try {
        parseStream(*this, in, encoding);
    } catch (const btkXMLLoadError& e) {
        throw btkXMLLoadError::inFile(fileName, e);
    }
}

void btkXMLNode::parse(const char* xml, btkstring* encoding) {
    const char* text = xml ? xml : "";
    btkBufferReadStream in(text, static_cast<int>(std::strlen(text)));
    parseStream(*this, in, encoding);
}

bool btkIsWindows1250(const char* encoding) {
    btkstring n;
    for (const char* c = encoding ? encoding : ""; *c; ++c)
        if (*c != '-' && *c != '_') n += *c;
    n.toUpper();
    return n.empty() || n == "WINDOWS1250" || n == "CP1250" || n == "WIN1250";
}

namespace {

void convertTree(btkXMLNodeData& element, btkConverter& converter, const btkstring& encoding) {
    bool exact = true;
    auto convert = [&](btkstring& text) {
        text = converter.convert(text, &exact);
        if (!exact) throw btkXMLLoadError(btkFormat("znak kódování %s nemá podobu ve Windows-1250", encoding.c_str()));
    };
    for (btkXMLAttribute* a : element.attributes) convert(a->value);
    convert(element.m_text);
    for (btkXMLNodeData* child : element.children) convertTree(*child, converter, encoding);
}

}  // namespace

void btkXMLNode::loadWindows1250(const char* fileName) {
    btkXMLNode loaded;
    btkstring encoding;
    loaded.load(fileName, &encoding);
    if (!btkIsWindows1250(encoding)) {
        btkConverter converter(encoding, "CP1250");
        try {
            if (!converter.converts()) throw btkXMLLoadError(btkFormat("neznámé kódování %s", encoding.c_str()));
            convertTree(*loaded.d, converter, encoding);
        } catch (const btkXMLLoadError& e) {
            throw btkXMLLoadError::inFile(fileName, e);
        }
    }
    *this = loaded;
}

void btkXMLNode::save(const char* fileName, const char* outEncoding, const char* srcEncoding) const {
    btkSaveFile(fileName, btkSaveFormat::Text, [&](btkWriteStream& out) {
        btkXMLWriteProlog(out, outEncoding);
        if (srcEncoding && *srcEncoding) {
            btkConverter converter(srcEncoding, outEncoding);
            btkXMLWriteTree(out, *this, &converter);
        } else {
            btkXMLWriteTree(out, *this);
        }
    });
}

btkstring btkXMLNode::toString() const {
    btkStringWriteStream out;
    btkXMLWriteTree(out, *this);
    return btkstring(out.c_str());
}

btkXML* btkXMLNodeBuilder::beginElement() {
    node->d = new btkXMLNodeData;
    return node->d.get();
}
