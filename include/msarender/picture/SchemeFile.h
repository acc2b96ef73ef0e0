#pragma once

#include <QString>
#include <boost/shared_ptr.hpp>

#include "msarender/Export.h"
#include "sdm/ColorScheme.h"

/// A colour scheme of the user's, read from a small text file, one rule a line:
///
///     # hydrophobic residues on blue, white letters
///     AVLIMFWC  #80a0f0  white
///     KR        red                 # the letter colour may be left out: black or white, as reads best
///
/// A rule is a word of residue letters (either case), a background colour and an optional letter colour,
/// each a colour name or #rrggbb. A later rule for a letter replaces an earlier one; letters no rule names
/// are black on white. `#` starts a comment at the start of a line or where a space follows it.
struct SchemeFile {
    boost::shared_ptr<SDM::ColorScheme> scheme;
    QString error;  // "file:line: message" for a bad line; empty when read
};
/// The scheme of `text`, named `name` in its messages and as the scheme's name.
MSARENDER_EXPORT SchemeFile ParseSchemeFile(const QString& text, const QString& name);
/// The scheme of the file at `path` (at most 1 MiB).
MSARENDER_EXPORT SchemeFile ReadSchemeFile(const QString& path);
