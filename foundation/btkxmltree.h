// Settings trees kept as differences to a base tree (song-book types,
// database definitions): the difference of a tree against its base, and the
// merge that rebuilds the tree from the base and the difference.
#pragma once

#include "foundation/btkxml.h"

// Sets every attribute of source on target and merges each child of source
// onto target's first child of that name (appended when missing). Nothing of
// target is removed.
void XMLMergeTree(btkXMLNode target, const btkXMLNode& source);

// Writes into difference what tree adds to or changes in base: the tree's
// name, the attributes whose value differs from base's (a missing one counts
// as ""), and for every child that is not equal to base's first child of its
// name, a child holding their difference.
void XMLDiffTree(const btkXMLNode& tree, const btkXMLNode& base, btkXMLNode difference);
