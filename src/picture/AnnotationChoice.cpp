#include "msarender/picture/AnnotationChoice.h"

#include <algorithm>
#include <optional>

#include "msarender/AnnotationRowFactory.h"
#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnOccupancy.h"

namespace {

const QString kAll = QStringLiteral("all");
const QString kSequenceStructures = QStringLiteral("ss");
const QString kLogo = QStringLiteral("logo");
const QString kFrequencyLogo = QStringLiteral("logo:frequency");
const QString kQuality = QStringLiteral("quality");

// Rows that "all" leaves out, so that what it draws stays what it always drew: they are asked by name.
bool AskedByNameOnly(const QString& name) {
    return name == kLogo || name == kFrequencyLogo || name == kQuality;
}

bool Same(const QString& name, const std::string& tag) {
    return name.compare(QString::fromStdString(tag), Qt::CaseInsensitive) == 0;
}

/// Builds the rows name by name and remembers which of the file's annotations were drawn.
class Chooser {
public:
    explicit Chooser(const SDM::Alignment& model, const std::vector<unsigned>& shown = {})
        : alignment(model), shownSequences(shown), columnLineDrawn(model.columnAnnotations().size(), false) {}

    void Add(const QString& asked) {
        const QString name = asked.toLower();
        if (name == kAll) {
            // Only the computed names of the offer match here; every column line is drawn, whatever its tag.
            for (const AnnotationOffer& offer : OfferedAnnotations(alignment))
                if (!AskedByNameOnly(offer.name)) AddComputed(offer.name);
            for (std::size_t i = 0; i < columnLineDrawn.size(); ++i) AddColumnLine(i);
            return;
        }
        if (AddComputed(name)) return;
        if (name == kSequenceStructures) {
            // Kept for the scripts that ask for it: each sequence's structure is a line under it now.
            choice.warnings.append(QStringLiteral(
                "--annotations ss: #=GR SS lines stand under their sequences (--no-ss leaves them out)"));
            return;
        }
        bool known = false;
        for (std::size_t i = 0; i < columnLineDrawn.size(); ++i) {
            if (!Same(name, alignment.columnAnnotations()[i].tag)) continue;
            AddColumnLine(i);
            known = true;
        }
        if (!known)
            choice.warnings.append(
                QStringLiteral("--annotations: '%1' is neither computed nor in the file").arg(asked));
    }

    AnnotationChoice Finish() {
        for (const std::string& warning : found) choice.warnings.append(QString::fromStdString(warning));
        QStringList notDrawn;
        for (std::size_t i = 0; i < columnLineDrawn.size(); ++i) {
            const SDM::ColumnAnnotation& annotation = alignment.columnAnnotations()[i];
            if (!columnLineDrawn[i])
                notDrawn.append(QStringLiteral("#=GC %1 (line %2; --annotations %3)")
                                    .arg(QString::fromStdString(annotation.tag))
                                    .arg(annotation.line)
                                    .arg(QString::fromStdString(annotation.tag).toLower()));
        }
        for (const SDM::ColumnAnnotation& skipped : alignment.skippedAnnotations())
            notDrawn.append(
                QStringLiteral("%1 (line %2)").arg(QString::fromStdString(skipped.tag)).arg(skipped.line));
        if (!notDrawn.isEmpty())
            choice.warnings.append(QStringLiteral("annotations not drawn: ") +
                                   notDrawn.join(QStringLiteral(", ")));
        return choice;
    }

private:
    bool AddComputed(const QString& name) {
        if (name == QLatin1String("consensus"))
            choice.rows.push_back(AnnotationRowFactory::Consensus(ShownTexts()));
        else if (name == QLatin1String("conservation"))
            AddConservation();
        else if (name == QLatin1String("occupancy"))
            choice.rows.push_back(AnnotationRowFactory::Occupancy(ShownTexts()));
        else if (name == kQuality)
            AddQuality();
        else if (name == kLogo || name == kFrequencyLogo)
            AddLogo(name == kFrequencyLogo);
        else
            return false;
        return true;
    }

    bool AminoAcids() const { return alignment.GetSequenceClass() != SDM::NucleicAcid; }

    // Physico-chemical properties are those of amino acids: DNA and RNA get no conservation row.
    void AddConservation() {
        if (!AminoAcids()) {
            if (!conservationRefused)
                choice.warnings.append(
                    QStringLiteral("conservation is scored for amino acids only; not drawn"));
            conservationRefused = true;
            return;
        }
        choice.rows.push_back(AnnotationRowFactory::Conservation(ShownTexts()));
    }

    // BLOSUM62 scores amino acids only.
    void AddQuality() {
        if (!AminoAcids()) {
            if (!qualityRefused)
                choice.warnings.append(QStringLiteral("quality is scored for amino acids only; not drawn"));
            qualityRefused = true;
            return;
        }
        choice.rows.push_back(AnnotationRowFactory::Quality(ShownTexts()));
    }

    // The letters take the colours the residues have in the picture, so the scheme is prepared first.
    void AddLogo(bool byFrequency) {
        const boost::shared_ptr<SDM::ColorScheme> scheme = alignment.getColorScheme();
        if (scheme) scheme->prepare(alignment);
        for (AnnotationRow& row :
             AnnotationRowFactory::Logo(ShownTexts(), AminoAcids(), scheme.get(), byFrequency))
            choice.rows.push_back(std::move(row));
    }

    void AddColumnLine(std::size_t index) {
        if (columnLineDrawn[index]) return;
        columnLineDrawn[index] = true;
        choice.rows.push_back(
            AnnotationRowFactory::FromColumnAnnotation(alignment.columnAnnotations()[index], found));
    }

    // The rows computed from the alignment describe the sequences shown, not those hidden or left out.
    const std::vector<std::string>& ShownTexts() {
        if (!texts) texts = SDM::ShownTexts(alignment, shownSequences);
        return *texts;
    }

    const SDM::Alignment& alignment;
    const std::vector<unsigned> shownSequences;     // empty: every shown sequence
    std::optional<std::vector<std::string>> texts;  // of the sequences shown, once asked for
    std::vector<bool> columnLineDrawn;
    bool conservationRefused = false;
    bool qualityRefused = false;
    std::vector<std::string> found;  // warnings of the row factory
    AnnotationChoice choice;
};

}  // namespace

QStringList ComputedAnnotationNames() {
    return {QStringLiteral("consensus"),
            QStringLiteral("conservation"),
            QStringLiteral("occupancy"),
            kQuality,
            kLogo,
            kFrequencyLogo};
}

std::vector<AnnotationOffer> OfferedAnnotations(const SDM::Alignment& alignment) {
    std::vector<AnnotationOffer> offers;
    const bool nucleic = alignment.GetSequenceClass() == SDM::NucleicAcid;
    for (const QString& computed : ComputedAnnotationNames()) {
        QString title = computed == kFrequencyLogo ? QStringLiteral("Logo by frequency") : computed;
        title[0] = title[0].toUpper();
        const bool aminoAcidsOnly = computed == QLatin1String("conservation") || computed == kQuality;
        if (!(nucleic && aminoAcidsOnly)) offers.push_back({computed, title});
    }
    for (const SDM::ColumnAnnotation& annotation : alignment.columnAnnotations()) {
        const QString tag = QString::fromStdString(annotation.tag);
        const bool seen = std::any_of(offers.begin(), offers.end(), [&tag](const AnnotationOffer& offer) {
            return offer.name.compare(tag, Qt::CaseInsensitive) == 0;
        });
        if (!seen) offers.push_back({tag.toLower(), QStringLiteral("#=GC ") + tag});
    }
    return offers;
}

AnnotationChoice ChooseAnnotations(const SDM::Alignment& alignment, const QStringList& names,
                                   const std::vector<unsigned>& shownSequences) {
    Chooser chooser(alignment, shownSequences);
    for (const QString& name : names) chooser.Add(name);
    return chooser.Finish();
}
