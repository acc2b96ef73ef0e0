// Compressed input is recognised by its first bytes, whatever the file is called.
#include <gtest/gtest.h>

#include <sstream>

#include "ReaderTestSupport.h"
#include "formats/Decompression.h"

using namespace formatstest;
using Formats::Format;

namespace {

Formats::ReadResult ReadBytes(const std::string& bytes, std::size_t maxBytes = std::size_t(1) << 30) {
    std::istringstream in(bytes);
    Formats::ReadOptions options;
    options.maxBytes = maxBytes;
    return Formats::ReadAlignmentStream(in, "upload.txt", options);
}

}  // namespace

TEST(ReaderCompression, Bzip2AndXzReadLikeThePlainFileWhateverTheName) {
    const auto plain = ReadData("jalview_uniref50.fa");
    ASSERT_TRUE(plain.ok()) << plain.error.ToString();
    for (const char* file : {"jalview_uniref50.fa.bz2", "jalview_uniref50.fa.xz", "jalview_uniref50.fa.gz"}) {
        SCOPED_TRACE(file);
        const auto fromFile = ReadData(file);
        ASSERT_TRUE(fromFile.ok()) << fromFile.error.ToString();
        EXPECT_EQ(Rows(*fromFile.alignment), Rows(*plain.alignment));
        // The same bytes under a name that says nothing about compression.
        const auto fromStream = ReadBytes(FileBytes(file));
        ASSERT_TRUE(fromStream.ok()) << fromStream.error.ToString();
        EXPECT_EQ(Rows(*fromStream.alignment), Rows(*plain.alignment));
    }
}

TEST(ReaderCompression, ConcatenatedBzip2StreamsAreAllRead) {
    const std::string bytes = FileBytes("jalview_uniref50.fa.bz2");
    std::string twice;
    std::string problem;
    ASSERT_TRUE(Formats::Bunzip2(bytes + bytes, std::size_t(1) << 20, twice, problem)) << problem;
    EXPECT_EQ(twice, FileBytes("jalview_uniref50.fa") + FileBytes("jalview_uniref50.fa"));
}

TEST(ReaderCompression, DamagedOrOversizedDataIsRefusedWithItsKind) {
    const std::string bz2 = FileBytes("jalview_uniref50.fa.bz2");
    const std::string xz = FileBytes("jalview_uniref50.fa.xz");
    const std::size_t plainSize = FileBytes("jalview_uniref50.fa").size();
    const std::pair<std::string, std::string> cases[] = {
        {bz2.substr(0, bz2.size() / 2), "corrupt bzip2 data"},
        {xz.substr(0, xz.size() / 2), "corrupt xz data"},
        {xz.substr(0, 12) + std::string(40, 'x'), "xz"},
    };
    for (const auto& [bytes, fragment] : cases) {
        const auto result = ReadBytes(bytes);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error.message.find(fragment), std::string::npos) << result.error.ToString();
    }
    for (const std::string& bytes : {bz2, xz}) {
        const auto result = ReadBytes(bytes, plainSize - 1);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error.message.find("decompressed input larger than"), std::string::npos)
            << result.error.ToString();
    }
}

TEST(ReaderCompression, ArchivesAreRefusedByName) {
    const auto zip = ReadBytes(std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + std::string(30, '\0'));
    ASSERT_FALSE(zip.ok());
    EXPECT_EQ(zip.error.ToString(), "upload.txt: a zip archive, which is not read: unpack it first (unzip)");
    const auto zstd = ReadBytes(std::string("\x28\xB5\x2F\xFD\x00\x58", 6) + std::string(20, '\0'));
    ASSERT_FALSE(zstd.ok());
    EXPECT_NE(zstd.error.message.find("zstd"), std::string::npos) << zstd.error.ToString();
}

TEST(ReaderCompression, TextThatStartsLikeAMagicIsStillText) {
    // "BZh" alone is no bzip2 header: a SELEX row may be called that.
    const auto result = ReadBytes("BZh91 ACDEFG\nother ACDEFG\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Selex);
    EXPECT_EQ(Formats::DetectCompression("BZh91 ACDEFG"), Formats::Compression::None);
    EXPECT_EQ(Formats::DetectCompression(FileBytes("jalview_uniref50.fa.bz2")), Formats::Compression::Bzip2);
}
