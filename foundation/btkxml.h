// The XML node tree, its event interfaces, the reader that parses XML text
// into events and the writer that prints a tree.
//
// A btkXMLNode is a small handle to a shared, counted element: copying the
// handle shares the element, so a function that receives a node by value and
// changes it changes the caller's tree.
//
// The reader accepts the subset of XML the writer produces (a prolog,
// elements, attributes, text, the five named entities and character
// references to ASCII characters, "&#13;" or "&#xD;"); anything else
// ends in a btkXMLLoadError. The writer prints one tag per line without
// indentation; every XML file of the program has that form.
#pragma once

#include <memory>

#include "foundation/btkarray.h"
#include "foundation/btkerror.h"
#include "foundation/btkref.h"
#include "foundation/btkstream.h"
#include "foundation/btkstring.h"

class btkConverter;

// The encoding name (from a prolog) means the program's own Windows-1250;
// "" (no encoding named) does too.
bool btkIsWindows1250(const char* encoding);

// Every failure of the XML reader: its text says what was wrong, offset()
// where (the byte of the input at which reading stopped; -1 when unknown).
// A failure of a file load names the file in message(); reason() is then
// the text without it, for callers that name the file themselves.
class btkXMLLoadError : public btkError {
public:
    explicit btkXMLLoadError(const btkstring& message, long long offset = -1)
        : btkError(message), at(offset), why(message) {}
    long long offset() const noexcept { return at; }
    const btkstring& reason() const noexcept { return why; }
    // The failure of loading the file: "Soubor F nelze načíst: reason
    // (bajt N)", the offset left out when unknown.
    static btkXMLLoadError inFile(const char* fileName, const btkXMLLoadError& failure);

private:
    btkXMLLoadError(const btkstring& message, long long offset, const btkstring& reason)
        : btkError(message), at(offset), why(reason) {}

    long long at;
    btkstring why;
};

// Why a file could not be opened (errno of the failed open), in Czech.
btkstring btkOpenFailureText(int error);
// The reason of a load failure without the file name: reason() of a
// btkXMLLoadError, message() of any other error.
btkstring btkLoadFailureReason(const btkError& error);

// ---- tree events

// Receiver of the events that build a tree or print it.
class btkXML {
public:
    virtual ~btkXML() = default;
    // A new element starts; the receiver that gets its events.
    virtual btkXML* beginElement() = 0;
    virtual void name(const char* name);
    virtual void endElement(const char* name);
    virtual void attribute(const char* name, const char* value);
    virtual void text(const char* text);
};

struct btkXMLAttribute {
    btkstring name;
    btkstring value;
};

// One element. It receives events as a tree builder: beginElement appends a
// fresh child, name sets the name, attribute sets or replaces, text replaces.
class btkXMLNodeData : public btkRCObject, public btkXML {
public:
    btkXML* beginElement() override;
    void name(const char* name) override { m_name = name; }
    void attribute(const char* name, const char* value) override;
    void text(const char* text) override { m_text = text; }

    btkstring m_name;
    btkstring m_text;
    btkTRefArray<btkXMLNodeData> children;
    btkObjArray<btkXMLAttribute> attributes;

    // Index of the attribute of that name, -1 when none.
    int findAttr(const char* name) const;
};

class btkXMLNode {
public:
    // A fresh empty element.
    btkXMLNode();
    // A handle sharing an existing element (a fresh one when null).
    explicit btkXMLNode(btkXMLNodeData* element);

    btkstring name() const { return d->m_name; }
    void setName(const char* name) { d->m_name = name; }
    btkstring text() const { return d->m_text; }
    void setValue(const char* text) { d->m_text = text; }

    // The attribute's value, "" when there is none.
    btkstring attr(const char* name) const;
    // atoi of the attribute's value, 0 when there is none.
    int intAttr(const char* name) const;
    bool hasAttr(const char* name) const;
    // Replaces the value of an attribute of that name in its place, or
    // appends a new attribute.
    void setAttr(const char* name, const char* value);
    void setIntAttr(const char* name, int value);
    int attrCount() const { return d->attributes.count(); }
    btkstring attrName(int i) const { return d->attributes.at(i)->name; }
    btkstring attrValue(int i) const { return d->attributes.at(i)->value; }

    int childCount() const { return d->children.count(); }
    // Child i, shared with the tree.
    btkXMLNode child(int i) const { return btkXMLNode(d->children.at(i)); }
    // The first child of that name; when there is none, a fresh element that
    // is not part of the tree.
    btkXMLNode childByName(const char* name) const;
    // The first child of that name, appended when there is none.
    btkXMLNode getChild(const char* name);
    // Appends a new child of that name.
    btkXMLNode addChild(const char* name);
    int indexOfChild(const char* name) const;
    // Removes child i from the tree (other handles keep it alive).
    void removeChild(int i);
    // Empties the element: no name, text, attributes or children.
    void clear();
    // Replaces this element's content by a deep copy of other's.
    void assign(const btkXMLNode& other);
    // Same name, the same attributes with the same values, and every child
    // equal to the first child of other with its name; texts are ignored.
    bool equals(const btkXMLNode& other) const;

    // Parses a file (read in text mode) into this handle: the handle then
    // holds the document's root; handles that shared the old element keep
    // it. encoding receives the prolog's encoding name ("" when none). No
    // text is converted. Throws btkXMLLoadError naming the file (and the
    // byte where reading stopped) and then leaves the handle and encoding
    // as they were.
    void load(const char* fileName, btkstring* encoding = nullptr);
    // The same from XML text held in memory.
    void parse(const char* xml, btkstring* encoding = nullptr);
    // Loads like load, then converts every value and text from the
    // prolog's encoding to Windows-1250, so a file in another encoding is
    // never shown, nor saved back, as foreign bytes. Throws btkXMLLoadError
    // naming the encoding when iconv does not know it or a character has no
    // Windows-1250 form; the handle then stays as it was.
    void loadWindows1250(const char* fileName);
    // Writes the whole file in text mode: the prolog naming outEncoding and
    // the tree, values and texts converted from srcEncoding when one is
    // given. The file is replaced only when every write succeeded; otherwise
    // the old file stays and a btkError naming the file is thrown.
    void save(const char* fileName, const char* outEncoding, const char* srcEncoding = nullptr) const;
    // The tree's XML text without the prolog.
    btkstring toString() const;

    btkXMLNodeData* element() const { return d.get(); }
    // Both handles share one element.
    bool sameElement(const btkXMLNode& other) const { return d.get() == other.d.get(); }

private:
    friend class btkXMLNodeBuilder;
    btkRef<btkXMLNodeData> d;
};

// Receives a document's root into a node handle: beginElement gives the
// handle a fresh element and returns it as the root's receiver.
class btkXMLNodeBuilder : public btkXML {
public:
    explicit btkXMLNodeBuilder(btkXMLNode& node) : node(&node) {}
    btkXML* beginElement() override;

private:
    btkXMLNode* node;
};

// ---- reader

// Character source over a read stream, read through a window of 64 KiB:
// lookahead of up to that many bytes, and runs of text taken from the window
// in one piece. A NUL byte reads as the end of the input.
class btkWindowTextReader {
public:
    static constexpr int windowSize = 64 * 1024;

    explicit btkWindowTextReader(btkReadStream& stream) : stream(&stream), buffer(new char[windowSize + 1]) {
        buffer[0] = 0;
    }

    // The current character, 0 at the end of the input.
    char peek() { return pos < held ? buffer[pos] : peekAt(0); }
    // The character i places ahead, 0 beyond the end.
    char peekAt(int i);
    void advance(int n) {
        if (n > 0 && n <= held - pos)
            pos += n;
        else
            advanceSlowly(n);
    }
    // The bytes held from the current character on, without consuming them:
    // at least one unless the input has ended, their count in n. They stay
    // valid until the reader is next moved past them or asked for more.
    const char* window(int& n) {
        if (pos >= held) fill(1);
        n = held - pos;
        return buffer.get() + pos;
    }
    // The text at the position starts with s (nothing is consumed).
    bool startsWith(const char* s);
    // Consumes c, or throws btkXMLLoadError saying what was expected and
    // what was found (a character, a NUL byte or the end of the input).
    void expect(char c);
    // Consumes s, or throws as expect(char) does.
    void expect(const char* s);
    // The current byte is a NUL inside the input (peek() then gives 0 as at
    // the end of the input).
    bool atNulByte();
    // Skips characters 1 to 32.
    void skipBlanks();
    // Bytes of the input before the current character.
    long long offset() const { return base + pos; }

private:
    // Makes at least n bytes available beyond the position unless the input
    // ends first.
    void fill(int n);
    void advanceSlowly(int n);
    [[noreturn]] void failAtCurrent(const char* expected);

    btkReadStream* stream;
    long long base = 0;  // input offset of buffer[0]
    int held = 0;
    int pos = 0;
    std::unique_ptr<char[]> buffer;  // windowSize bytes and a NUL
    bool endOfInput = false;
};

class btkXMLParser;

// Receives the parser's events for one element. Each call gets the parser,
// through which it may stop the run.
class btkXMLProcessor {
public:
    virtual ~btkXMLProcessor() = default;
    // An attribute of this processor's element.
    virtual void attribute(btkXMLParser& ctl, const char* name, const char* value);
    // A child element starts: its processor, or null to skip its subtree.
    virtual btkXMLProcessor* startElement(btkXMLParser& ctl, const char* name);
    // A run of character data holding something above a blank, or any
    // run within an element whose white space is kept (xml:space).
    virtual void characters(btkXMLParser& ctl, const char* text);
    virtual void endElement(btkXMLParser& ctl, const char* name);
};

// Builds a tree through a btkXML receiver; owns the processors it makes for
// the children.
class btkSimpleXMLProcessor : public btkXMLProcessor {
public:
    explicit btkSimpleXMLProcessor(btkXML* receiver) : receiver(receiver) {}
    void attribute(btkXMLParser& ctl, const char* name, const char* value) override;
    btkXMLProcessor* startElement(btkXMLParser& ctl, const char* name) override;
    void characters(btkXMLParser& ctl, const char* text) override;
    void endElement(btkXMLParser& ctl, const char* name) override;

private:
    btkXML* receiver;
    btkObjArray<btkSimpleXMLProcessor> owned;
};

// The parser: an explicit state machine that a processor can stop from
// inside an event; run() then resumes where it stopped.
class btkXMLParser {
public:
    // Deepest nesting accepted, the root's processor included.
    static constexpr int maxDepth = 256;
    // Longest encoding name accepted in the prolog.
    static constexpr int maxEncodingLength = 255;
    // Longest text or attribute value accepted unless set otherwise.
    static constexpr int defaultMaxTextLength = 64 << 20;

    btkXMLParser(btkXMLProcessor* first, btkWindowTextReader& reader);
    btkXMLParser(const btkXMLParser&) = delete;
    btkXMLParser& operator=(const btkXMLParser&) = delete;

    // When set, the root element goes to the first processor's startElement;
    // otherwise its attributes and content go to the first processor itself.
    void setReportRoot(bool report) { reportRoot = report; }
    // A longer text or attribute value fails with "text je delší než N
    // bajtů". A run of blanks between tags is dropped whatever its length,
    // so blank padding never fills memory; within the limit it is text of
    // an element with xml:space="preserve" (and of its descendants).
    void setMaxTextLength(int n) { maxText = n > 0 ? n : 0; }
    // Steps until the document ends or a processor stops the run. Throws
    // btkXMLLoadError carrying the input offset; the parser is not usable
    // after that.
    void run();
    // Ends the current run after the event being delivered.
    void stop() { stopped = true; }
    bool atEnd() const { return state == End; }
    // The encoding named in the prolog, "" when none.
    const char* encoding() const { return enc.c_str(); }
    // The root element's name, "" before it is read.
    const char* rootName() const { return root.c_str(); }

private:
    enum State { Prolog, FirstTag, NextTag, InStartTag, Content, End };

    void step();
    void readProlog();
    void readTag();
    void readInStartTag();
    void readContent();
    void closeElement(const char* name);
    void readName(btkStringWriteStream& into);
    void readQuoted(btkStringWriteStream& into);
    void readEntity(btkStringWriteStream& into);
    void flushCharacters();
    // Adds one byte of a text or value, within the length limit.
    void collect(btkStringWriteStream& into, char c);
    // Adds the n bytes at the reader's position (a run without markup) as
    // collect adds them one by one, and moves past them.
    void collectRun(btkStringWriteStream& into, const char* run, int n);
    [[noreturn]] void failTooLong() const;
    btkXMLProcessor* top() const { return stack[depth - 1]; }

    bool reportRoot = false;
    int maxText = defaultMaxTextLength;
    bool blanksDropped = false;  // the pending text's leading blanks went over the limit
    btkstring enc;
    btkstring root;
    bool stopped = false;
    bool rootReported = false;
    btkWindowTextReader* reader;
    btkStringWriteStream elementName, attrName, attrValue, chars;
    State state = Prolog;
    btkXMLProcessor* stack[maxDepth];
    bool preserve[maxDepth];  // xml:space="preserve" holds at that depth
    int depth = 1;
};

// ---- writer

// Prints the events it receives as XML text: one tag per line, a blank
// before every ">" or "/>" of a start tag, escaped values and texts.
class btkXMLDumper : public btkXML {
public:
    explicit btkXMLDumper(btkWriteStream& out) : out(&out) {}
    btkXML* beginElement() override;
    void name(const char* name) override;
    void endElement(const char* name) override;
    // Throws btkError when no start tag is open.
    void attribute(const char* name, const char* value) override;
    void text(const char* text) override;

private:
    enum State { InContent = 1, InStartTag = 2 };
    btkWriteStream* out;
    State state = InContent;
};

// Writes text with &, <, >, ' and " as entities and CR as "&#13;"; every
// other byte unchanged.
void btkXMLEscape(btkWriteStream& out, const char* text);
// The prolog line naming the encoding.
void btkXMLWriteProlog(btkWriteStream& out, const char* encoding);
// Sends a node's events to a receiver: name, attributes, then either the
// text (when there are no children and it is not "") or the children, then
// the end. Values and texts go through the converter when one is given.
void btkXMLWalk(btkXML& receiver, const btkXMLNode& node, btkConverter* converter = nullptr);
// Prints a tree (without prolog) to a stream.
void btkXMLWriteTree(btkWriteStream& out, const btkXMLNode& node, btkConverter* converter = nullptr);
