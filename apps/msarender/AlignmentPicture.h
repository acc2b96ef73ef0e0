#pragma once

#include <QImage>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <map>
#include <memory>
#include <vector>

#include "CliOptions.h"
#include "msarender/RenderSequenceData.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

/// Pictures of one alignment as the command line asked for them: the whole selection split into pages of
/// sequences when it is too tall for one image, or the composed view of a host.
class AlignmentPicture {
public:
    /// Images are kept below this many pixels on each side, which every encoder accepts.
    static constexpr int kMaxSide = 32000;
    /// ... and below the renderer's limit on the pixels of one image.
    static constexpr long long kMaxPixels = 1LL << 27;

    AlignmentPicture(boost::shared_ptr<SDM::Alignment> alignment, const CliOptions& options);
    ~AlignmentPicture();

    /// Applies the options to the model and lays the alignment out; an error message, or empty.
    QString Prepare();
    int PageCount() const { return int(pages.size()); }
    /// One page of the export; a null image with `error` set on failure.
    QImage RenderPage(int page, QString& error);
    /// The composed view at the --view geometry.
    QImage RenderView(QString& error);

private:
    QString ApplyModelOptions();
    QString ResolveSelection();
    QString PlanPages();
    RenderSequenceData::RenderAspects Aspects() const;
    int LinesOfSequence(unsigned sequenceIndex) const;
    int RowOfSequence(unsigned sequenceIndex) const;
    unsigned ExportBlocks() const;

    boost::shared_ptr<SDM::Alignment> alignment;
    SQV::SVAlignment view;
    const CliOptions& options;  // not owned; outlives the picture
    RenderSequenceData renderer;
    std::vector<unsigned> sequenceIndexes;  // what is exported, in order
    std::vector<unsigned> columns;          // empty: every column
    std::vector<std::vector<unsigned>> pages;
};
