#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "msarender/picture/AlignmentPicture.h"

namespace testsupport {

/// The first page of a prepared picture, encoded as PNG and read back as RGB32: what a user's file holds.
inline QImage PicturePng(AlignmentPicture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(picture.EncodePage(0, buffer, OutputFormat::Png), QString());
    QImage image;
    EXPECT_TRUE(image.loadFromData(bytes, "PNG"));
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace testsupport
