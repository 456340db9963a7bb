// The XML writer: the dumper that prints events, the escaping, the prolog
// and the tree walk.
#include <cstring>

#include "foundation/btkconverter.h"
#include "foundation/btkxml.h"

btkXML* btkXMLDumper::beginElement() {
    if (state == InStartTag) *out << ">\n";
    *out << '<';
    state = InStartTag;
    return this;
}

void btkXMLDumper::name(const char* name) { *out << name << ' '; }

void btkXMLDumper::attribute(const char* name, const char* value) {
    if (state != InStartTag) throw btkError("btkXMLDumper: attribute outside a start tag");
    *out << name << "=\"";
    btkXMLEscape(*out, value);
    *out << "\" ";
}

void btkXMLDumper::text(const char* text) {
    if (state == InStartTag) *out << '>';
    btkXMLEscape(*out, text);
    state = InContent;
}

void btkXMLDumper::endElement(const char* name) {
    if (state == InStartTag) {
        *out << "/>\n";
    } else {
        *out << "</" << name << ">\n";
    }
    state = InContent;
}

void btkXMLEscape(btkWriteStream& out, const char* text) {
    if (!text) return;
    const char* run = text;
    for (const char* c = text;; ++c) {
        const char* entity = nullptr;
        switch (*c) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        case '\'': entity = "&apos;"; break;
        case '"': entity = "&quot;"; break;
        // The reader drops a raw CR in content (it is half of a CR LF line
        // end there): as a reference it comes back.
        case '\r': entity = "&#13;"; break;
        default: break;
        }
        if (!entity && *c) continue;
        out.write(run, static_cast<int>(c - run));
        if (!entity) return;
        out << entity;
        run = c + 1;
    }
}

void btkXMLWriteProlog(btkWriteStream& out, const char* encoding) {
    out << btkFormat("<?xml version=\"1.0\" encoding=\"%s\"?>\n", encoding ? encoding : "").c_str();
}

void btkXMLWalk(btkXML& receiver, const btkXMLNode& node, btkConverter* converter) {
    btkXMLNodeData& d = *node.element();
    receiver.name(d.m_name);
    for (const btkXMLAttribute* a : d.attributes)
        receiver.attribute(a->name, converter ? converter->convert(a->value) : a->value);
    if (d.children.empty()) {
        if (!d.m_text.empty()) receiver.text(converter ? converter->convert(d.m_text) : d.m_text);
    } else {
        for (btkXMLNodeData* c : d.children) btkXMLWalk(*receiver.beginElement(), btkXMLNode(c), converter);
    }
    receiver.endElement(d.m_name);
}

void btkXMLWriteTree(btkWriteStream& out, const btkXMLNode& node, btkConverter* converter) {
    btkXMLDumper dumper(out);
    btkXMLWalk(*dumper.beginElement(), node, converter);
}
