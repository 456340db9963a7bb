// Export filters: named, stored export configurations of five kinds, each in
// one XML file data/expf/<name>.exp under the program folder whose root
// element names the kind:
//
//   <txt>    <text inacs= outacs= textlab= >
//   <html>   <html/> <text .../>
//   <rtf>    <rtf exportstyle="short|normal"><fntitle/><fnauthor/></rtf>
//            <rtftext><fntext/><fnacs/><fnlab/></rtftext> <text .../>
//   <custom> <custom><begindoc>...</begindoc> ... <songsep/></custom> <text .../>
//   <online song-type= groupbg= groupsbg= songsbg= >
//
// Reading: a missing attribute is 0, false or "", a missing element reads as
// an empty one (so a missing <text> gives textlab false, not its default),
// and exportstyle is short only for exactly "short".
//
// A filter name becomes a file name: names that are empty, begin with ".",
// or hold "/", "\" or ".." are refused with an error box.
#pragma once

#include <memory>

#include "export/exporter.h"
#include "export/exportprops.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"

class FileExportFilter;
class DirectoryExportFilter;

class ExportFilter {
public:
    explicit ExportFilter(const btkstring& name) : name(name) {}
    ExportFilter(const ExportFilter&) = delete;
    ExportFilter& operator=(const ExportFilter&) = delete;
    virtual ~ExportFilter() = default;

    // The filter as a directory filter, or null.
    virtual const DirectoryExportFilter* asDirectoryFilter() const { return nullptr; }
    // The filter as a one-stream filter, or null.
    virtual const FileExportFilter* asFileFilter() const { return nullptr; }
    // Names the node with the kind and adds the settings elements.
    virtual void save(btkXMLNode /*node*/) const {}
    // Opens the kind's property dialog; true when the user confirmed (the
    // caller then saves the filter). Kinds without one show "Exportovací
    // filtr nemá žádné upravitelné vlastnosti" and return false.
    [[nodiscard]] virtual bool editProperties();
    // A new exporter holding copies of the settings, for one run.
    virtual std::unique_ptr<KxExporter> createExporter() const = 0;

    // The file name of the filter; its extension is replaced by "exp" when
    // the path is built, so "a" and "a.exp" are one filter.
    btkstring name;
};

class FileExportFilter : public ExportFilter {
public:
    using ExportFilter::ExportFilter;
    const FileExportFilter* asFileFilter() const override { return this; }
    std::unique_ptr<KxExporter> createExporter() const override { return createStreamExporter(); }
    virtual std::unique_ptr<StreamSongExporter> createStreamExporter() const = 0;
};

class DirectoryExportFilter : public ExportFilter {
public:
    using ExportFilter::ExportFilter;
    const DirectoryExportFilter* asDirectoryFilter() const override { return this; }
    std::unique_ptr<KxExporter> createExporter() const override { return createDirectoryExporter(); }
    virtual std::unique_ptr<DirectorySongExporter> createDirectoryExporter() const = 0;
};

// The constructors take the filter's name and the root of its stored file
// (an empty node for a new filter) and read the settings from it.
class TXTFileExportFilter final : public FileExportFilter {
public:
    TXTFileExportFilter(const btkstring& name, const btkXMLNode& root);
    void save(btkXMLNode node) const override;
    std::unique_ptr<StreamSongExporter> createStreamExporter() const override;

    TextExporterProps text;
};

class RTFFileExportFilter final : public FileExportFilter {
public:
    RTFFileExportFilter(const btkstring& name, const btkXMLNode& root);
    void save(btkXMLNode node) const override;
    [[nodiscard]] bool editProperties() override;
    std::unique_ptr<StreamSongExporter> createStreamExporter() const override;

    RTFExporterProps rtf;
    RTFSongExporterProps rtftext;
    TextExporterProps text;
};

class HTMLFileExportFilter final : public FileExportFilter {
public:
    HTMLFileExportFilter(const btkstring& name, const btkXMLNode& root);
    void save(btkXMLNode node) const override;
    std::unique_ptr<StreamSongExporter> createStreamExporter() const override;

    TextExporterProps text;
};

class CustomFileExportFilter final : public FileExportFilter {
public:
    CustomFileExportFilter(const btkstring& name, const btkXMLNode& root);
    void save(btkXMLNode node) const override;
    [[nodiscard]] bool editProperties() override;
    std::unique_ptr<StreamSongExporter> createStreamExporter() const override;

    TextExporterProps text;
    CustomExporterProps custom;
};

class OnlineExportFilter final : public DirectoryExportFilter {
public:
    OnlineExportFilter(const btkstring& name, const btkXMLNode& root);
    void save(btkXMLNode node) const override;
    std::unique_ptr<DirectorySongExporter> createDirectoryExporter() const override;

    OnlineExporterProps online;
};

// ---- the property dialogs, registered by the windows

// The RTF format dialog and the template dialog edit a filter's settings in
// place and return true on OK; on cancel they change nothing.
class ExportFilterDialogs {
public:
    virtual bool editRTF(RTFExporterProps& rtf, RTFSongExporterProps& rtftext, TextExporterProps& text) = 0;
    virtual bool editCustom(TextExporterProps& text, CustomExporterProps& custom) = 0;

protected:
    ~ExportFilterDialogs() = default;
};
// Null (no windows): editing is cancelled and changes nothing.
extern ExportFilterDialogs* gExportFilterDialogs;

// ---- the stored filters

// Appends the five kinds ("txt", "rtf", "html", "custom", "online") and their
// captions, in this order.
void getExportFilterKinds(btkStrings& kinds, btkStrings& captions);
// Clears both lists and appends the file name (with ".exp") of every stored
// filter to each.
void listExportFilters(btkStrings& names, btkStrings& namesAgain);
// The name can become a file name (see above).
[[nodiscard]] bool IsValidExportFilterName(const char* name);
// data/expf/<name with extension exp> under the program folder.
btkstring exportFilterPath(const char* name);
// Why loadExportFilter gave no filter.
enum class FilterLoadFailure {
    None,
    Shown,        // a refused name or an unreadable file: an error box said so
    Missing,      // there is no file of that name
    UnknownKind,  // the file's root names no known kind
};
// The stored filter of that name; null when there is no such file, its root
// names no kind, or the name is refused. A refused name and a file that
// cannot be read or parsed show an error box naming them. failure, when
// given, receives the reason (None when a filter is returned).
std::unique_ptr<ExportFilter> loadExportFilter(const char* name, FilterLoadFailure* failure = nullptr);
// A new filter of the kind; an existing file of that name lends it the
// settings elements it has. Null for an unknown kind, a refused name or an
// unreadable existing file (error box as above). Nothing is written.
std::unique_ptr<ExportFilter> createExportFilter(const char* kind, const char* name);
// Writes the filter's file, replacing it only when written whole. A failure
// (or a refused name) shows an error box and gives false; the old file then
// stays. The folder must exist.
[[nodiscard]] bool saveExportFilter(const ExportFilter& filter);
