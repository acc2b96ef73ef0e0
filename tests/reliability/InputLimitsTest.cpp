// Inputs and pictures beyond what memory allows end in one clear message or a null picture, never in a
// crash or an attempt to allocate them.

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <sstream>
#include <streambuf>
#include <string>

#include "formats/AlignmentReader.h"
#include "renderer/PixmapAllocation.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

namespace {

constexpr std::size_t kLimit = 1 << 20;

Formats::ReadOptions Limited(Formats::Format format = Formats::Format::Auto) {
    Formats::ReadOptions options;
    options.format = format;
    options.maxBytes = kLimit;
    return options;
}

/// A stream without end, as a runaway pipe or /dev/zero delivers it: `head`, then `fill` bytes forever.
/// Counts what was taken from it.
class EndlessStream : public std::streambuf {
public:
    EndlessStream(std::string head, char fill) : head(std::move(head)), fill(fill) {}
    std::size_t delivered = 0;

protected:
    int_type underflow() override {
        std::fill(std::begin(chunk), std::end(chunk), fill);
        if (delivered == 0) std::copy_n(head.data(), std::min(head.size(), sizeof chunk), chunk);
        delivered += sizeof chunk;
        setg(chunk, chunk, chunk + sizeof chunk);
        return traits_type::to_int_type(chunk[0]);
    }

private:
    std::string head;
    char fill;
    char chunk[4096];
};

std::string Gzip(const std::string& text) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, uLong(text.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = uInt(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

void ExpectRefusedWith(const Formats::ReadResult& result, const std::string& words) {
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.alignment);
    EXPECT_NE(result.error.message.find(words), std::string::npos) << result.error.ToString();
}

}  // namespace

// GIVEN a device that gives zero bytes without end THEN it is refused as binary data at its first chunk, not
// read up to the limit.
TEST(InputLimits, EndlessZeroBytesAreRefusedAtOnce) {
    EndlessStream zeros("", '\0');
    std::istream in(&zeros);
    Formats::ReadOptions options;  // the default limit: 1 GiB
    const Formats::ReadResult result = Formats::ReadAlignmentStream(in, "/dev/zero", options);
    ExpectRefusedWith(result, "binary data");
    EXPECT_LE(zeros.delivered, std::size_t(1) << 20);
}

// GIVEN a stream whose one line never ends WHEN it is read with a 1 MiB limit THEN reading stops just past
// the limit with a message that names it, instead of growing until memory runs out.
TEST(InputLimits, AnEndlessLineStopsAtTheLimitWithAMessage) {
    EndlessStream line(">s\n", 'A');
    std::istream in(&line);
    const Formats::ReadResult result = Formats::ReadAlignmentStream(in, "pipe", Limited());
    ExpectRefusedWith(result, "larger than " + std::to_string(kLimit) + " bytes");
    EXPECT_EQ(result.error.ToString().rfind("pipe: ", 0), 0u);
    EXPECT_LE(line.delivered, kLimit + (1 << 17));  // at most one read chunk beyond the limit
}

TEST(InputLimits, TextOrGzipBeyondTheLimitIsRefusedBeforeParsing) {
    const std::string oneLine = ">s\n" + std::string(kLimit, 'A') + "\n";
    ExpectRefusedWith(Formats::ReadAlignmentText(oneLine, "big.fa", Limited()), "larger than");

    // 8 MiB of residues compress to a few KiB: the cap applies to what decompression produces.
    std::string bomb = ">s\n";
    for (int i = 0; i < 8 * 1024; ++i) bomb += std::string(1023, 'A') + "\n";
    const std::string compressed = Gzip(bomb);
    ASSERT_LT(compressed.size(), kLimit);
    std::istringstream in(compressed);
    ExpectRefusedWith(Formats::ReadAlignmentStream(in, "bomb.fa.gz", Limited()),
                      "decompressed input larger than");

    // Just under the limit still reads.
    const std::string fits = ">s\n" + std::string(kLimit - 16, 'A') + "\n";
    EXPECT_TRUE(Formats::ReadAlignmentText(fits, "fits.fa", Limited()).ok());
}

// A3M leaves insert columns implicit; a few KiB can ask for rows x columns far beyond the input size.
TEST(InputLimits, A3mInsertsThatWouldExplodeThePaddedAlignmentAreRefused) {
    std::string text;
    const int rows = 400;
    for (int r = 0; r < rows; ++r) {
        std::string row(rows, 'A');
        // Each row has its own insert at its own place; unequal lengths make it A3M rather than A2M.
        row.insert(std::size_t(r), std::string(std::size_t(300 + r % 3), 'c'));
        text += ">s" + std::to_string(r) + "\n" + row + "\n";
    }
    ASSERT_LT(text.size(), kLimit);
    ExpectRefusedWith(Formats::ReadAlignmentText(text, "inserts.a3m", Limited(Formats::Format::Fasta)),
                      "over the size limit");
}

// GIVEN thousands of interleaved blocks of the same rows THEN they are read whole and in linear time (the
// suite's timeout bounds it), with structure lines joined across blocks.
TEST(InputLimits, ThousandsOfRepeatedBlocksAreReadWhole) {
    const int blocks = 4000;
    std::string clustal = "CLUSTAL W (1.83) multiple sequence alignment\n\n";
    std::string stockholm = "# STOCKHOLM 1.0\n";
    for (int b = 0; b < blocks; ++b) {
        clustal += "alpha ACDEFGHIKL\nbeta  ACDEF-HIKL\n           ****\n\n";
        stockholm += "alpha ACDEFGHIKL\n#=GR alpha SS HHHHEEEECC\nbeta  ACDEF-HIKL\n\n";
    }
    stockholm += "//\n";

    const Formats::ReadResult fromClustal = Formats::ReadAlignmentText(clustal, "blocks.aln", Limited());
    ASSERT_TRUE(fromClustal.ok()) << fromClustal.error.ToString();
    EXPECT_EQ(fromClustal.alignment->columnCount(), unsigned(blocks * 10));

    const Formats::ReadResult fromStockholm = Formats::ReadAlignmentText(stockholm, "blocks.sto", Limited());
    ASSERT_TRUE(fromStockholm.ok()) << fromStockholm.error.ToString();
    const auto alpha = boost::dynamic_pointer_cast<SDM::AASequence>(fromStockholm.alignment->getSequence(0));
    ASSERT_TRUE(alpha && alpha->getSecondaryStructure("SS"));
    EXPECT_EQ(alpha->getSecondaryStructure("SS")->Letters().size(), std::size_t(blocks * 10));
}

TEST(InputLimits, AnAlignmentNumberBeyondManyRepeatedAlignmentsIsNamedInTheMessage) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "# STOCKHOLM 1.0\ns ACDE\n//\n";
    Formats::ReadOptions options = Limited();
    options.alignmentIndex = 2999;
    EXPECT_TRUE(Formats::ReadAlignmentText(text, "many.sto", options).ok());
    options.alignmentIndex = 3000;
    ExpectRefusedWith(Formats::ReadAlignmentText(text, "many.sto", options),
                      "alignment number 3001 was asked for, but the file holds 3000 alignments");
}

// GIVEN one row wider than any pixmap may be THEN export answers null instead of allocating, and the same
// row wrapped into blocks exports fine.
TEST(InputLimits, AnExportWiderThanAPixmapMayBeIsNull) {
    const CellGeometry cells = renderertest::TestCells();
    const unsigned columns = unsigned(cells.ColumnsIn(PixmapAllocation::kMaxSide)) + 10;
    testsupport::BuiltAlignment a =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("wide", renderertest::Letters(columns)).Build();
    renderertest::FakeWidget widget(testsupport::MonoFont());

    RenderSequenceData unwrapped;
    ASSERT_TRUE(
        unwrapped.Render(&widget, *a.view, renderertest::AspectsOfCells(40, 10, false), false, false));
    EXPECT_EQ(std::unique_ptr<QPixmap>(unwrapped.CopyImageData({0}, {}, false, true)), nullptr);

    RenderSequenceData wrapped;
    ASSERT_TRUE(
        wrapped.Render(&widget, *a.view, renderertest::AspectsOfCells(40, 10, true, 100), false, false));
    const std::unique_ptr<QPixmap> picture(wrapped.CopyImageData({0}, {}, false, true));
    ASSERT_NE(picture, nullptr);
    EXPECT_GE(picture->width(), cells.ColumnLeft(100));
    EXPECT_LE(picture->width(), PixmapAllocation::kMaxSide);
}

// GIVEN a view rectangle far taller than a pixmap may be THEN nothing is composed (null pixmaps), and the
// next Render with a sane view composes again.
TEST(InputLimits, AViewTallerThanAPixmapMayBeComposesNothingAndRecovers) {
    testsupport::BuiltAlignment a = testsupport::AlignmentBuilder(SDM::AminoAcid)
                                        .Seq("one", renderertest::Letters(30))
                                        .Seq("two", renderertest::Letters(30, 3))
                                        .Build();
    renderertest::FakeWidget widget(testsupport::MonoFont());
    RenderSequenceData renderer;
    RenderSequenceData::RenderAspects huge = renderertest::AspectsOfCells(40, 10, false);
    huge.viewRect = QRect(0, 0, 400, 40 * PixmapAllocation::kMaxSide);
    renderer.Render(&widget, *a.view, huge, false, false);
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_TRUE(renderer.GetSavablePixmap().isNull());

    ASSERT_TRUE(renderer.Render(&widget, *a.view, renderertest::AspectsOfCells(40, 10, false), false, false));
    ASSERT_NE(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_FALSE(renderer.GetSavablePixmap().isNull());
}
