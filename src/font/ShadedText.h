#pragma once

class QPainter;
class QPointF;
class QRect;
class QString;

/// Letters on raster devices are anti-aliased in this many levels of coverage, none and full included. Ten
/// shades between paper and ink look like the font's own, and a picture of up to twenty paper colours (the
/// Taylor scheme) under one ink then fits a 256-colour PNG palette, whose file is about half the size of the
/// same picture in truecolour.
constexpr int kInkLevels = 12;

/// Draws `text` like QPainter::drawText with its baseline starting at `baseline`, in kInkLevels levels of
/// coverage on raster devices. Vector devices, translucent or patterned pens and high-density devices get
/// the painter's own text.
void DrawShadedText(QPainter& painter, const QPointF& baseline, const QString& text);
/// The same, placed in `box` by the Qt::AlignmentFlag `flags` like QPainter::drawText(box, flags, text).
void DrawShadedText(QPainter& painter, const QRect& box, int flags, const QString& text);

/// Texts that the view draws afresh on every frame (names, ruler numbers, annotation symbols): shaded like
/// DrawShadedText while a PictureShades lives on this thread, which pictures keep while they are painted, and
/// drawn with the font's own anti-aliasing otherwise, which costs the view less.
void DrawLabelText(QPainter& painter, const QPointF& baseline, const QString& text);
void DrawLabelText(QPainter& painter, const QRect& box, int flags, const QString& text);

/// While one lives, DrawLabelText shades on this thread.
class PictureShades {
public:
    PictureShades();
    ~PictureShades();
    PictureShades(const PictureShades&) = delete;
    PictureShades& operator=(const PictureShades&) = delete;
};
