#include "foundation/btkxmltree.h"

void XMLMergeTree(btkXMLNode target, const btkXMLNode& source) {
    for (int i = 0; i < source.attrCount(); ++i) target.setAttr(source.attrName(i), source.attrValue(i));
    for (int i = 0; i < source.childCount(); ++i) {
        btkXMLNode from = source.child(i);
        XMLMergeTree(target.getChild(from.name()), from);
    }
}

void XMLDiffTree(const btkXMLNode& tree, const btkXMLNode& base, btkXMLNode difference) {
    difference.setName(tree.name());
    for (int i = 0; i < tree.attrCount(); ++i) {
        btkstring name = tree.attrName(i);
        btkstring value = tree.attrValue(i);
        if (value != base.attr(name)) difference.setAttr(name, value);
    }
    for (int i = 0; i < tree.childCount(); ++i) {
        btkXMLNode child = tree.child(i);
        btkXMLNode baseChild = base.childByName(child.name());
        if (!child.equals(baseChild)) XMLDiffTree(child, baseChild, difference.addChild(child.name()));
    }
}
