// Replays every input the reader fuzzers ever found crashing or hanging (fuzz/regressions/<target>/) through
// the same reading and checks as the fuzz targets, so that a fixed reader stays fixed.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "FuzzRead.h"

namespace {

namespace fs = std::filesystem;

const std::map<std::string, Formats::Format>& Targets() {
    static const std::map<std::string, Formats::Format> targets{{"fasta", Formats::Format::Fasta},
                                                                {"clustal", Formats::Format::Clustal},
                                                                {"stockholm", Formats::Format::Stockholm},
                                                                {"phylip", Formats::Format::Phylip},
                                                                {"pir", Formats::Format::Pir},
                                                                {"msf", Formats::Format::Msf},
                                                                {"nexus", Formats::Format::Nexus},
                                                                {"selex", Formats::Format::Selex},
                                                                {"detect", Formats::Format::Auto}};
    return targets;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

// Hangs were found with a 10 s limit per input; a replay taking a second means the fix was lost.
TEST(FuzzRegressions, EveryFoundInputIsReadOrRefusedSoundlyAndQuickly) {
    const fs::path root = fs::path(MSARENDER_SOURCE_DIR) / "fuzz" / "regressions";
    ASSERT_TRUE(fs::is_directory(root)) << root;
    int replayed = 0;
    for (const fs::directory_entry& directory : fs::directory_iterator(root)) {
        if (!directory.is_directory()) continue;
        const auto target = Targets().find(directory.path().filename().string());
        ASSERT_NE(target, Targets().end()) << "no fuzz target is called " << directory.path().filename();
        for (const fs::directory_entry& file : fs::directory_iterator(directory.path())) {
            SCOPED_TRACE(file.path().string());
            const std::string text = Bytes(file.path());
            const auto start = std::chrono::steady_clock::now();
            const Formats::ReadResult result = FuzzRead::Read(text, target->second);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            EXPECT_EQ(FuzzRead::BrokenInvariant(text, target->second, result), "");
            ++replayed;
        }
    }
    if (replayed == 0) GTEST_SKIP() << "the fuzz runs have found no crashing or hanging input yet";
}
