#pragma once

#include <QSize>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "DisplayOptions.h"
#include "msarender/RenderSequenceData.h"

class AlignmentDocument;
class QPaintDevice;

/// Where the view stands: the inputs of a Render besides the display switches.
struct ViewGeometry {
    QSize sequenceArea;  // pixels right of the name column
    int nameWidth = 0;
    int scrollX = 0;  // pixels, snapped to whole cells
    int scrollY = 0;
};

/// Drives one RenderSequenceData through the host contract: initialised when made, uninitialised before it
/// goes, and each Render told the least it has to redo for the kind of change.
class ViewRenderer {
public:
    /// Kinds of change, cheapest first; each Render redoes what its kind needs.
    enum class Change {
        Scroll,     // only the scroll position (or the current row) moved: the layout is kept
        Rulers,     // ruler numbers or origin: the layout is kept, the ruler bands are drawn anew
        Selection,  // selected residues: the layout and strips are kept; the view marks the selection
        Layout,     // view size, switches or the model
        Font,       // the residue font
    };

    ViewRenderer();
    ~ViewRenderer();
    ViewRenderer(const ViewRenderer&) = delete;
    ViewRenderer& operator=(const ViewRenderer&) = delete;

    /// Starts afresh for another document.
    void Restart();
    /// True when the view was composed.
    bool Render(QPaintDevice& device, AlignmentDocument& document, const DisplayOptions& options,
                const ViewGeometry& geometry, Change change);

    const RenderSequenceData& Renderer() const { return *renderer; }
    RenderSequenceData& Renderer() { return *renderer; }
    int CellWidth() const;
    int CellHeight() const;
    /// Whether the last Render found the model changed by the options (and so laid out anew).
    bool ModelChanged() const { return modelChanged; }
    /// Makes the next Render make the annotation rows again.
    void ForgetAnnotationRows() { appliedAnnotationRows.reset(); }

    /// The scroll position the composed view can show: whole grid rows, never the lower grid row of a ruler
    /// band, from where the renderer would start the view one row late, nor a secondary-structure line,
    /// from where it would start a line early (with the row's residue line).
    int SnapVertical(int y, bool showRuler) const;
    int SnapHorizontal(int x) const;

private:
    bool ApplyAnnotationRows(const AlignmentDocument& document, const QStringList& names, bool modelChanged);
    void ApplyRulerNumbers(AlignmentDocument& document, const DisplayOptions& options);
    static RenderSequenceData::RenderAspects MakeAspects(const DisplayOptions& options,
                                                         const ViewGeometry& geometry, bool layoutChanged);

    std::unique_ptr<RenderSequenceData> renderer;
    bool hasLayout = false;
    bool modelChanged = false;
    std::string rulerNumbering;  // names the reference while the ruler numbers its residues, else empty
    // The annotation rows the renderer was given, by name; unset until the first Render.
    std::optional<QStringList> appliedAnnotationRows;
    std::vector<unsigned> appliedForRows;  // the sequences shown when the rows were made
};
