// The song-book file (.kx): the root `melodar` with the book's type as a
// `kxtype` element (only its differences to the base type when savediff is
// set) and an `items` element holding one `song` or `outline` per item.
#include "foundation/btkerror.h"
#include "foundation/btkmessagebox.h"
#include "songbook/melodar.h"

void Melodar::toXML(btkXMLNode root) const {
    if (type) type->toXML(root.addChild("kxtype"), false);
    btkXMLNode list = root.addChild("items");
    for (const auto& item : items) item->writeXML(list.addChild("item"));
    root.setName("melodar");
}

bool Melodar::save(const char* file) {
    try {
        btkXMLNode root;
        toXML(root);
        root.save(file, "Windows-1250");
    } catch (const btkError& e) {
        ErrorBox(e.what());
        return false;
    }
    fileName = file;
    changed = false;
    return true;
}

void Melodar::load(const char* file) {
    // Everything is read before the book changes.
    btkXMLNode root;
    root.load(file);
    auto newType = std::make_unique<MelodarKxType>();
    newType->fromXML(root.childByName("kxtype"));
    std::vector<std::unique_ptr<KxData>> newItems;
    const btkXMLNode list = root.childByName("items");
    for (int i = 0; i < list.childCount(); ++i) {
        const btkXMLNode element = list.child(i);
        if (element.name() == "song") {
            auto song = std::make_unique<SongData>(this);
            song->readXML(element);
            newItems.push_back(std::move(song));
        } else if (element.name() == "outline") {
            auto outline = std::make_unique<KxOutline>(this);
            outline->readXML(element);
            newItems.push_back(std::move(outline));
        }
    }

    dropLayout();
    items = std::move(newItems);
    type = std::move(newType);
    fileName = file;
    if (window) window->FillItemList();
    applyType();
    changed = false;
}
