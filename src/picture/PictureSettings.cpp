#include "msarender/picture/PictureSettings.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <boost/make_shared.hpp>
#include <climits>
#include <cmath>

#include "msarender/picture/SchemeFile.h"
#include "msarender/picture/SequenceSelection.h"
#include "sdm/Alignment.h"
#include "sdm/schemes/ColorSchemes.h"
#include "sdm/schemes/ColumnShading.h"

QFont PictureSettings::Font() const {
    QFont font(fontFamily);
    font.setPointSizeF(fontSize * scale);
    return font;
}

namespace {

bool HasFamily(const QFont& font, const QString& family) {
    return !family.trimmed().isEmpty() && QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0;
}

}  // namespace

// A family the system lacks is replaced by whatever fontconfig likes, often a proportional or serif face:
// residues would no longer sit in columns.
QFont PictureSettings::DrawingFont(QString& warning) const {
    warning.clear();
    QFont font = Font();
    if (HasFamily(font, fontFamily)) return font;
    const QString fallback = PictureSettings().fontFamily;
    font.setFamily(fallback);
    if (!HasFamily(font, fallback)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(fontSize * scale);
    }
    warning =
        QStringLiteral("no font named '%1'; drawing with '%2'").arg(fontFamily, QFontInfo(font).family());
    return font;
}

// A picture drawn at scale N prints at the size of the plain one on a 96 dpi screen.
std::int64_t PictureSettings::AtScale(std::int64_t pixels) const {
    return std::int64_t(std::floor(double(pixels) * std::max(scale, 0.0)));
}

std::int64_t PictureSettings::AtOneToOne(std::int64_t pixels) const {
    return scale > 0 ? std::int64_t(std::ceil(double(pixels) / scale)) : pixels;
}

int PictureSettings::PixelsPerMetre() const {
    constexpr double kScreenDotsPerInch = 96;
    constexpr double kMetresPerInch = 0.0254;
    return int(std::lround(kScreenDotsPerInch * scale / kMetresPerInch));
}

ModelSettings::ModelSettings(const SDM::Alignment& alignment) : consensus(alignment.getShowConsensus()) {}

// Compared with what was applied, not with the model: the renderer switches a consensus of fewer than two
// sequences off again, and asking for it on every change would churn the model.
bool ShadedByConservation(const SDM::Alignment& alignment, const PictureSettings& settings) {
    return settings.byConservation && alignment.GetSequenceClass() != SDM::NucleicAcid;
}

QString ModelSettings::Apply(SDM::Alignment& alignment, const PictureSettings& settings, bool& changed) {
    changed = false;
    if (settings.fullNames != fullNames || settings.ranges != ranges || settings.columns != columns) {
        // Ranges name the residues shown: those between the first and last chosen column.
        const ColumnList chosen = ParseColumns(settings.columns, alignment.columnCount());
        const bool span = !chosen.columns.empty() && chosen.error.isEmpty();
        alignment.showNames(
            settings.fullNames ? SDM::NameStyle::Full : SDM::NameStyle::Identifier, settings.ranges,
            span ? *std::min_element(chosen.columns.begin(), chosen.columns.end()) : 0,
            span ? *std::max_element(chosen.columns.begin(), chosen.columns.end()) : UINT_MAX);
        fullNames = settings.fullNames;
        ranges = settings.ranges;
        columns = settings.columns;
        changed = true;
    }
    const bool shaded = settings.identityThreshold >= 0 || ShadedByConservation(alignment, settings);
    if (settings.colorScheme != scheme || settings.schemeFile != schemeFile ||
        settings.identityThreshold != identityThreshold || settings.byConservation != byConservation ||
        (shaded && settings.sequences != shadedSequences)) {
        boost::shared_ptr<SDM::ColorScheme> colours;
        if (settings.schemeFile.isEmpty()) {
            const std::string name = settings.colorScheme.isEmpty()
                                         ? SDM::DefaultSchemeName(alignment.GetSequenceClass())
                                         : settings.colorScheme.toStdString();
            colours = SDM::MakeColorScheme(name);
        } else {
            SchemeFile read = ReadSchemeFile(settings.schemeFile);
            if (!read.error.isEmpty()) return read.error;
            colours = read.scheme;
        }
        scheme = settings.colorScheme;
        schemeFile = settings.schemeFile;
        identityThreshold = settings.identityThreshold;
        byConservation = settings.byConservation;
        shadedSequences = settings.sequences;
        if (shaded && colours) {
            // Shading follows the sequences drawn, as the computed rows do.
            const SequenceList chosen = ResolveSequences(alignment, settings.sequences);
            colours = boost::make_shared<SDM::ColumnShading>(
                colours, settings.identityThreshold, ShadedByConservation(alignment, settings),
                settings.sequences.isEmpty() || !chosen.error.isEmpty() ? std::vector<unsigned>()
                                                                        : chosen.indexes);
        }
        alignment.setColorScheme(colours);
        changed = true;
    }
    if (settings.hide != hidden) {
        const SequenceList hide = ResolveSequences(alignment, settings.hide);
        if (!hide.error.isEmpty()) return "--hide: " + hide.error;
        for (unsigned index : hide.indexes) alignment.getSequence(index)->setDisplayed(false);
        hidden = settings.hide;
        changed = true;
    }
    if (settings.reference != reference || settings.blankIdentical != blankIdentical) {
        boost::shared_ptr<SDM::Sequence> sequence;
        if (!settings.reference.trimmed().isEmpty()) {
            const SequenceList list = ResolveSequences(alignment, settings.reference);
            if (!list.error.isEmpty()) return "--reference: " + list.error;
            if (list.indexes.size() != 1)
                return QStringLiteral("--reference names one sequence, not %1").arg(list.indexes.size());
            sequence = alignment.getSequence(list.indexes.front());
        }
        alignment.setReference(sequence, settings.blankIdentical ? ' ' : '.');
        reference = settings.reference;
        blankIdentical = settings.blankIdentical;
        changed = true;
    }
    if (settings.showConsensus != consensus) {
        alignment.setShowConsensus(settings.showConsensus);
        consensus = settings.showConsensus;
        changed = true;
    }
    return QString();
}
