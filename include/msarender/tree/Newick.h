#pragma once

#include <QString>

#include "msarender/Export.h"
#include "msarender/tree/PhyloTree.h"

/// What reading a Newick tree gave: the tree, or an error with the 1-based line and column it was found at.
struct NewickResult {
    PhyloTree tree;
    QString error;  // empty on success
    int line = 0;
    int column = 0;
    bool ok() const { return error.isEmpty(); }
};

/// Reads the first tree of Newick text: nested, multifurcating, with branch lengths (optional), quoted labels
/// ('it''s' for a quote), comments in square brackets (nested ones too) anywhere between items, and support
/// values as inner node labels. Underscores in unquoted labels stay underscores: sequence identifiers use
/// them, and every tree builder writes them that way.
MSARENDER_EXPORT NewickResult ReadNewick(const QString& text);
/// Reads a Newick file; the error names the file, line and column ("tree.nwk:3:14: ...").
MSARENDER_EXPORT NewickResult ReadNewickFile(const QString& path);

/// The tree as one line of Newick, labels quoted where they need it, lengths to six significant digits.
MSARENDER_EXPORT QString WriteNewick(const PhyloTree& tree);
/// Writes the tree to `path` whole or not at all (an existing file is replaced only by a whole one); an error
/// message, or empty.
MSARENDER_EXPORT QString WriteNewickFile(const PhyloTree& tree, const QString& path);
