#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <memory>

#include "picture/VectorDevice.h"

class QPaintEngine;
class EpsPaintEngine;

/// A paint device that writes one Encapsulated PostScript picture: Qt 6 has no PostScript output. Filled
/// shapes and lines become PostScript paths; text stays text, in fonts the document embeds with the outlines
/// of the characters shown (EpsFonts), so that every interpreter and every page-layout program shows the
/// letters of the PNG and the PDF. Pixmaps and images are not
/// written: the pictures drawn here are shapes and text. Coordinates are pixels at `dpi`; the picture's
/// size in points is its size in pixels times 72 / dpi.
class EpsDevice : public VectorDevice {
public:
    EpsDevice(QSize pixels, int dpi, const QString& title);
    ~EpsDevice() override;
    EpsDevice(const EpsDevice&) = delete;
    EpsDevice& operator=(const EpsDevice&) = delete;

    QPaintEngine* paintEngine() const override;
    /// The whole document; complete once the painter has ended.
    const QByteArray& Document() const;

private:
    std::unique_ptr<EpsPaintEngine> engine;
};
