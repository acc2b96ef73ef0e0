#include <gtest/gtest.h>

#include <QLocale>
#include <cwchar>
#include <set>
#include <thread>

#include "common/Color.h"
#include "common/PerformanceTimer.h"
#include "qtcommon/QFormat.h"
#include "sqv/UserProperties.h"

namespace {

// ---- Performance timers
// ------------------------------------------------------------------------------------

class PerformanceManagerTest : public ::testing::Test {
protected:
    void SetUp() override { Common::PerformanceManager::Instance().Reset(); }
    void TearDown() override { Common::PerformanceManager::Instance().Reset(); }
};

TEST_F(PerformanceManagerTest, RecordsCountTotalAndLongestPerName) {
    auto& manager = Common::PerformanceManager::Instance();
    using std::chrono::nanoseconds;
    manager.Record(Common::PerformanceManager::Renderer, std::wstring(L"[A]"), nanoseconds(300));
    manager.Record(Common::PerformanceManager::Renderer, L"[A]", nanoseconds(500));
    manager.Record(Common::PerformanceManager::Renderer, L"[A]", nanoseconds(200));
    manager.Record(Common::PerformanceManager::Application, L"[B]", nanoseconds(7));
    const auto a = manager.Get(L"[A]");
    EXPECT_EQ(a.count, 3u);
    EXPECT_EQ(a.total, nanoseconds(1000));
    EXPECT_EQ(a.longest, nanoseconds(500));
    EXPECT_EQ(manager.Get(L"[B]").count, 1u);
    EXPECT_EQ(manager.Get(L"[never]").count, 0u);
    EXPECT_EQ(manager.All().size(), 2u);
}

TEST_F(PerformanceManagerTest, ScopedTimerRecordsItsLifetime) {
    {
        Common::PerformanceTimer timer(Common::PerformanceManager::Renderer, L"[RenderSequenceData::Render]",
                                       nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    {
        Common::PerformanceTimer timer(Common::PerformanceManager::Renderer, L"[RenderSequenceData::Render]",
                                       L"x");
    }
    const auto stats = Common::PerformanceManager::Instance().Get(L"[RenderSequenceData::Render]");
    EXPECT_EQ(stats.count, 2u);
    EXPECT_GE(stats.longest, std::chrono::milliseconds(2));
    EXPECT_GE(stats.total, stats.longest);
}

TEST_F(PerformanceManagerTest, ResetForgetsCachedNames) {
    auto& manager = Common::PerformanceManager::Instance();
    manager.Record(Common::PerformanceManager::Renderer, L"[A]", std::chrono::nanoseconds(5));
    manager.Reset();
    manager.Record(Common::PerformanceManager::Renderer, L"[A]", std::chrono::nanoseconds(5));
    EXPECT_EQ(manager.Get(L"[A]").count, 1u);
}

TEST_F(PerformanceManagerTest, AReusedNameBufferIsRecordedUnderItsNewName) {
    auto& manager = Common::PerformanceManager::Instance();
    wchar_t buffer[8] = L"[one]";
    manager.Record(Common::PerformanceManager::Renderer, static_cast<const wchar_t*>(buffer),
                   std::chrono::nanoseconds(1));
    std::wcscpy(buffer, L"[two]");
    manager.Record(Common::PerformanceManager::Renderer, static_cast<const wchar_t*>(buffer),
                   std::chrono::nanoseconds(1));
    EXPECT_EQ(manager.Get(L"[one]").count, 1u);
    EXPECT_EQ(manager.Get(L"[two]").count, 1u);
}

TEST_F(PerformanceManagerTest, ReportHasOneLinePerTimer) {
    auto& manager = Common::PerformanceManager::Instance();
    manager.Record(Common::PerformanceManager::Renderer, L"[Render]", std::chrono::milliseconds(3));
    manager.Record(Common::PerformanceManager::Renderer, L"[Render]", std::chrono::milliseconds(1));
    const std::string report = manager.Report();
    EXPECT_NE(report.find("[Render]"), std::string::npos);
    EXPECT_NE(report.find(" 2 "), std::string::npos) << report;
    EXPECT_NE(report.find("4.000"), std::string::npos) << report;  // total
    EXPECT_NE(report.find("3.000"), std::string::npos) << report;  // longest
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << "a header and one timer";
}

// ---- Number formatting
// -------------------------------------------------------------------------------------

class QFormatTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(QFormatTest, IntegersGetTheLocalesDigitGrouping) {
    EXPECT_EQ(QString(QtCommon::QFormat("%L1", true).arg(1234567, 0, 10, QChar(' '))),
              QStringLiteral("1,234,567"));
    EXPECT_EQ(QString(QtCommon::QFormat("%L1", true).arg(999, 0, 10, QChar(' '))), QStringLiteral("999"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(QString(QtCommon::QFormat("%L1", true).arg(1234567, 0, 10, QChar(' '))),
              QStringLiteral("1.234.567"));
}

TEST_F(QFormatTest, WithoutLocalisationThereIsNoGrouping) {
    EXPECT_EQ(QString(QtCommon::QFormat("%L1", false).arg(1234567)), QStringLiteral("1234567"));
}

TEST_F(QFormatTest, DoublesInENotationWithPrecision) {
    const QtCommon::QFormat format("%L1", true);
    EXPECT_EQ(QString(format.arg(123456.0, 0, 'e', 2, QChar(' '))), QStringLiteral("1.23e+05"));
    EXPECT_EQ(QString(format.arg(123456.0, 0, 'e', 1, QChar(' '))), QStringLiteral("1.2e+05"));
    EXPECT_EQ(QString(format), QStringLiteral("%L1")) << "arg returns a new formatter";
}

TEST_F(QFormatTest, ENotationUsesTheLocalesDecimalPoint) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(QString(QtCommon::QFormat("%L1", true).arg(123456.0, 0, 'e', 2, QChar(' '))),
              QStringLiteral("1,23e+05"));
}

// ---- Property store and colours
// ----------------------------------------------------------------------------

TEST(UserPropertiesTest, TypedReadsLeaveTheOutputAloneWhenAbsentOrMistyped) {
    SQC::UserPropertiesBase store;
    int number = 42;
    EXPECT_FALSE(store.GetIntProperty("k", number));
    EXPECT_EQ(number, 42);
    store.SetColorProperty("k", 0xFF0000FFu);
    EXPECT_FALSE(store.GetIntProperty("k", number));
    EXPECT_EQ(number, 42);
    unsigned color = 0;
    EXPECT_TRUE(store.GetColorProperty("k", color));
    EXPECT_EQ(color, 0xFF0000FFu) << "the full 32 bits survive";
    store.SetIntProperty("k", -5);
    EXPECT_TRUE(store.GetIntProperty("k", number));
    EXPECT_EQ(number, -5);
    std::string text;
    store.SetStringProperty("s", "hello");
    EXPECT_TRUE(store.GetStringProperty("s", text));
    EXPECT_EQ(text, "hello");
    store.RemoveProperty("s");
    EXPECT_FALSE(store.HasProperty("s"));
}

TEST(UserPropertiesTest, KeysAreDistinct) {
    const std::set<std::string> keys = {
        SQC::UserProperties::FontChanged,     SQC::UserProperties::WVFitToWidthValueKey,
        SQC::UserProperties::SSHelixColorKey, SQC::UserProperties::SSSheetColorKey,
        SQC::UserProperties::SSCoilColorKey,  SQC::UserProperties::SSGapColorKey,
        SQC::UserProperties::RulerDragOffset, SQC::UserProperties::CurrSeqIndex};
    EXPECT_EQ(keys.size(), 8u);
    EXPECT_EQ(keys.count(std::string()), 0u);
}

TEST(UserPropertiesTest, DefaultStructureColoursAreDistinctAndSetForEveryKind) {
    SQC::UserPropertiesBase store;
    SQC::SetDefaultStructureColours(store);
    std::set<unsigned> colours;
    for (const std::string* key :
         {&SQC::UserProperties::SSHelixColorKey, &SQC::UserProperties::SSSheetColorKey,
          &SQC::UserProperties::SSCoilColorKey, &SQC::UserProperties::SSGapColorKey}) {
        unsigned colour = 0;
        ASSERT_TRUE(store.GetColorProperty(*key, colour)) << *key;
        colours.insert(colour);
    }
    EXPECT_EQ(colours.size(), 4u);
    // A helix is drawn red: red dominates its packed channels (red in the low byte).
    unsigned helix = 0;
    store.GetColorProperty(SQC::UserProperties::SSHelixColorKey, helix);
    const Common::Color c = Common::Color::FromPacked(helix);
    EXPECT_GT(c.Red(), 2 * c.Green());
    EXPECT_GT(c.Red(), 2 * c.Blue());
}

TEST(UserPropertiesTest, GapCharacters) {
    for (char gap : {'-', '.', ' ', '~'}) EXPECT_TRUE(SQC::SequenceConstants::IsGap(gap)) << gap;
    for (char residue : {'A', 'x', '*', '0'}) EXPECT_FALSE(SQC::SequenceConstants::IsGap(residue)) << residue;
}

TEST(ColorTest, RedLivesInTheLowByte) {
    const Common::Color color(0x11, 0x22, 0x33, 0x44);
    EXPECT_EQ(color.Packed(), 0x44332211u);
    EXPECT_EQ(Common::Color::FromArgb(0x44112233u), color);
    EXPECT_EQ(Common::Color::FromPacked(0x44332211u), color);
    EXPECT_EQ(Common::Color().Packed(), 0xFF000000u) << "default is opaque black";
}

}  // namespace
