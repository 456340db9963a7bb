// The XML reader: the windowed character source, the tree-building
// processor and the parser's state machine.
#include <algorithm>
#include <array>
#include <cstring>

#include "foundation/btkxml.h"

namespace {

[[noreturn]] void fail(const char* message) { throw btkXMLLoadError(message); }

bool isBlank(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

bool isNameChar(char c) {
    return c == ':' || c == '_' || c == '.' || c == '-' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9');
}

// Bytes that end a run of ordinary content: markup, entities, carriage
// returns (dropped) and NUL (the end of the input).
constexpr std::array<bool, 256> contentStops = [] {
    std::array<bool, 256> stops{};
    for (unsigned char c : {'<', '&', '\r', '\0'}) stops[c] = true;
    return stops;
}();

// The length of the run at p, at most n bytes, of bytes for which keep holds.
template <class Keep> int runLength(const char* p, int n, Keep keep) {
    int k = 0;
    while (k < n && keep(p[k])) ++k;
    return k;
}

// The ASCII character of the character reference ("&#13;", "&#xD;") at the
// reader's position, and the reference's length in n; 0 when none stands
// there. Other characters would depend on the encoding: the writer never
// writes them.
char charReference(btkWindowTextReader& r, int& n) {
    if (r.peekAt(1) != '#') return 0;
    const int base = r.peekAt(2) == 'x' ? 16 : 10;
    const int first = base == 16 ? 3 : 2;
    int value = 0;
    int i = first;
    for (; i < first + 8; ++i) {
        const char c = r.peekAt(i);
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) break;
        value = std::min(value * base + digit, 128);
    }
    if (i == first || r.peekAt(i) != ';' || value < 1 || value > 127) return 0;
    n = i + 1;
    return static_cast<char>(value);
}

}  // namespace

// ---- btkWindowTextReader

void btkWindowTextReader::fill(int n) {
    if (n > windowSize) fail("výhled čtení je delší než okno čtení");
    if (held - pos >= n || endOfInput) return;
    base += pos;
    std::memmove(buffer.get(), buffer.get() + pos, static_cast<size_t>(held - pos));
    held -= pos;
    pos = 0;
    while (held < n && !endOfInput) {
        int got = stream->read(buffer.get() + held, windowSize - held);
        if (got <= 0) {
            endOfInput = true;
            if (stream->failed()) fail(btkFormat("chyba čtení: %s", stream->errorText().c_str()));
        } else {
            held += got;
        }
    }
    buffer[held] = 0;
}

char btkWindowTextReader::peekAt(int i) {
    fill(i + 1);
    if (pos + i >= held) return 0;
    // A NUL byte ends the input: nothing behind it is visible.
    for (int k = pos; k < pos + i; ++k)
        if (buffer[k] == 0) return 0;
    return buffer[pos + i];
}

void btkWindowTextReader::advanceSlowly(int n) {
    while (n > 0) {
        fill(1);
        if (pos >= held) return;
        int step = held - pos < n ? held - pos : n;
        pos += step;
        n -= step;
    }
}

bool btkWindowTextReader::startsWith(const char* s) {
    int n = static_cast<int>(std::strlen(s));
    fill(n);
    for (int i = 0; i < n; ++i)
        if (peekAt(i) != s[i]) return false;
    return true;
}

bool btkWindowTextReader::atNulByte() {
    fill(1);
    return pos < held && buffer[pos] == 0;
}

void btkWindowTextReader::failAtCurrent(const char* expected) {
    if (atNulByte()) fail(btkFormat("nepovolený bajt 0 (NUL), očekáváno %s", expected));
    if (peek() == 0) fail(btkFormat("neočekávaný konec souboru, očekáváno %s", expected));
    fail(btkFormat("očekáváno %s, nalezen znak '%c'", expected, peek()));
}

void btkWindowTextReader::expect(char c) {
    if (c == 0 || peek() != c) failAtCurrent(btkFormat("'%c'", c));
    advance(1);
}

void btkWindowTextReader::expect(const char* s) {
    if (!startsWith(s)) failAtCurrent(btkFormat("\"%s\"", s));
    advance(static_cast<int>(std::strlen(s)));
}

void btkWindowTextReader::skipBlanks() {
    for (;;) {
        int n;
        const char* p = window(n);
        int k = runLength(p, n, isBlank);
        advance(k);
        if (k < n || n == 0) return;
    }
}

// ---- processors

void btkXMLProcessor::attribute(btkXMLParser&, const char*, const char*) {}
btkXMLProcessor* btkXMLProcessor::startElement(btkXMLParser&, const char*) { return nullptr; }
void btkXMLProcessor::characters(btkXMLParser&, const char*) {}
void btkXMLProcessor::endElement(btkXMLParser&, const char*) {}

void btkSimpleXMLProcessor::attribute(btkXMLParser&, const char* name, const char* value) {
    receiver->attribute(name, value);
}

btkXMLProcessor* btkSimpleXMLProcessor::startElement(btkXMLParser&, const char* name) {
    btkXML* child = receiver->beginElement();
    child->name(name);
    auto* processor = new btkSimpleXMLProcessor(child);
    owned.add(processor);
    return processor;
}

void btkSimpleXMLProcessor::characters(btkXMLParser&, const char* text) { receiver->text(text); }

void btkSimpleXMLProcessor::endElement(btkXMLParser&, const char* name) { receiver->endElement(name); }

// ---- btkXMLParser

btkXMLParser::btkXMLParser(btkXMLProcessor* first, btkWindowTextReader& reader) : reader(&reader) {
    stack[0] = first;
    preserve[0] = false;
}

void btkXMLParser::run() {
    stopped = false;
    try {
        while (state != End && !stopped) step();
    } catch (const btkXMLLoadError& e) {
        if (e.offset() >= 0) throw;
        throw btkXMLLoadError(e.message(), reader->offset());
    }
}

void btkXMLParser::step() {
    switch (state) {
    case Prolog: readProlog(); break;
    case FirstTag:
    case NextTag: readTag(); break;
    case InStartTag: readInStartTag(); break;
    case Content: readContent(); break;
    case End: break;
    }
}

void btkXMLParser::readProlog() {
    btkWindowTextReader& r = *reader;
    if (r.startsWith("<?")) {
        r.expect("<?xml");
        for (;;) {
            r.skipBlanks();
            if (r.peek() == 0 || r.startsWith("?>")) break;
            readName(attrName);
            r.skipBlanks();
            r.expect('=');
            r.skipBlanks();
            readQuoted(attrValue);
            if (std::strcmp(attrName.c_str(), "encoding") == 0) {
                if (attrValue.length() > maxEncodingLength)
                    fail(btkFormat("název kódování je delší než %d znaků", maxEncodingLength));
                enc = attrValue.c_str();
            }
        }
        while (r.peek() != 0 && !r.startsWith("?>")) r.advance(1);
        if (r.peek() == 0) fail("neukončená značka <? ... ?>");
        r.advance(2);
    }
    state = FirstTag;
}

void btkXMLParser::readTag() {
    btkWindowTextReader& r = *reader;
    r.skipBlanks();
    r.expect('<');
    r.skipBlanks();
    if (r.peek() == '/') {
        r.advance(1);
        r.skipBlanks();
        readName(elementName);
        r.skipBlanks();
        r.expect('>');
        closeElement(elementName.c_str());
        return;
    }
    readName(elementName);
    if (state == FirstTag) root = elementName.c_str();
    if (state == FirstTag && !reportRoot) {
        state = InStartTag;
        return;
    }
    if (state == FirstTag) rootReported = true;
    if (depth >= maxDepth) fail(btkFormat("prvky jsou vnořené hlouběji než %d úrovní", maxDepth - 1));
    btkXMLProcessor* parent = top();
    btkXMLProcessor* processor = parent ? parent->startElement(*this, elementName.c_str()) : nullptr;
    preserve[depth] = preserve[depth - 1];  // xml:space holds for the descendants too
    stack[depth++] = processor;
    state = InStartTag;
}

void btkXMLParser::closeElement(const char* name) {
    btkXMLProcessor* popped = stack[--depth];
    if (depth == 0 || (depth == 1 && rootReported)) {
        state = End;
        return;
    }
    if (popped) popped->endElement(*this, name);
}

void btkXMLParser::readInStartTag() {
    btkWindowTextReader& r = *reader;
    r.skipBlanks();
    if (r.peek() == '/') {
        r.advance(1);
        r.skipBlanks();
        r.expect('>');
        state = Content;
        closeElement(elementName.c_str());
    } else if (r.peek() == '>') {
        r.advance(1);
        state = Content;
    } else {
        readName(attrName);
        r.skipBlanks();
        r.expect('=');
        r.skipBlanks();
        readQuoted(attrValue);
        if (std::strcmp(attrName.c_str(), "xml:space") == 0)
            preserve[depth - 1] = std::strcmp(attrValue.c_str(), "preserve") == 0;
        if (btkXMLProcessor* p = top()) p->attribute(*this, attrName.c_str(), attrValue.c_str());
    }
}

void btkXMLParser::readContent() {
    btkWindowTextReader& r = *reader;
    for (;;) {
        int n;
        const char* run = r.window(n);
        int k = runLength(run, n, [](char c) { return !contentStops[static_cast<unsigned char>(c)]; });
        if (k > 0) {
            collectRun(chars, run, k);
            continue;
        }
        char c = r.peek();
        if (c == '<') break;
        if (c == 0) fail(r.atNulByte() ? "nepovolený bajt 0 (NUL) v textu" : "neočekávaný konec souboru");
        if (c == '&') {
            readEntity(chars);
        } else {
            if (c != '\r') collect(chars, c);
            r.advance(1);
        }
    }
    flushCharacters();
    state = NextTag;
}

void btkXMLParser::readName(btkStringWriteStream& into) {
    into.clear();
    btkWindowTextReader& r = *reader;
    for (;;) {
        int n;
        const char* run = r.window(n);
        int k = runLength(run, n, isNameChar);
        into.write(run, k);
        r.advance(k);
        if (k < n || n == 0) return;
    }
}

void btkXMLParser::readQuoted(btkStringWriteStream& into) {
    into.clear();
    btkWindowTextReader& r = *reader;
    char quote = r.peek();
    if (quote != '"' && quote != '\'') fail("očekávána hodnota v uvozovkách");
    r.advance(1);
    for (;;) {
        int n;
        const char* run = r.window(n);
        int k = runLength(run, n, [quote](char c) { return c != quote && c != '&' && c != 0; });
        if (k > 0) {
            collectRun(into, run, k);
            continue;
        }
        char c = r.peek();
        if (c == 0 || c == quote) break;
        readEntity(into);
    }
    r.expect(quote);
}

void btkXMLParser::readEntity(btkStringWriteStream& into) {
    static const struct {
        const char* text;
        char value;
    } entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
    for (const auto& e : entities) {
        if (reader->startsWith(e.text)) {
            collect(into, e.value);
            reader->advance(static_cast<int>(std::strlen(e.text)));
            return;
        }
    }
    int n = 0;
    const char c = charReference(*reader, n);
    if (c == 0) fail("neznámá entita");
    collect(into, c);
    reader->advance(n);
}

void btkXMLParser::collect(btkStringWriteStream& into, char c) {
    bool text = &into == &chars;
    if (text && blanksDropped && !isBlank(c)) failTooLong();
    if (into.length() >= maxText) {
        // Blanks alone go on: they are dropped at the next tag unless text
        // follows, and then that text is too long anyway.
        if (!text || !isBlank(c)) failTooLong();
        for (const char* t = chars.c_str(); *t; ++t)
            if (!isBlank(*t)) failTooLong();
        chars.clear();
        blanksDropped = true;
    }
    into.write(&c, 1);
}

void btkXMLParser::collectRun(btkStringWriteStream& into, const char* run, int n) {
    // Within the limit and with no blanks dropped before it, the run goes
    // in whole; otherwise byte by byte, so that a failure names its byte.
    if (!blanksDropped && into.length() + n <= maxText) {
        into.write(run, n);
        reader->advance(n);
        return;
    }
    for (int i = 0; i < n; ++i) {
        collect(into, run[i]);
        reader->advance(1);
    }
}

void btkXMLParser::failTooLong() const { fail(btkFormat("text je delší než %d bajtů", maxText)); }

void btkXMLParser::flushCharacters() {
    btkXMLProcessor* p = top();
    if (p) {
        const char* text = chars.c_str();
        // Blanks alone are layout between tags, except where the element
        // asks for its white space to be kept.
        bool hasText = preserve[depth - 1] && *text;
        for (const char* c = text; *c && !hasText; ++c) hasText = static_cast<unsigned char>(*c) > 32;
        if (hasText) p->characters(*this, text);
    }
    chars.clear();
    blanksDropped = false;
}
