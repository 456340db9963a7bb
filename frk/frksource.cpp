#include "frk/frksource.h"

#include <cstdlib>

namespace {

// The C library's decimal conversion; 0.0 when the text is no number.
double textToDouble(const char* text) { return std::strtod(text, nullptr); }

// The pieces between ";", empty ones dropped.
void splitList(btkStrings& list, const char* text) { btkSplit(list, text, ';', false); }

}  // namespace

frkDataSource::frkDataSource(frkBrowseImplBase* owner) {
    if (owner) owner->addDataSource(this);
}

// ---- text sources

int frkStringSource::getInt() { return btkAtoi(getString()); }
void frkStringSource::setInt(int value) { setString(btkIntToStr(value)); }
double frkStringSource::getDouble() { return textToDouble(getString()); }
void frkStringSource::setDouble(double value) { setString(btkFloatToStr(value)); }
void frkStringSource::getList(btkStrings& list) { splitList(list, getString()); }
void frkStringSource::setList(const btkStrings& list) { setString(btkJoin(list, ';')); }

btkstring frkStringFormatSource::getString() {
    btkstring result;
    int index = 0;
    for (const char* p = pattern.c_str(); *p; ++p) {
        if (*p != '%') {
            result += *p;
            continue;
        }
        const char conversion = *++p;
        if (conversion == 0) break;
        if (conversion == '%') {
            result += '%';
            continue;
        }
        if (conversion != 's' && conversion != 'd' && conversion != 'f') continue;
        frkDataSource* argument = index < arguments.count() ? arguments[index] : nullptr;
        ++index;
        if (!argument) continue;
        if (conversion == 's') result += argument->getText();
        if (conversion == 'd') result += btkIntToStr(argument->getInt());
        if (conversion == 'f') result += btkFloatToStr(argument->getDouble());
    }
    return result;
}

// ---- memory source

btkstring frkMemoryDataSource::getText() {
    switch (kind) {
    case Integer: return btkIntToStr(integer);
    case Text: return text;
    case Double: return btkFloatToStr(real);
    case List: return btkJoin(list, ';');
    default: return btkstring();
    }
}

void frkMemoryDataSource::setText(const btkstring& value) {
    text = value;
    kind = Text;
}

int frkMemoryDataSource::getInt() {
    switch (kind) {
    case Integer: return integer;
    case Text: return btkAtoi(text);
    case Double: return static_cast<int>(real + 0.5);
    default: return 0;
    }
}

void frkMemoryDataSource::setInt(int value) {
    integer = value;
    kind = Integer;
}

double frkMemoryDataSource::getDouble() {
    switch (kind) {
    case Integer: return integer;
    case Text: return textToDouble(text);
    case Double: return real;
    default: return 0.0;
    }
}

void frkMemoryDataSource::setDouble(double value) {
    real = value;
    kind = Double;
}

void frkMemoryDataSource::getList(btkStrings& result) {
    if (kind == Text) {
        splitList(result, text);
    } else if (kind == List) {
        result = list;
    } else {
        result.clear();
    }
}

void frkMemoryDataSource::setList(const btkStrings& value) {
    list = value;
    kind = List;
}

void frkMemoryDataSource::getXML(btkXMLNode target) {
    if (kind == XML)
        target.assign(node);
    else
        target.clear();
}

void frkMemoryDataSource::setXML(const btkXMLNode& value) {
    node.assign(value);
    kind = XML;
}
