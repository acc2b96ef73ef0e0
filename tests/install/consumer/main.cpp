// A host outside the project: builds a model, renders it and exports a picture.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <memory>

#include "msarender/RenderSequenceData.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    auto alignment = boost::shared_ptr<SDM::Alignment>(new SDM::Alignment);
    alignment->SetSequenceClass(SDM::AminoAcid);
    alignment->addSequence(boost::shared_ptr<SDM::Sequence>(new SDM::AASequence("first", "MKV-LA")));
    alignment->addSequence(boost::shared_ptr<SDM::Sequence>(new SDM::AASequence("second", "MKVQLA")));
    SQV::SVAlignment view(alignment);
    view.Update();

    RenderSequenceData renderer;
    renderer.InitializeRendering();
    RenderSequenceData::RenderAspects aspects;
    aspects.viewRect = QRect(0, 0, 400, 300);
    QImage device(1, 1, QImage::Format_RGB32);
    if (!renderer.Render(&device, view, aspects, false, false)) return 1;
    std::unique_ptr<QPixmap> picture(renderer.CopyImageData({0, 1}, {}, false, true));
    renderer.UninitializeRendering();
    if (!picture) return 1;
    std::printf("rendered %d x %d\n", picture->width(), picture->height());
    return 0;
}
