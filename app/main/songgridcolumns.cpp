#include "app/main/songgridcolumns.h"

#include <algorithm>

#include "songs/kxsong.h"

void MakeStandardColProps(btkObjArray<ColProp>& props) {
    props.clear();
    for (int i = 0; i < StandardColumnCount; ++i) {
        auto* prop = new ColProp;
        prop->caption = SongColumnCaptions[i];
        props.add(prop);
    }
}

void LoadColumnLayout(const btkXMLNode& node, btkObjArray<ColProp>& props) {
    const int count = node.intAttr("count");
    for (int i = 0; i < count; ++i) {
        if (i >= props.count()) {
            auto* prop = new ColProp;
            prop->caption = "???";
            props.add(prop);
        }
        ColProp* prop = props[i];
        const btkstring visible = btkFormat("visible%d", i);
        if (node.hasAttr(visible)) prop->visible = node.intAttr(visible) != 0;
        const btkstring width = btkFormat("wi%d", i);
        // A column narrower than the minimum could not be found and widened
        // again by the user.
        if (node.hasAttr(width)) prop->width = std::max(node.intAttr(width), ColumnMinWidth);
    }
}

void SaveColumnLayout(btkXMLNode& node, const btkArray<ColProp*>& props) {
    node.setIntAttr("count", props.count());
    for (int i = 0; i < props.count(); ++i) {
        node.setIntAttr(btkFormat("visible%d", i), props[i]->visible ? 1 : 0);
        node.setIntAttr(btkFormat("wi%d", i), props[i]->width);
    }
}

void VisibleColumnIds(const btkArray<ColProp*>& props, int count, btkCntVec<int>& ids) {
    ids.clear();
    for (int i = 0; i < count && i < props.count(); ++i)
        if (props[i]->visible) ids.add(i);
}
