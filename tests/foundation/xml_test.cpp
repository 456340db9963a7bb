#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/btkxml.h"
#include "io_test_support.h"

namespace {

// Logs every event as one line; optionally stops the run at an end tag.
class Recorder : public btkXMLProcessor {
public:
    std::vector<std::string> log;
    std::string stopAt;

    void attribute(btkXMLParser&, const char* name, const char* value) override {
        log.push_back(std::string("attr ") + name + "=" + value);
    }
    btkXMLProcessor* startElement(btkXMLParser&, const char* name) override {
        log.push_back(std::string("start ") + name);
        return name == std::string("skip") ? nullptr : this;
    }
    void characters(btkXMLParser&, const char* text) override { log.push_back(std::string("text ") + text); }
    void endElement(btkXMLParser& ctl, const char* name) override {
        log.push_back(std::string("end ") + name);
        if (stopAt == name) ctl.stop();
    }
};

std::vector<std::string> events(const std::string& xml, bool reportRoot = false) {
    btkBufferReadStream in(xml.data(), static_cast<int>(xml.size()));
    btkWindowTextReader reader(in);
    Recorder rec;
    btkXMLParser parser(&rec, reader);
    parser.setReportRoot(reportRoot);
    parser.run();
    EXPECT_TRUE(parser.atEnd());
    return rec.log;
}

// The load error of a text, or of a file when the text names one.
std::string parseError(const std::string& xml, bool isFile = false) {
    btkXMLNode node;
    try {
        isFile ? node.load(xml.c_str()) : node.parse(xml.c_str());
    } catch (const btkXMLLoadError& e) {
        return e.what();
    }
    return "(no error)";
}

std::string nested(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<e>";
    for (int i = 0; i < depth; ++i) xml += "</e>";
    return xml;
}

}  // namespace

// ---- the node handle

TEST(XMLNode, AttributesKeepTheirPlaceAndMissingOnesReadEmpty) {
    btkXMLNode n;
    n.setAttr("a", "1");
    n.setIntAttr("b", -7);
    n.setAttr("a", "x");
    ASSERT_EQ(n.attrCount(), 2);
    EXPECT_EQ(n.attrName(0), "a");
    EXPECT_EQ(n.attrValue(0), "x");
    EXPECT_EQ(n.intAttr("b"), -7);
    EXPECT_EQ(n.attr("none"), "");
    EXPECT_EQ(n.intAttr("none"), 0);
    EXPECT_FALSE(n.hasAttr("none"));
    EXPECT_TRUE(n.hasAttr("b"));
    EXPECT_EQ(n.indexOfChild("none"), -1);
}

TEST(XMLNode, ChildByNameIsDetachedWhileGetChildAdds) {
    btkXMLNode n;
    btkXMLNode ghost = n.childByName("opt");
    ghost.setAttr("v", "1");
    EXPECT_EQ(n.childCount(), 0);
    btkXMLNode real = n.getChild("opt");
    real.setAttr("v", "2");
    EXPECT_EQ(n.childCount(), 1);
    EXPECT_EQ(n.getChild("opt").attr("v"), "2");
    EXPECT_EQ(n.childByName("opt").attr("v"), "2");
    n.addChild("opt");
    EXPECT_EQ(n.childCount(), 2);
    EXPECT_EQ(n.indexOfChild("opt"), 0);
    btkXMLNode kept = n.child(0);
    n.removeChild(0);
    EXPECT_EQ(n.childCount(), 1);
    EXPECT_EQ(kept.attr("v"), "2");  // the removed element lives on in its handle
}

TEST(XMLNode, HandlesShareWhileAssignCopiesDeeply) {
    btkXMLNode a;
    a.setName("root");
    btkXMLNode shared = a;
    shared.addChild("x").setAttr("k", "v");
    EXPECT_EQ(a.childCount(), 1);

    btkXMLNode copy;
    copy.assign(a);
    copy.child(0).setAttr("k", "changed");
    copy.addChild("y");
    EXPECT_EQ(a.child(0).attr("k"), "v");
    EXPECT_EQ(a.childCount(), 1);
    EXPECT_EQ(copy.name(), "root");

    // Assigning a descendant of the node itself.
    btkXMLNode parent;
    parent.addChild("inner").addChild("deep").setAttr("z", "1");
    parent.assign(parent.child(0));
    EXPECT_EQ(parent.name(), "inner");
    EXPECT_EQ(parent.child(0).attr("z"), "1");

    a.clear();
    EXPECT_EQ(a.name(), "");
    EXPECT_EQ(a.childCount(), 0);
    EXPECT_EQ(shared.childCount(), 0);
}

TEST(XMLNode, EqualsIgnoresTextsAndMatchesChildrenByName) {
    btkXMLNode a, b;
    a.parse("<r p=\"1\" q=\"2\"><x v=\"1\">one</x><y /></r>");
    b.parse("<r q=\"2\" p=\"1\"><y /><x v=\"1\">two</x></r>");
    EXPECT_TRUE(a.equals(b));
    b.child(1).setAttr("v", "2");
    EXPECT_FALSE(a.equals(b));
    btkXMLNode c;
    c.parse("<r p=\"1\" q=\"2\"><x v=\"1\" /></r>");
    EXPECT_FALSE(a.equals(c));  // child counts differ
    c.addChild("z");
    EXPECT_FALSE(a.equals(c));  // y has no counterpart
}

TEST(XMLNode, LoadReplacesOnlyThisHandlesElement) {
    btkXMLNode a;
    a.setName("old");
    btkXMLNode b = a;
    btkstring encoding = "unset";
    b.parse("<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<new a=\"1\" />\n", &encoding);
    EXPECT_EQ(b.name(), "new");
    EXPECT_EQ(a.name(), "old");
    EXPECT_EQ(encoding, "Windows-1250");
    b.parse("<plain />", &encoding);
    EXPECT_EQ(encoding, "");
}

// ---- the writer

TEST(XMLWriter, ExactOutputForm) {
    btkXMLNode root;
    root.setName("melodar_data");
    root.setAttr("version", "4.0");
    root.setAttr("cats", "");
    btkXMLNode db = root.addChild("database");
    btkXMLNode song = db.addChild("song");
    song.setAttr("title", "Tom & \"Jerry\" <'x'>");
    song.addChild("text").setValue("line 1\nline 2 & <3>");
    song.addChild("empty");
    btkXMLNode mixed = db.addChild("mixed");
    mixed.setValue("lost");
    mixed.addChild("c");
    EXPECT_EQ(std::string(root.toString()),
              "<melodar_data version=\"4.0\" cats=\"\" >\n"
              "<database >\n"
              "<song title=\"Tom &amp; &quot;Jerry&quot; &lt;&apos;x&apos;&gt;\" >\n"
              "<text >line 1\nline 2 &amp; &lt;3&gt;</text>\n"
              "<empty />\n"
              "</song>\n"
              "<mixed >\n"
              "<c />\n"
              "</mixed>\n"
              "</database>\n"
              "</melodar_data>\n");
}

TEST(XMLWriter, DumperWritesAnEmptyTextAsStartAndEndTagAndThePrologAsGiven) {
    btkStringWriteStream prolog;
    btkXMLWriteProlog(prolog, "Windows-1250");
    EXPECT_STREQ(prolog.c_str(), "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n");
    btkStringWriteStream out;
    btkXMLDumper dumper(out);
    btkXML* text = dumper.beginElement();
    text->name("text");
    text->attribute("xml:space", "preserve");
    text->text("");
    text->endElement("text");
    EXPECT_STREQ(out.c_str(), "<text xml:space=\"preserve\" ></text>\n");
    EXPECT_THROW(dumper.attribute("late", "x"), btkError);
}

// A raw CR in content is dropped on reading, so the writer writes every CR
// as a reference, in values too; both reference forms read back.
TEST(XMLWriter, CarriageReturnsRoundTripAsReferences) {
    btkXMLNode n;
    n.setName("r");
    n.setAttr("v", "a\rb");
    n.setValue("x\ry\r\nz\r");
    const std::string xml(n.toString());
    EXPECT_EQ(xml, "<r v=\"a&#13;b\" >x&#13;y&#13;\nz&#13;</r>\n");
    btkXMLNode back;
    back.parse(xml.c_str());
    EXPECT_EQ(back.attr("v"), "a\rb");
    EXPECT_EQ(back.text(), "x\ry\r\nz\r");
    back.parse("<r>&#xD;&#xd;&#10;&#065;</r>");
    EXPECT_EQ(back.text(), "\r\r\nA");
}

TEST(XMLWriter, NamesAreWrittenAsGiven) {
    btkXMLNode n;
    n.setName("a<b");
    n.setAttr("n&m", "v");
    EXPECT_EQ(std::string(n.toString()), "<a<b n&m=\"v\" />\n");
}

// ---- the reader

TEST(XMLReader, EventsOfAnUnreportedAndAReportedRoot) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n"
        "<root a=\"1\">\n  <song t='x' t=\"y\">\n\n    <text>A &amp; B</text>\n  </song>\n"
        "  <skip z=\"1\"><inner>no</inner></skip>\n</root>\n<after />";
    EXPECT_EQ(events(xml), (std::vector<std::string>{"attr a=1", "start song", "attr t=x", "attr t=y", "start text",
                                                     "text A & B", "end text", "end song", "start skip"}));
    auto reported = events(xml, true);
    ASSERT_GE(reported.size(), 2u);
    EXPECT_EQ(reported[0], "start root");
    EXPECT_EQ(reported[1], "attr a=1");
    EXPECT_EQ(reported.back(), "start skip");
}

TEST(XMLReader, TextAroundAChildGivesTwoCallsAndTheTreeKeepsTheLast) {
    EXPECT_EQ(events("<r><p>one<b/>two</p></r>"),
              (std::vector<std::string>{"start p", "text one", "start b", "end b", "text two", "end p"}));
    btkXMLNode n;
    n.parse("<p>one<b/>two</p>");
    EXPECT_EQ(n.text(), "two");
}

TEST(XMLReader, EmptyElementFormsAndCarriageReturns) {
    EXPECT_EQ(events("<r><a x=\"1\"/><a x=\"1\"></a></r>"), events("<r><a x=\"1\" /><a x=\"1\" ></a ></r>"));
    btkXMLNode n;
    n.parse("<r v=\"a\r\nb\">x\r\ny</r>");
    EXPECT_EQ(n.attr("v"), "a\r\nb");
    EXPECT_EQ(n.text(), "x\ny");
    btkXMLNode dup;
    dup.parse("<r a=\"1\" b=\"2\" a=\"3\" />");
    EXPECT_EQ(dup.attrCount(), 2);
    EXPECT_EQ(dup.attrName(0), "a");
    EXPECT_EQ(dup.attr("a"), "3");
    n.parse("<r>\x9a</r>");  // one CP1250 letter, above 127, is text
    EXPECT_EQ(n.text(), "\x9a");
}

TEST(XMLReader, StopAndResume) {
    std::string xml = "<db><song n=\"1\"/><song n=\"2\"/><song n=\"3\"/></db>";
    btkBufferReadStream in(xml.data(), static_cast<int>(xml.size()));
    btkWindowTextReader reader(in);
    Recorder rec;
    rec.stopAt = "song";
    btkXMLParser parser(&rec, reader);
    int runs = 0;
    while (!parser.atEnd()) {
        parser.run();
        ++runs;
        if (runs == 1) {
            EXPECT_EQ(rec.log.back(), "end song");
        }
    }
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(rec.log.size(), 9u);
}

TEST(XMLReader, ErrorTexts) {
    const std::string end = "neočekávaný konec souboru";
    const struct {
        std::string xml;
        std::string error;
    } rows[] = {
        {"<r>text", end},
        {"<r><a>", end},
        {"<r>&nbsp;</r>", "neznámá entita"},
        {"<r>&#0;</r>", "neznámá entita"},
        {"<r>&#353;</r>", "neznámá entita"},
        {"<r a=\"&#xD\" />", "neznámá entita"},
        {"<r a=1 />", "očekávána hodnota v uvozovkách"},
        {"<?xml version=\"1.0\"", "neukončená značka <? ... ?>"},
        {"<?php ?><r/>", "očekáváno \"<?xml\", nalezen znak '<'"},
        {"", end + ", očekáváno '<'"},
        {"text before", "očekáváno '<', nalezen znak 't'"},
        {" <?xml version=\"1.0\"?><r/>", "očekáváno '=', nalezen znak '?'"},
        {"\xef\xbb\xbf<r/>", "očekáváno '<', nalezen znak '\xef'"},
        {"<r a=\"x", end + ", očekáváno '\"'"},
    };
    for (const auto& r : rows) EXPECT_EQ(parseError(r.xml), r.error) << r.xml;
    // Bugs in a file name it, the reason and the byte where reading stopped.
    TempDir dir;
    const std::string nul = dir.path("nul.xml");
    writeBytes(nul, std::string("<r>a\0b</r>", 10));
    const std::string tag = dir.path("tag.xml");
    writeBytes(tag, "<r><a b=\"1\"</r>");
    const struct {
        std::string file;
        std::string error;
    } files[] = {
        {"/nonexistent/kx6/options.xml", "Soubor /nonexistent/kx6/options.xml nelze načíst: soubor neexistuje"},
        {nul, "Soubor " + nul + " nelze načíst: nepovolený bajt 0 (NUL) v textu (bajt 4)"},
        {tag, "Soubor " + tag + " nelze načíst: očekáváno '=', nalezen znak '<' (bajt 11)"},
    };
    for (const auto& f : files) EXPECT_EQ(parseError(f.file, true), f.error) << f.file;
    // Every failure is a btkError as well.
    btkXMLNode n;
    EXPECT_THROW(n.parse("<r>"), btkError);
}

TEST(XMLReader, ErrorsCarryTheirOffsetAndLeaveTheNodeAsItWas) {
    const std::string far = "<r>" + std::string(1000, ' ') + "<a>&bad;</a></r>";
    const struct {
        std::string xml;
        long long offset;
    } rows[] = {
        {"<r>text", 7},
        {"<r>&nbsp;</r>", 3},
        {"<r a=1 />", 5},
        {far, 1006},
    };
    for (const auto& r : rows) {
        btkXMLNode node;
        node.parse("<old a=\"1\"><c /></old>");
        btkstring encoding = "kept";
        try {
            node.parse(r.xml.c_str(), &encoding);
            ADD_FAILURE() << r.xml;
        } catch (const btkXMLLoadError& e) {
            EXPECT_EQ(e.offset(), r.offset) << r.xml;
        }
        EXPECT_EQ(node.toString(), "<old a=\"1\" >\n<c />\n</old>\n") << r.xml;
        EXPECT_EQ(encoding, "kept");
    }
}

// White space alone is layout, except in an element (or below one) that
// keeps it with xml:space="preserve".
TEST(XMLReader, WhiteSpaceTextOnlyWherePreserved) {
    const struct {
        const char* xml;
        const char* text;  // of the innermost first element
    } rows[] = {
        {"<r>\n\n</r>", ""},
        {"<r xml:space=\"preserve\">\n\n</r>", "\n\n"},
        {"<r xml:space=\"preserve\" >\r\n \t</r>", "\n \t"},
        {"<r xml:space=\"preserve\"><a> </a></r>", " "},
        {"<r xml:space=\"preserve\"><a xml:space=\"default\"> </a></r>", ""},
        {"<r><a xml:space=\"preserve\"></a></r>", ""},
        {"<r><a xml:space=\"preserve\"/><b> </b></r>", ""},
    };
    for (const auto& r : rows) {
        btkXMLNode node;
        node.parse(r.xml);
        while (node.childCount() > 0) node = node.child(node.childCount() - 1);
        EXPECT_EQ(node.text(), btkstring(r.text)) << r.xml;
    }
}

TEST(XMLReader, LongTextsAreRefusedAndBlankRunsDropped) {
    const std::string blanks = std::string(300, ' ') + std::string(300, '\n') + std::string(300, '\t');
    const struct {
        std::string xml;
        const char* result;
    } rows[] = {
        {"<r>" + blanks + "<a>" + std::string(100, 'x') + "</a>" + blanks + "</r>", "ok"},
        {"<r a=\"" + std::string(100, 'v') + "\"/>", "ok"},
        {"<r>" + std::string(101, 'x') + "</r>", "text je delší než 100 bajtů"},
        {"<r>" + std::string(60, '-') + blanks + "</r>", "text je delší než 100 bajtů"},
        {"<r>" + blanks + "x</r>", "text je delší než 100 bajtů"},
        {"<r>" + blanks + "&amp;</r>", "text je delší než 100 bajtů"},
        {"<r a=\"" + std::string(101, ' ') + "\"/>", "text je delší než 100 bajtů"},
    };
    for (const auto& r : rows) {
        btkBufferReadStream in(r.xml.data(), static_cast<int>(r.xml.size()));
        btkWindowTextReader reader(in);
        Recorder rec;
        btkXMLParser parser(&rec, reader);
        parser.setMaxTextLength(100);
        std::string result = "ok";
        try {
            parser.run();
        } catch (const btkXMLLoadError& e) {
            result = e.what();
        }
        EXPECT_EQ(result, r.result) << r.xml.substr(0, 40);
    }
}

TEST(XMLReader, HostileNestingAndEncodingNamesFailCleanly) {
    btkXMLNode ok;
    ok.parse(nested(255).c_str());  // 255 levels below the first processor
    EXPECT_EQ(parseError(nested(256)), "prvky jsou vnořené hlouběji než 255 úrovní");
    EXPECT_EQ(parseError(nested(10000)), "prvky jsou vnořené hlouběji než 255 úrovní");
    std::string longName(300, 'x');
    EXPECT_EQ(parseError("<?xml encoding=\"" + longName + "\"?><r/>"), "název kódování je delší než 255 znaků");
    // Lookahead beyond the window.
    btkBufferReadStream in("<a/>", 4);
    btkWindowTextReader reader(in);
    EXPECT_THROW(reader.startsWith(std::string(btkWindowTextReader::windowSize + 1, 'a').c_str()), btkXMLLoadError);
}

TEST(XMLReader, LongNamesAndValuesHaveNoFixedLimit) {
    std::string name(1000, 'n');
    std::string value(5000, 'v');
    btkXMLNode n;
    n.parse(("<" + name + " " + name + "=\"" + value + "\">" + value + "</" + name + ">").c_str());
    EXPECT_EQ(std::string(n.name()), name);
    EXPECT_EQ(std::string(n.attr(name.c_str())), value);
    EXPECT_EQ(std::string(n.text()), value);
}

// ---- files

TEST(XMLFile, SaveWritesCRLFAndResavingGivesTheSameBytes) {
    TempDir dir;
    std::string first = dir.path("a.xml"), second = dir.path("b.xml");
    btkXMLNode n;
    n.setName("options");
    n.addChild("font").setAttr("name", "Arial \x9a");
    n.addChild("text").setValue("a\nb");
    n.save(first.c_str(), "Windows-1250");
    std::string bytes = readBytes(first);
    EXPECT_EQ(bytes,
              "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\r\n<options >\r\n"
              "<font name=\"Arial \x9a\" />\r\n<text >a\r\nb</text>\r\n</options>\r\n");
    btkXMLNode back;
    btkstring encoding;
    back.load(first.c_str(), &encoding);
    EXPECT_EQ(encoding, "Windows-1250");
    EXPECT_EQ(back.child(1).text(), "a\nb");
    back.save(second.c_str(), "Windows-1250");
    EXPECT_EQ(readBytes(second), bytes);
}

TEST(XMLFile, SaveConvertsValuesAndTextsFromTheSourceEncoding) {
    TempDir dir;
    std::string path = dir.path("utf.xml");
    btkXMLNode n;
    n.setName("r");
    n.setAttr("a", "\x9a");  // CP1250 s with caron
    n.setValue("\x9e");      // z with caron
    n.save(path.c_str(), "UTF-8", "CP1250");
    EXPECT_EQ(readBytes(path), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"\xc5\xa1\" >\xc5\xbe</r>\r\n");
}

TEST(XMLFile, LoadInWindows1250ConvertsOtherEncodingsOrRefusesThem) {
    TempDir dir;
    std::string path = dir.path("options.xml");
    const struct {
        std::string prolog, body, result;
    } rows[] = {
        {"", "<r a=\"\x9a\" >\x9e</r>", "<r a=\"\x9a\" >\x9e</r>\n"},
        {"encoding=\"windows-1250\"", "<r a=\"\x9a\" />", "<r a=\"\x9a\" />\n"},
        {"encoding=\"UTF-8\"", "<r a=\"\xc5\xa1\" ><c >\xc5\xbe</c>\n</r>", "<r a=\"\x9a\" >\n<c >\x9e</c>\n</r>\n"},
        {"encoding=\"ISO-8859-2\"", "<r a=\"\xb9\" />", "<r a=\"\x9a\" />\n"},
        {"encoding=\"UTF-8\"", "<r a=\"\xe2\x86\x92\" />", "znak kódování UTF-8 nemá podobu ve Windows-1250"},
        {"encoding=\"X-NONE\"", "<r />", "neznámé kódování X-NONE"},
    };
    for (const auto& r : rows) {
        writeBytes(path, "<?xml version=\"1.0\" " + r.prolog + "?>\n" + r.body);
        btkXMLNode node;
        node.setName("kept");
        std::string result;
        testing::internal::CaptureStderr();
        try {
            node.loadWindows1250(path.c_str());
            result = node.toString().c_str();
        } catch (const btkXMLLoadError& e) {
            result = e.reason().c_str();
            EXPECT_EQ(e.message(), btkFormat("Soubor %s nelze načíst: %s", path.c_str(), e.reason().c_str()));
            EXPECT_EQ(node.name(), "kept");
        }
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, r.result) << r.prolog;
    }
}

TEST(XMLFile, FailedSaveLeavesTheOldFileAndThrows) {
    TempDir dir;
    btkXMLNode n;
    n.setName("r");
    // A folder that does not exist, and a target that is a folder.
    EXPECT_THROW(n.save(dir.path("missing/x.xml").c_str(), "Windows-1250"), btkError);
    EXPECT_THROW(n.save(dir.path().c_str(), "Windows-1250"), btkError);
    // A full file system: writes beyond a file-size limit fail.
    std::string path = dir.path("big.xml");
    writeBytes(path, "old content\r\n");
    for (int i = 0; i < 2000; ++i) n.addChild("item").setIntAttr("n", i);
    EXPECT_EQ(runWithFileSizeLimit(4096, [&] { n.save(path.c_str(), "Windows-1250"); }), "error");
    EXPECT_EQ(readBytes(path), "old content\r\n");
    EXPECT_EQ(listFolder(dir.path()), "big.xml");  // no temporary file left behind
}

TEST(XMLReader, TruncatedGzipInputFailsWithALoadError) {
    TempDir dir;
    std::string path = dir.path("songs.xgz");
    std::string xml = "<melodar_data>\n";
    for (int i = 0; i < 3000; ++i) xml += "<song title=\"" + std::to_string(i * 7919) + "\" />\n";
    xml += "</melodar_data>\n";
    writeGzip(path, xml);
    std::string whole = readBytes(path);
    writeBytes(path, whole.substr(0, whole.size() * 2 / 3));
    btkGZReadStream in(path.c_str(), "rb");
    btkWindowTextReader reader(in);
    Recorder rec;
    btkXMLParser parser(&rec, reader);
    EXPECT_THROW(parser.run(), btkXMLLoadError);
    EXPECT_GT(rec.log.size(), 100u);  // the events before the damage stay delivered
}

// ---- reading through the window against reading byte by byte

namespace {

// Every event as a line of text.
class EventLog : public btkXMLProcessor {
public:
    void attribute(btkXMLParser&, const char* name, const char* value) override {
        log += std::string("A ") + name + "=" + value + "\n";
    }
    btkXMLProcessor* startElement(btkXMLParser&, const char* name) override {
        log += std::string("S ") + name + "\n";
        return this;
    }
    void characters(btkXMLParser&, const char* text) override { log += std::string("C ") + text + "\n"; }
    void endElement(btkXMLParser&, const char* name) override { log += std::string("E ") + name + "\n"; }

    std::string log;
};

// Hands out one byte per read, so that the reader refills at every byte.
class TrickleStream : public btkReadStream {
public:
    explicit TrickleStream(const std::string& data) : data(data) {}
    int read(char* buffer, int max) override {
        if (pos >= data.size() || max <= 0) return 0;
        *buffer = data[pos++];
        return 1;
    }

private:
    const std::string& data;
    size_t pos = 0;
};

// The events of a document and how reading it ended (error and offset).
std::string events(const std::string& xml, bool trickle, int maxText) {
    btkBufferReadStream whole(xml.data(), static_cast<int>(xml.size()));
    TrickleStream bytes(xml);
    btkWindowTextReader reader(trickle ? static_cast<btkReadStream&>(bytes) : whole);
    EventLog log;
    btkXMLParser parser(&log, reader);
    parser.setReportRoot(true);
    parser.setMaxTextLength(maxText);
    try {
        parser.run();
        log.log += "end";
    } catch (const btkXMLLoadError& e) {
        log.log += std::string("! ") + e.message().c_str() + " at " + std::to_string(e.offset());
    }
    return log.log;
}

}  // namespace

TEST(XMLReader, WindowedRunsGiveTheEventsOfByteByByteReading) {
    // Songs of varied texts with entities, carriage returns, blank runs and
    // quotes of both kinds; one text and one attribute value longer than the
    // window, so that runs cross its end.
    std::mt19937 random(28);
    const char* const pieces[] = {"[Ami]sloka ", "&amp;", "&lt;", "\r\n", "   \n\t", "&quot;", "žluťoučký ", "x"};
    auto text = [&](int n) {
        std::string t;
        while (static_cast<int>(t.size()) < n) t += pieces[random() % 8];
        return t;
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<melodar_data version='4.0'>\r\n";
    for (int i = 0; i < 600; ++i) {
        xml += "  <song title=\"" + text(20) + "\" group='a&apos;b\r\nc' >\r\n";
        xml += "    <text xml:space=\"preserve\" >" + text(static_cast<int>(random() % 400)) + "</text>\r\n";
        xml += "    <vars ><var name=\"Rok\" >19" + std::to_string(i % 100) + "</var></vars>\r\n  </song>\r\n";
    }
    xml += "<long value=\"" + text(150000) + "\">" + text(200000) + "<in/>" + text(70000) + "</long>";
    xml += "</melodar_data>";
    const int noLimit = btkXMLParser::defaultMaxTextLength;
    std::string whole = events(xml, false, noLimit);
    ASSERT_EQ(whole.substr(whole.size() - 3), "end");
    EXPECT_EQ(whole, events(xml, true, noLimit));
    // Cut anywhere, the same events before the same error at the same
    // byte; also for texts over a length limit and a NUL in the input.
    for (size_t cut : {size_t{10}, size_t{333}, size_t{65535}, size_t{65536}, size_t{400001}, xml.size() - 120000,
                       xml.size() - 2000}) {
        std::string part = xml.substr(0, cut);
        EXPECT_EQ(events(part, false, noLimit), events(part, true, noLimit)) << cut;
        EXPECT_EQ(events(part, false, 300), events(part, true, 300)) << cut;
        part[cut / 2] = 0;
        EXPECT_EQ(events(part + xml.substr(cut), false, noLimit), events(part + xml.substr(cut), true, noLimit)) << cut;
    }
}
