// Randomised: a careless host drives renderers over random alignments. Every run is seeded; a failure or a
// crash names its seed, and MSARENDER_CARELESS_SEED=<seed> replays exactly that run.
// MSARENDER_CARELESS_RUNS=<n> runs more seeds (a longer soak than the suite's bounded one).

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CarelessHost.h"

#if defined(__has_include)
#if __has_include(<sanitizer/common_interface_defs.h>) && (defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__))
#include <sanitizer/common_interface_defs.h>
#define MSARENDER_HAS_SANITIZER_CALLBACK 1
#endif
#endif

namespace {

constexpr std::uint32_t kFirstSeed = 1;
constexpr int kRuns = 60;
constexpr int kStepsPerRun = 80;

// The seed of the run in progress, for reports written while the process dies.
volatile std::sig_atomic_t currentSeed = 0;

void WriteSeed() {
    char message[96];
    const int length = std::snprintf(
        message, sizeof message, "careless host: died in the run of seed %d (MSARENDER_CARELESS_SEED=%d)\n",
        int(currentSeed), int(currentSeed));
    if (length > 0) (void)!write(STDERR_FILENO, message, std::size_t(length));
}

void ReportSeedAndDie(int signalNumber) {
    WriteSeed();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Crashes do not reach gtest's assertions; these handlers say which seed to replay.
void ReportSeedOnCrash() {
#ifdef MSARENDER_HAS_SANITIZER_CALLBACK
    __sanitizer_set_death_callback(&WriteSeed);
#endif
    for (int signalNumber : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE}) std::signal(signalNumber, &ReportSeedAndDie);
}

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

void RunSeed(std::uint32_t seed, reliability::CarelessHost::Coverage& seen) {
    currentSeed = std::sig_atomic_t(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) +
                 " (replay with MSARENDER_CARELESS_SEED=" + std::to_string(seed) + ")");
    reliability::CarelessHost host(seed);
    host.Run(kStepsPerRun);
    seen.Add(host.Seen());
}

}  // namespace

// GIVEN random alignments (empty, ragged, hidden, null entries, structure of the wrong length) and a host
// that calls everything in any order with hostile values WHEN it drives renderers THEN nothing crashes, no
// sanitizer complains, and every answer is -1/empty/null or within the model and the pixmap limits.
TEST(CarelessHost, SurvivesRandomCallsOverRandomAlignments) {
    ReportSeedOnCrash();
    reliability::CarelessHost::Coverage seen;
    const long only = EnvNumber("MSARENDER_CARELESS_SEED", -1);
    if (only >= 0) {
        RunSeed(std::uint32_t(only), seen);
        return;
    }
    const long runs = EnvNumber("MSARENDER_CARELESS_RUNS", kRuns);
    for (long run = 0; run < runs && !HasFatalFailure(); ++run)
        RunSeed(kFirstSeed + std::uint32_t(run), seen);
    std::printf("careless host: %ld runs of %d steps: %s\n", runs, kStepsPerRun, seen.Summary().c_str());

    // The bounded run must reach the paths that matter, or passing proves little.
    EXPECT_GT(seen.viewsComposed, 0);
    EXPECT_GT(seen.rowsHit, 0);
    EXPECT_GT(seen.residuesHit, 0);
    EXPECT_GT(seen.coordinatesFound, 0);
    EXPECT_GT(seen.scrollsMoved, 0);
    EXPECT_GT(seen.exportsDrawn, 0);
    EXPECT_GT(seen.savablesDrawn, 0);
    EXPECT_GT(seen.viewsRebuilt, 0);
}
