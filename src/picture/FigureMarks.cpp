#include "msarender/picture/FigureMarks.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "font/ShadedText.h"
#include "model/AlignmentHelper.h"
#include "msarender/picture/PictureSettings.h"
#include "msarender/picture/RowOrder.h"
#include "msarender/picture/SequenceSelection.h"
#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

namespace {

using Plan = RenderSequenceData::PicturePlan;
using Line = Plan::Line;

const char kHighlightForm[] =
    "NAME:START-END[:COLOUR[:LABEL]] or columns:START-END[:COLOUR[:LABEL]] (a NAME may be \"quoted\")";
const char kIdentityHeader[] = "%id";

// Highlights without a colour of their own take these in turn, so that neighbours differ.
QColor DefaultColour(std::size_t index) {
    static const QColor kColours[] = {QColor(214, 39, 40), QColor(31, 119, 180), QColor(44, 160, 44),
                                      QColor(255, 127, 14), QColor(148, 103, 189)};
    return kColours[index % (sizeof kColours / sizeof kColours[0])];
}

bool IsResidue(char c) {
    return !SQC::SequenceConstants::IsGap(c);
}

// The pieces of one highlight as written; `error` says what is wrong with its form.
struct HighlightSpec {
    QString target;  // a sequence, or "columns"
    long long from = 0;
    long long to = 0;
    QString colour;
    QString label;
    QString error;
    bool rangeRead = false;  // the field read as the range is one
    bool quoted = false;     // the target was written in quotes: a sequence's name, whatever it reads
    bool ByColumns() const {
        return !quoted && target.compare(QLatin1String("columns"), Qt::CaseInsensitive) == 0;
    }
};

// The spec read with the range in field `rangeField` of the ':'-separated fields, the target before it.
HighlightSpec ReadHighlightFields(const QStringList& parts, int rangeField, const QString& target) {
    HighlightSpec spec;
    static const QRegularExpression range(QStringLiteral("^\\s*(\\d{1,12})\\s*(?:-\\s*(\\d{1,12})\\s*)?$"));
    const QRegularExpressionMatch m =
        rangeField < parts.size() ? range.match(parts[rangeField]) : QRegularExpressionMatch();
    spec.target = target.trimmed();
    if (spec.target.isEmpty() || !m.hasMatch()) {
        spec.error = QStringLiteral("needs %1").arg(QLatin1String(kHighlightForm));
        return spec;
    }
    spec.rangeRead = true;
    spec.from = m.captured(1).toLongLong();
    spec.to = m.captured(2).isEmpty() ? spec.from : m.captured(2).toLongLong();
    spec.colour = parts.value(rangeField + 1).trimmed();
    spec.label = parts.mid(rangeField + 2).join(QLatin1Char(':')).trimmed();
    // Residue numbers count down where a sequence's own range does: only columns have one order.
    if (spec.ByColumns() && spec.to < spec.from)
        spec.error = QStringLiteral("the range %1-%2 ends before it starts").arg(spec.from).arg(spec.to);
    else if (!spec.colour.isEmpty() && !QColor::isValidColorName(spec.colour))
        spec.error =
            QStringLiteral("'%1' is no colour (use a name such as red, or #rrggbb)").arg(spec.colour);
    return spec;
}

// A name in double quotes is taken whole, colons and all: "sp|P1|X:1":10-20.
std::optional<HighlightSpec> ReadQuotedHighlight(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('"'))) return std::nullopt;
    const int close = trimmed.indexOf(QLatin1Char('"'), 1);
    if (close < 0 || trimmed.mid(close + 1, 1) != QLatin1String(":")) {
        HighlightSpec spec;
        spec.error = QStringLiteral("needs a closing '\"' and ':' after a quoted name");
        return spec;
    }
    QStringList parts = trimmed.mid(close + 2).split(QLatin1Char(':'));
    parts.prepend(QString());
    HighlightSpec spec = ReadHighlightFields(parts, 1, trimmed.mid(1, close - 1));
    spec.quoted = true;
    return spec;
}

// Names may hold colons ("sp|P1|X:1"), so the range may be any field after the first. Of the readings
// whose target `names` knows (or "columns" before the first colon), the one with the longest target,
// whatever else is wrong with it; with none, the target is the first field. Without `names` (the syntax
// alone) any reading without an error will do.
HighlightSpec ParseHighlight(const QString& text, const std::function<bool(const QString&)>& names = {}) {
    if (std::optional<HighlightSpec> quoted = ReadQuotedHighlight(text)) return *quoted;
    const QStringList parts = text.split(QLatin1Char(':'));
    for (int field = int(parts.size()) - 1; field >= 1; --field) {
        const HighlightSpec spec =
            ReadHighlightFields(parts, field, parts.mid(0, field).join(QLatin1Char(':')));
        const bool known =
            names && spec.rangeRead && ((field == 1 && spec.ByColumns()) || names(spec.target));
        if (known || (!names && spec.error.isEmpty())) return spec;
    }
    return ReadHighlightFields(parts, 1, parts.value(0));
}

// The 0-based column of each residue of an aligned text.
std::vector<unsigned> ResidueColumns(const std::string& aligned) {
    std::vector<unsigned> columns;
    for (std::size_t column = 0; column < aligned.size(); ++column)
        if (IsResidue(aligned[column])) columns.push_back(unsigned(column));
    return columns;
}

QString ResolveColumns(const SDM::Alignment& alignment, const HighlightSpec& spec, FigureHighlight& out) {
    if (spec.from < 1 || spec.to > (long long)alignment.columnCount())
        return QStringLiteral("the alignment has columns 1-%1").arg(alignment.columnCount());
    out.firstColumn = unsigned(spec.from - 1);
    out.lastColumn = unsigned(spec.to - 1);
    return QString();
}

// START-END are residue numbers of the sequence, which count down where its own range does.
QString ResolveResidues(const SDM::Alignment& alignment, const HighlightSpec& spec, FigureHighlight& out) {
    const SequenceList found = ResolveSequences(alignment, spec.target);
    if (!found.error.isEmpty()) return found.error;
    if (found.indexes.size() != 1)
        return QStringLiteral("'%1' names %2 sequences, not one").arg(spec.target).arg(found.indexes.size());
    out.sequence = alignment.getSequence(found.indexes.front());
    const SDM::Sequence::Numbering numbering = out.sequence->numbering();
    const long long count = out.sequence->size();
    const long long a = (spec.from - numbering.start) * numbering.step;
    const long long b = (spec.to - numbering.start) * numbering.step;
    if (std::min(a, b) < 0 || std::max(a, b) >= count)
        return count == 0 ? QStringLiteral("%1 has no residues").arg(spec.target)
                          : QStringLiteral("%1 has residues %2-%3")
                                .arg(spec.target)
                                .arg(numbering.start)
                                .arg(numbering.start + numbering.step * (count - 1));
    const std::vector<unsigned> columns = ResidueColumns(out.sequence->getAligned());
    out.firstColumn = columns[std::size_t(std::min(a, b))];
    out.lastColumn = columns[std::size_t(std::max(a, b))];
    return QString();
}

// The alignment columns a planned line shows, left to right.
std::vector<unsigned> LineColumns(const Plan& plan, const Line& line) {
    std::vector<unsigned> columns;
    if (plan.byColumns) {
        const std::vector<unsigned>& chosen = plan.columnsByRow.at(line.row);
        const std::size_t end = std::min<std::size_t>(line.end, chosen.size());
        for (std::size_t i = line.first; i < end; ++i) columns.push_back(chosen[i]);
        return columns;
    }
    for (unsigned column = line.first; column < line.end; ++column) columns.push_back(column);
    return columns;
}

unsigned SequenceOfLine(const Plan& plan, const Line& line) {
    return unsigned(plan.helper->SequenceOfRow(line.row));
}

// Residues of an aligned text before a column, counted on from the last question: a row's lines come in
// column order, so numbering every line of a row reads its text once.
class ResidueCounter {
public:
    explicit ResidueCounter(const std::string& text) : aligned(&text) {}
    long long Before(std::size_t column) {
        if (column < scanned) scanned = counted = 0;
        for (; scanned < column && scanned < aligned->size(); ++scanned)
            counted += IsResidue((*aligned)[scanned]);
        return counted;
    }

private:
    const std::string* aligned;
    std::size_t scanned = 0;
    long long counted = 0;
};

long long NumberOf(const SDM::Sequence::Numbering& numbering, long long index) {
    return numbering.start + numbering.step * index;
}

QString NumberText(const SDM::Sequence::Numbering& numbering, long long index) {
    return QString::number(NumberOf(numbering, index));
}

}  // namespace

HighlightList ResolveHighlights(const SDM::Alignment& alignment, const QStringList& specs) {
    HighlightList list;
    const auto namesOne = [&alignment](const QString& target) {
        const SequenceList found = ResolveSequences(alignment, target);
        return found.error.isEmpty() && found.indexes.size() == 1;
    };
    for (const QString& text : specs) {
        const HighlightSpec spec = ParseHighlight(text, namesOne);
        FigureHighlight highlight;
        QString error = spec.error;
        if (error.isEmpty())
            error = spec.ByColumns() ? ResolveColumns(alignment, spec, highlight)
                                     : ResolveResidues(alignment, spec, highlight);
        if (!error.isEmpty()) {
            list.error = QStringLiteral("'%1': %2").arg(text, error);
            list.highlights.clear();
            return list;
        }
        highlight.colour =
            spec.colour.isEmpty() ? DefaultColour(list.highlights.size()) : QColor(spec.colour);
        highlight.label = spec.label;
        list.highlights.push_back(std::move(highlight));
    }
    return list;
}

std::vector<long long> ResidueNumbersByColumn(const SDM::Sequence& sequence, unsigned columns) {
    std::vector<long long> numbers(columns, RenderSequenceData::kNoRulerNumber);
    const SDM::Sequence::Numbering numbering = sequence.numbering();
    const std::string& aligned = sequence.getAligned();
    long long index = 0;
    for (std::size_t column = 0; column < numbers.size() && column < aligned.size(); ++column)
        if (IsResidue(aligned[column])) numbers[column] = NumberOf(numbering, index++);
    return numbers;
}

QString CheckHighlightSyntax(const QString& spec) {
    return ParseHighlight(spec).error;
}

QString IdentityText(const std::optional<double>& percent) {
    if (!percent) return QStringLiteral("-");
    const long rounded = std::lround(*percent);
    return QString::number(*percent < 100 ? std::min(rounded, 99L) : rounded) + QLatin1Char('%');
}

FigureMarks::FigureMarks(const SDM::Alignment& model, Request asked, Plan& plan, const CellGeometry& geometry,
                         const QFont& drawingFont, QStringList& warnings)
    : alignment(&model), request(std::move(asked)), cells(geometry), font(drawingFont) {
    frameWidth = std::max(1, cells.CellWidth() / 4);
    if (request.residueNumbers && !plan.namesShown)
        warnings.append(QStringLiteral(
            "--residue-numbers: a picture of one sequence's columns has no name column; numbers are drawn at "
            "the lines' ends only"));
    if (!request.highlights.empty() && !plan.includeGaps) {
        // Each row closes up on its own: columns no longer stand one above the other.
        warnings.append(QStringLiteral("--highlight needs the gaps shown: not drawn with --no-gaps"));
        request.highlights.clear();
    }
    Widen(plan);
    std::vector<LineBox> frames = FrameLines(plan);
    for (std::size_t h = 0; h < request.highlights.size(); ++h)
        if (std::none_of(frames.begin(), frames.end(),
                         [h](const LineBox& box) { return box.highlight == h; }))
            warnings.append(QStringLiteral("--highlight %1 frames nothing drawn")
                                .arg(request.highlights[h].label.isEmpty()
                                         ? QString::number(h + 1)
                                         : "'" + request.highlights[h].label + "'"));
    PlanLabels(plan, frames);
    for (const LineBox& frame : frames)
        boxes.push_back(Box{plan.lines[frame.line].top, frame.rect,
                            request.highlights[frame.highlight].colour, frame.top, frame.bottom});
    if (request.residueNumbers) PlanNumbers(plan);
    if (request.identity) PlanIdentity(plan);
}

// Left numbers go between the names and the residues; line-end numbers and identities right of the widest
// line, a cell apart.
void FigureMarks::Widen(Plan& plan) {
    const QFontMetrics metrics(font);
    const int gap = cells.CellWidth();
    if (request.residueNumbers) {
        for (const Line& line : plan.lines) {
            if (line.kind != Line::Kind::Row) continue;
            const boost::shared_ptr<SDM::Sequence> sequence =
                alignment->getSequence(SequenceOfLine(plan, line));
            if (!sequence || sequence->size() == 0) continue;
            const SDM::Sequence::Numbering numbering = sequence->numbering();
            for (long long index : {0LL, (long long)sequence->size() - 1})
                numberWidth = std::max(numberWidth, metrics.horizontalAdvance(NumberText(numbering, index)));
        }
        if (plan.namesShown) {
            plan.nameWidth += numberWidth + gap;
            plan.width += numberWidth + gap;
        }
        rightNumbersX = CellGeometry::SaturateToInt(plan.width + gap);
        plan.width += gap + numberWidth;
    }
    if (request.identity) {
        identityWidth = std::max(metrics.horizontalAdvance(QStringLiteral("100%")),
                                 metrics.horizontalAdvance(QLatin1String(kIdentityHeader)));
        identityX = CellGeometry::SaturateToInt(plan.width + gap);
        plan.width += gap + identityWidth;
    }
}

// Each highlight's part on each row line that shows some of its columns.
std::vector<FigureMarks::LineBox> FigureMarks::FrameLines(const Plan& plan) const {
    std::vector<LineBox> frames;
    const int x = plan.namesShown ? plan.nameWidth : 0;
    const auto isRow = [&](std::size_t i) {
        return i < plan.lines.size() && plan.lines[i].kind == Line::Kind::Row;
    };
    for (std::size_t i = 0; i < plan.lines.size() && !request.highlights.empty(); ++i) {
        if (!isRow(i)) continue;
        const Line& line = plan.lines[i];
        const boost::shared_ptr<SDM::Sequence> sequence = alignment->getSequence(SequenceOfLine(plan, line));
        const std::vector<unsigned> columns = LineColumns(plan, line);
        for (std::size_t h = 0; h < request.highlights.size(); ++h) {
            const FigureHighlight& highlight = request.highlights[h];
            if (highlight.sequence && highlight.sequence != sequence) continue;
            const auto first = std::lower_bound(columns.begin(), columns.end(), highlight.firstColumn);
            const auto last = std::upper_bound(columns.begin(), columns.end(), highlight.lastColumn);
            if (first >= last) continue;
            const int from = int(first - columns.begin());
            // A column frame runs down a block's rows, their structure lines too: edges across only at its
            // first and last row.
            const bool alone = bool(highlight.sequence);
            const QRect rect(x + cells.ColumnLeft(from), 0, cells.ColumnLeft(last - first),
                             alone ? cells.CellHeight() : line.height);
            frames.push_back(LineBox{i, rect, h, alone || i == 0 || !isRow(i - 1), alone || !isRow(i + 1)});
        }
    }
    return frames;
}

// A label stands over the block where its frame begins, in a line above the block's rows; labels that
// would overlap take a line of their own.
void FigureMarks::PlanLabels(Plan& plan, const std::vector<LineBox>& frames) {
    const QFontMetrics metrics(font);
    std::map<std::size_t, std::vector<std::pair<int, int>>> levelsAtLine;  // first row line -> spans
    std::vector<std::pair<std::size_t, Text>> placed;                      // first row line, label
    std::vector<bool> labelled(request.highlights.size(), false);
    for (const LineBox& frame : frames) {
        const FigureHighlight& highlight = request.highlights[frame.highlight];
        if (highlight.label.isEmpty() || labelled[frame.highlight]) continue;
        labelled[frame.highlight] = true;
        std::size_t firstRow = frame.line;
        while (firstRow > 0 && plan.lines[firstRow - 1].kind == Line::Kind::Row) --firstRow;
        const int left = frame.rect.left();
        const int right = left + metrics.horizontalAdvance(highlight.label) + cells.CellWidth();
        std::vector<std::pair<int, int>>& levels = levelsAtLine[firstRow];
        std::size_t level = 0;
        while (level < levels.size() && left < levels[level].second) ++level;
        if (level == levels.size()) levels.emplace_back(left, right);
        levels[level].second = std::max(levels[level].second, right);
        placed.push_back(
            {firstRow, Text{std::int64_t(level), left, 0, false, highlight.label, highlight.colour}});
    }
    // Lines from each labelled block's first row on move down by the label lines inserted above them.
    std::vector<std::int64_t> shift(plan.lines.size() + 1, 0);
    for (const auto& [line, levels] : levelsAtLine) shift[line] += cells.Height(std::int64_t(levels.size()));
    for (std::size_t i = 1; i < shift.size(); ++i) shift[i] += shift[i - 1];
    for (std::size_t i = 0; i < plan.lines.size(); ++i) plan.lines[i].top += shift[i];
    plan.height += shift.back();
    for (auto& [line, text] : placed) {
        const std::int64_t levels = std::int64_t(levelsAtLine[line].size());
        text.lineTop = plan.lines[line].top - cells.Height(levels - text.lineTop);
        labels.push_back(text);
    }
}

void FigureMarks::PlanNumbers(const Plan& plan) {
    std::map<unsigned, ResidueCounter> counters;
    const int leftX = plan.nameWidth - cells.CellWidth() - numberWidth;
    for (const Line& line : plan.lines) {
        if (line.kind != Line::Kind::Row) continue;
        const unsigned index = SequenceOfLine(plan, line);
        const boost::shared_ptr<SDM::Sequence> sequence = alignment->getSequence(index);
        if (!sequence) continue;
        const std::string& aligned = sequence->getAligned();
        const std::vector<unsigned> columns = LineColumns(plan, line);
        const auto holds = [&aligned](unsigned column) {
            return column < aligned.size() && IsResidue(aligned[column]);
        };
        const auto first = std::find_if(columns.begin(), columns.end(), holds);
        if (first == columns.end()) continue;  // no residue of it on this line: no numbers
        const auto last = std::find_if(columns.rbegin(), columns.rend(), holds);
        ResidueCounter& counter = counters.try_emplace(index, aligned).first->second;
        const SDM::Sequence::Numbering numbering = sequence->numbering();
        const QString firstNumber = NumberText(numbering, counter.Before(*first));
        const QString lastNumber = NumberText(numbering, counter.Before(*last));
        if (plan.namesShown) marks.push_back(Text{line.top, leftX, numberWidth, true, firstNumber});
        marks.push_back(Text{line.top, rightNumbersX, numberWidth, false, lastNumber});
    }
}

void FigureMarks::PlanIdentity(const Plan& plan) {
    std::map<unsigned, QString> identityOf;
    for (const Line& line : plan.lines) {
        if (line.kind == Line::Kind::RulerBand) {
            // Over the column, on the band's lower line, just above the rows.
            marks.push_back(Text{line.top + cells.CellHeight(), identityX, identityWidth, true,
                                 QLatin1String(kIdentityHeader)});
            continue;
        }
        if (line.kind != Line::Kind::Row) continue;
        const unsigned index = SequenceOfLine(plan, line);
        auto known = identityOf.find(index);
        if (known == identityOf.end())
            known =
                identityOf
                    .emplace(index, IdentityText(RowOrder::Identity(RowOrder::AlignedText(*alignment, index),
                                                                    request.identityTarget)))
                    .first;
        marks.push_back(Text{line.top, identityX, identityWidth, true, known->second});
    }
}

void FigureMarks::Paint(QPainter& painter, std::int64_t top, int height, std::int64_t linesBegin,
                        std::int64_t linesEnd) const {
    if (IsEmpty() || height <= 0) return;
    // A line's text may reach a cell below it (descenders); a frame stays inside its line.
    const auto shown = [&](std::int64_t lineTop, std::int64_t lineHeight) {
        return lineTop >= linesBegin && lineTop < linesEnd && lineTop < top + height &&
               lineTop + lineHeight + cells.CellHeight() > top;
    };
    const PictureShades shades;
    painter.save();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const std::vector<Text>* texts : {&marks, &labels})
        for (const Text& text : *texts) {
            if (!shown(text.lineTop, cells.CellHeight())) continue;
            const int x =
                text.alignRight ? text.x + text.width - metrics.horizontalAdvance(text.text) : text.x;
            painter.setPen(text.colour);
            DrawLabelText(painter, QPointF(x, cells.Baseline(int(text.lineTop - top))), text.text);
        }
    for (const Box& box : boxes) {
        if (!shown(box.lineTop, box.rect.height())) continue;
        const QRect r = box.rect.translated(0, int(box.lineTop - top));
        const int w = frameWidth;
        painter.fillRect(QRect(r.left(), r.top(), w, r.height()), box.colour);
        painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), box.colour);
        if (box.top) painter.fillRect(QRect(r.left(), r.top(), r.width(), w), box.colour);
        if (box.bottom) painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), box.colour);
    }
    painter.restore();
}

FigureMarks::Request MarksAsked(const SDM::Alignment& alignment, const PictureSettings& settings,
                                const std::function<std::string()>& identityTarget, QString& error) {
    FigureMarks::Request request;
    request.residueNumbers = settings.residueNumbers;
    request.identity = settings.identity;
    if (settings.identity) request.identityTarget = identityTarget();
    HighlightList highlights = ResolveHighlights(alignment, settings.highlights);
    error = highlights.error.isEmpty() ? QString() : "--highlight " + highlights.error;
    request.highlights = std::move(highlights.highlights);
    return request;
}
