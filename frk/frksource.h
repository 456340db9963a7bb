// The values a run-time dialog shows and edits: a caller's variable, a
// constant text, a text formatted from other sources, or a value the source
// holds itself. Every source answers every typed accessor (text, integer,
// double, list of texts, XML node) by converting its own value, so any item
// can bind any source. Conversions never fail: text that is no number
// reads as 0; read-only sources ignore writes.
//
// A source made for a dialog is owned by it (frkBrowseImplBase::
// addDataSource); one made with a null owner belongs to whoever made it.
// Variables bound by the variable sources belong to the caller and must
// outlive the dialog.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"
#include "frk/frkbase.h"

// The base is the null source: empty values, writes ignored.
class frkDataSource {
public:
    explicit frkDataSource(frkBrowseImplBase* owner);
    frkDataSource(const frkDataSource&) = delete;
    frkDataSource& operator=(const frkDataSource&) = delete;
    virtual ~frkDataSource() = default;

    virtual btkstring getText() { return btkstring(); }
    virtual void setText(const btkstring& /*text*/) {}
    virtual int getInt() { return 0; }
    virtual void setInt(int /*value*/) {}
    virtual double getDouble() { return 0.0; }
    virtual void setDouble(double /*value*/) {}
    // Fills list (emptied first).
    virtual void getList(btkStrings& list) { list.clear(); }
    virtual void setList(const btkStrings& /*list*/) {}
    // Writes the value into the element of node (emptied when there is none).
    virtual void getXML(btkXMLNode node) { node.clear(); }
    virtual void setXML(const btkXMLNode& /*node*/) {}
};

// A source whose value is a text: integers are its decimal form, a list
// is its pieces between ";" (empty pieces dropped) and is written back with
// every entry followed by ";".
class frkStringSource : public frkDataSource {
public:
    using frkDataSource::frkDataSource;
    btkstring getText() override { return getString(); }
    void setText(const btkstring& text) override { setString(text); }
    int getInt() override;
    void setInt(int value) override;
    double getDouble() override;
    void setDouble(double value) override;
    void getList(btkStrings& list) override;
    void setList(const btkStrings& list) override;

    virtual btkstring getString() { return btkstring(); }
    virtual void setString(const btkstring& /*text*/) {}
};

class frkStringVarSource final : public frkStringSource {
public:
    frkStringVarSource(frkBrowseImplBase* owner, btkstring& variable) : frkStringSource(owner), variable(&variable) {}
    btkstring getString() override { return *variable; }
    void setString(const btkstring& text) override { *variable = text; }
    template <class D> static D& create(D& dialog, btkstring& variable) {
        dialog.source(new frkStringVarSource(&dialog.implBase(), variable));
        return dialog;
    }

private:
    btkstring* variable;
};

// Read-only.
class frkConstStringSource final : public frkStringSource {
public:
    frkConstStringSource(frkBrowseImplBase* owner, const btkstring& text) : frkStringSource(owner), text(text) {}
    btkstring getString() override { return text; }
    template <class D> static D& create(D& dialog, const btkstring& text) {
        dialog.source(new frkConstStringSource(&dialog.implBase(), text));
        return dialog;
    }

private:
    btkstring text;
};

// Read-only text formatted from other sources (not owned). The pattern
// knows "%s" (text), "%d" (integer), "%f" (double) and "%%"; each
// conversion takes the next argument and gives nothing when there is none
// left; any other "%x" gives nothing, and a lone "%" at the end is dropped.
class frkStringFormatSource final : public frkStringSource {
public:
    frkStringFormatSource(frkBrowseImplBase* owner, const btkCntVec<frkDataSource*>& arguments,
                          const btkstring& pattern)
        : frkStringSource(owner), arguments(arguments), pattern(pattern) {}
    btkstring getString() override;

private:
    btkCntVec<frkDataSource*> arguments;
    btkstring pattern;
};

// A source whose value is an integer: its text is the decimal form, a
// double is rounded half up (truncated after adding 0.5), a list is empty.
class frkIntSource : public frkDataSource {
public:
    using frkDataSource::frkDataSource;
    btkstring getText() override { return btkIntToStr(getValue()); }
    void setText(const btkstring& text) override { setValue(btkAtoi(text)); }
    int getInt() override { return getValue(); }
    void setInt(int value) override { setValue(value); }
    double getDouble() override { return getValue(); }
    void setDouble(double value) override { setValue(static_cast<int>(value + 0.5)); }

    virtual int getValue() { return 0; }
    virtual void setValue(int /*value*/) {}
};

class frkIntVarSource final : public frkIntSource {
public:
    frkIntVarSource(frkBrowseImplBase* owner, int& variable) : frkIntSource(owner), variable(&variable) {}
    int getValue() override { return *variable; }
    void setValue(int value) override { *variable = value; }
    template <class D> static D& create(D& dialog, int& variable) {
        dialog.source(new frkIntVarSource(&dialog.implBase(), variable));
        return dialog;
    }

private:
    int* variable;
};

// 1 for true, 0 for false; any non-zero value stores true.
class frkBoolVarSource final : public frkIntSource {
public:
    frkBoolVarSource(frkBrowseImplBase* owner, bool& variable) : frkIntSource(owner), variable(&variable) {}
    int getValue() override { return *variable ? 1 : 0; }
    void setValue(int value) override { *variable = value != 0; }
    template <class D> static D& create(D& dialog, bool& variable) {
        dialog.source(new frkBoolVarSource(&dialog.implBase(), variable));
        return dialog;
    }

private:
    bool* variable;
};

// Holds one value of any kind; each setter stores its value and makes its
// kind the current one, and the getters convert from the current kind.
class frkMemoryDataSource final : public frkDataSource {
public:
    using frkDataSource::frkDataSource;
    btkstring getText() override;
    void setText(const btkstring& text) override;
    int getInt() override;
    void setInt(int value) override;
    double getDouble() override;
    void setDouble(double value) override;
    void getList(btkStrings& list) override;
    void setList(const btkStrings& list) override;
    void getXML(btkXMLNode node) override;
    void setXML(const btkXMLNode& node) override;

private:
    enum Kind : unsigned char { Empty, Integer, Text, Double, List, XML };
    Kind kind = Empty;
    btkstring text;
    int integer = 0;
    double real = 0.0;
    btkStrings list;
    btkXMLNode node;
};
