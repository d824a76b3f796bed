// Enumeration texts, the A/B value check, context properties, paths,
// identity, logger and the system texts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "system_texts.h"
#include "test_support.h"
#include "tracker/kv_context_properties.h"
#include "tracker/kv_exception.h"
#include "tracker/kv_types.h"
#include "tracker/track_logger.h"
#include "tracker_identity.h"
#include "tracker_paths.h"
#include "utils/profile.h"
#include "utils/text.h"

using namespace kelvo::tracker;
using tracker_test::Join;
using tracker_test::MakeTempDir;

namespace {

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const KvException& e) {
    return e.what();
  }
  return "<no exception>";
}

}  // namespace

TEST(EnumTexts, KnownValuesAndErrors) {
  EXPECT_EQ(toString(KvResult::Cancelled), "Cancelled");
  EXPECT_EQ(toString(KvEventType::AppOpenNotification), "AppOpenNotification");
  EXPECT_EQ(toString(KvEventType::PaLaunchPal), "PaLaunchPal");
  EXPECT_EQ(toString(KvEdition::Overseas), "overseas");
  EXPECT_EQ(toString(ClickType::Others), "Others");
  EXPECT_EQ(toString(KvCurrency::GBP), "GBP");
  EXPECT_EQ(toString(KvPaidPlatform::ChinaUnionPay), "ChinaUnionPay");
  EXPECT_EQ(toString(KvIapType::NonRenewable), "NonRenewable");
  EXPECT_EQ(toString(KvUpdateOp::UpgrateEnd), "UpgrateEnd");
  EXPECT_EQ(toString(KvUpdateResult::Updateable), "Updateable");
  EXPECT_EQ(toString(KvUserType::facebook), "facebook");

  struct Case {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[] { toString(static_cast<KvResult>(4)); }, "Unknown task result [4]!"},
      {[] { toString(static_cast<KvEventType>(15)); }, "Unknown Event [15]!"},
      {[] { toString(static_cast<KvEdition>(2)); }, "Unknown edition [2]!"},
      {[] { toString(static_cast<ClickType>(-1)); }, "Unknown ClickType [-1]!"},
      {[] { toString(static_cast<KvIoType>(2)); }, "the io type is invalid"},
      {[] { toString(static_cast<KvCurrency>(11)); }, "Unknown currency [11]!"},
      {[] { toString(static_cast<KvPaidPlatform>(10)); }, "Unknown paid platform [10]!"},
      {[] { toString(static_cast<KvIapType>(4)); }, "Unknown kvIapType [4]!"},
      {[] { toString(static_cast<KvUpdateOp>(5)); }, "Unknown KvUpdateOp [5]!"},
      {[] { toString(static_cast<KvUpdateResult>(6)); }, "Unknown KvUpdateResult [6]!"},
      {[] { toString(static_cast<KvUserType>(12)); }, "Unknown user type [12]!"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.call), c.message);
}

TEST(AbValue, CheckTable) {
  for (const char* valid : {"IN", "A", "AB1", "A1", "B2C"}) {
    EXPECT_TRUE(KvContextProperties::isValidABValue(valid)) << valid;
  }
  EXPECT_FALSE(KvContextProperties::isValidABValue(""));
  struct Case {
    const char* value;
    const char* message;
  } cases[] = {
      {"in", "First char is not in A to Z"},
      {"1A", "First char is not in A to Z"},
      {"Ab", "second char is not in A to Z and 0 to 9"},
      {"AB-", "third char is not in A to Z and 0 to 9"},
      {"ABCD", "value's length is great than 3."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf([&] { KvContextProperties::isValidABValue(c.value); }), c.message) << c.value;
  }
}

TEST(ContextProperties, RegistersPerKindOnceAndChecksKinds) {
  KvContextProperties props;
  props.setProperty({KvEventType::Click, KvEventType::Task}, "IN");
  ASSERT_EQ(props.getEventProperties(KvEventType::Click).size(), 1u);
  EXPECT_EQ(props.getEventProperties(KvEventType::Click)[0].first, "kvc_ab");
  EXPECT_EQ(props.getEventProperties(KvEventType::Task)[0].second, "IN");
  EXPECT_TRUE(props.getEventProperties(KvEventType::View).empty());
  EXPECT_EQ(ErrorOf([&] { props.setProperty({KvEventType::View}, "IN"); }),
            "Property[kvc_ab] already exist!");
  EXPECT_EQ(ErrorOf([&] { props.getEventProperties(static_cast<KvEventType>(15)); }),
            "KvEvent[15] overflow!");

  // Kinds before the overflowing one keep their entry.
  KvContextProperties partial;
  EXPECT_EQ(ErrorOf([&] {
              partial.setProperty({KvEventType::View, static_cast<KvEventType>(15)}, "A1");
            }),
            "KvEvent[15] overflow!");
  EXPECT_EQ(partial.getEventProperties(KvEventType::View).size(), 1u);
}

TEST(TrackerPathsTest, PointerFileRedirectsIdentityAndDataFolder) {
  const std::wstring dir = MakeTempDir(L"paths");
  const std::wstring exe = Join(dir, L"setup.exe");
  EXPECT_EQ(ReadPointerFileCandidate(exe), L"");  // no Set.ini

  const std::wstring target = Join(Join(dir, L"data"), L"deep") ;
  // Written with forward slashes as a Windows user would; both separators
  // become the platform's.
  std::wstring written = target + L"/x.ini";
  ASSERT_TRUE(Utils::Profile::WriteString(L"Install", L"KVAnalyticsIni", written, Join(dir, L"Set.ini")));
  const std::wstring candidate = ReadPointerFileCandidate(exe);
  EXPECT_EQ(candidate, Join(target, L"x.ini"));

  const TrackerPaths p = ResolveTrackerPaths(L"App", candidate);
  EXPECT_EQ(p.identityFile, Join(target, L"x.ini"));
  EXPECT_EQ(p.dataFolder, target + Utils::kPathSeparator);
  EXPECT_TRUE(Utils::IsDirectory(target));
  EXPECT_EQ(p.logFile, Join(target, L"App_KVSLog.txt"));
  EXPECT_EQ(p.stagingFile.rfind(p.dataFolder, 0), 0u);
}

TEST(TrackerPathsTest, DefaultFolderUnderLocalAppData) {
  // A candidate without any separator selects the default folder.
  const TrackerPaths p = ResolveTrackerPaths(L"Tarnvell.downloader", L"plain.ini");
  const std::wstring expectedFolder =
      Join(Join(DefaultBaseFolder(), L"KVLocal"), L"Tarnvell.downloader") + Utils::kPathSeparator;
  EXPECT_EQ(p.dataFolder, expectedFolder);
  EXPECT_TRUE(Utils::IsDirectory(p.dataFolder));
  EXPECT_EQ(p.identityFile, expectedFolder + L"Tarnvell.downloader_KVSConfigure.ini");
  EXPECT_EQ(p.logFile, expectedFolder + L"Tarnvell.downloader_KVSLog.txt");
}

TEST(Identity, FirstRunResetAndKeep) {
  const std::wstring file = Join(MakeTempDir(L"identity"), L"id.ini");
  TrackerIdentity id = LoadIdentity(file);
  EXPECT_FALSE(id.distinctId.empty());
  EXPECT_TRUE(ResetIdentityForUrl(id, "http://127.0.0.1:1/sa?project=pc", file));
  EXPECT_EQ(id.distinctId, id.primaryDistinctId);
  ASSERT_EQ(id.distinctId.size(), 36u);
  EXPECT_EQ(id.distinctId.find_first_of("abcdef"), std::string::npos);
  EXPECT_EQ(id.distinctId[8], '-');
  EXPECT_EQ(id.distinctId[23], '-');

  const TrackerIdentity stored = LoadIdentity(file);
  EXPECT_EQ(stored.distinctId, id.distinctId);
  EXPECT_EQ(stored.url, "http://127.0.0.1:1/sa?project=pc");
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"isLogined", L"", 128, file), L"NG");
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"UserId", L"?", 128, file), L"");

  // A logged-in identity survives the same URL and is dropped for another.
  TrackerIdentity logged = stored;
  logged.userId = "user-7";
  logged.distinctId = "user-7";
  logged.isLogined = true;
  logged.userVipLevel = 3;
  WriteIdentity(file, logged);
  TrackerIdentity again = LoadIdentity(file);
  EXPECT_FALSE(ResetIdentityForUrl(again, "http://127.0.0.1:1/sa?project=pc", file));
  EXPECT_TRUE(again.isLogined);
  EXPECT_EQ(again.userVipLevel, 3);
  EXPECT_TRUE(ResetIdentityForUrl(again, "http://127.0.0.1:2/sa?project=pc", file));
  EXPECT_EQ(again.userId, "");
  EXPECT_FALSE(again.isLogined);
  EXPECT_EQ(again.distinctId, stored.primaryDistinctId);
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"isLogined", L"", 128, file), L"NG");
}

TEST(Identity, WriteOrderAndApplicationRecord) {
  const std::wstring file = Join(MakeTempDir(L"order"), L"id.ini");
  TrackerIdentity id;
  id.distinctId = "D";
  id.primaryDistinctId = "P";
  id.url = "U";
  WriteIdentity(file, id);
  WriteApplicationRecord(file, "store", "name", "1.0");
  const std::string text = tracker_test::ReadText(file);
  const char* keys[] = {"DistinctId=D", "PrimaryDistinctId=P", "UserId=", "UserVipLevel=0",
                        "URL=U", "isLogined=NG", "[UninstallInfo]", "AppStore=store",
                        "AppName=name", "AppVersion=1.0"};
  size_t at = 0;
  for (const char* key : keys) {
    const size_t found = text.find(key, at);
    ASSERT_NE(found, std::string::npos) << key << " in\n" << text;
    at = found;
  }
}

TEST(Logger, OpenCreatesFileAndKeepsFirstStream) {
  const std::wstring file = Join(MakeTempDir(L"logger"), L"App_KVSLog.txt");
  const std::string path = Utils::WideToUtf8(file);
  NativeTrackLogger logger;
  EXPECT_EQ(logger.position(), -1);
  EXPECT_FALSE(logger.isOpen());
  logger.Open(path);
  EXPECT_TRUE(logger.isOpen());
  EXPECT_EQ(logger.position(), 0);
  EXPECT_TRUE(Utils::PathExists(file));
  logger.Open(path);  // same path: untouched
  EXPECT_TRUE(logger.isOpen());
  EXPECT_EQ(logger.path(), path);

  NativeTrackLogger broken;
  broken.Open(Utils::WideToUtf8(Join(Join(MakeTempDir(L"logger2"), L"missing"), L"x.txt")));
  EXPECT_FALSE(broken.isOpen());  // nothing reported, the logger still exists
}

TEST(SystemTexts, WindowsVersionTable) {
  struct Case {
    unsigned major, minor, build;
    bool serverR2, is64;
    const char* text;
  } cases[] = {
      {5, 0, 2195, false, false, "2K"},      {5, 1, 2600, false, false, "XP"},
      {5, 2, 3790, false, true, "XP64"},     {5, 2, 3790, true, false, "Server 2003 R2"},
      {5, 2, 3790, false, false, "Server 2003"}, {5, 3, 0, false, false, "XP+"},
      {6, 0, 6002, false, true, "Vista64"},  {6, 0, 6002, false, false, "Vista"},
      {6, 1, 7601, false, true, "7"},        {6, 1, 7601, false, false, "7-32"},
      {6, 2, 9200, false, true, "8"},        {6, 2, 9200, false, false, "8-32"},
      {6, 3, 9600, false, false, "8.1"},     {6, 4, 9800, false, false, "8.1+"},
      {10, 0, 19045, false, true, "10"},     {10, 0, 22621, false, true, "11"},
      {10, 1, 0, false, true, "11+"},        {7, 2, 1234, false, true, "7.2.1234"},
      {4, 0, 1381, false, false, "XP-"},
  };
  for (const Case& c : cases) {
    Utils::WindowsVersionNumbers v;
    v.major = c.major;
    v.minor = c.minor;
    v.build = c.build;
    v.serverR2 = c.serverR2;
    EXPECT_EQ(WindowsVersionText(v, c.is64), c.text) << c.major << "." << c.minor;
  }
  EXPECT_EQ(UserAgent("Windows", "11", true), "Mozilla/5.0(Windows 11; Win64;)");
  EXPECT_EQ(UserAgent("Windows", "7-32", false), "Mozilla/5.0(Windows 7-32; Win32;)");
  EXPECT_FALSE(OsName().empty());
}

TEST(SystemTexts, LocaleAndNormalisation) {
  const LocaleTexts t = ComputeLocaleTexts("zh_CN");
  EXPECT_EQ(t.language, "zh");
  EXPECT_EQ(t.country, "CN");
  EXPECT_EQ(t.locale, "zh_CN");
  // Without "_" the system's values decide: all three or none.
  const LocaleTexts s = ComputeLocaleTexts("zh");
  EXPECT_EQ(s.locale.empty(), s.language.empty());
  if (!s.language.empty()) {
    EXPECT_EQ(s.locale, s.language + "_" + s.country);
  }

  EXPECT_TRUE(IsStrictUtf8("\xE5\xAE\x89\xE8\xA3\x85 ok\t\r\n"));
  EXPECT_FALSE(IsStrictUtf8("a\x01"));
  EXPECT_FALSE(IsStrictUtf8("\xE5\xAE"));  // cut off
  EXPECT_FALSE(IsStrictUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_EQ(NormaliseText("\xE5\xAE\x89"), "\xE5\xAE\x89");
  EXPECT_TRUE(IsStrictUtf8(NormaliseText("\xB0\xB2")));  // ANSI text becomes UTF-8
}
