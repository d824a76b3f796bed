#include <gtest/gtest.h>

#include <string>

#include "utils/format.h"
#include "utils/log.h"

namespace {

using Utils::detail::ComposeLogLine;
using Utils::detail::LogStamp;

const LogStamp kStamp{4711, 5012, 2021, 3, 4, 9, 8, 7, 6};

TEST(LogLine, PrefixFieldsAreZeroPaddedAndMessageFollows) {
  EXPECT_EQ(ComposeLogLine(kStamp, L"Utils::Thread::CallBack", 101, true, L"THREAD BEGIN"),
            L"<P04711><T05012><2021-03-04 09:08:07.006>(Utils::Thread::CallBack)<0101>: THREAD BEGIN\r\n");
}

TEST(LogLine, WideFieldsAreNeverCut) {
  const LogStamp big{1234567, 99999999, 2021, 12, 31, 23, 59, 59, 999};
  EXPECT_EQ(ComposeLogLine(big, L"F", 123456, false, L"x"),
            L"<P1234567><T99999999><2021-12-31 23:59:59.999>(F)<123456>: x");
}

TEST(LogLine, MessageWithoutLineEndEndsRightAfterIt) {
  EXPECT_EQ(ComposeLogLine(kStamp, L"Utils::CheckNetwork", 7, false, L"get_IsConnectedToInternet:%d", 0),
            L"<P04711><T05012><2021-03-04 09:08:07.006>(Utils::CheckNetwork)<0007>: get_IsConnectedToInternet:0");
}

TEST(LogLine, PercentAndVerbatimMessages) {
  const std::wstring prefix = L"<P04711><T05012><2021-03-04 09:08:07.006>(F)<0001>: ";
  EXPECT_EQ(ComposeLogLine(kStamp, L"F", 1, false, L"%d%%", 50), prefix + L"50%");
  EXPECT_EQ(ComposeLogLine(kStamp, L"F", 1, false, L"no directives here"), prefix + L"no directives here");
  EXPECT_EQ(ComposeLogLine(kStamp, L"F", 1, false, L" %dM %dM   progress:%f%%  speed:%f \n", 1, 2, 50.0, 1.5),
            prefix + L" 1M 2M   progress:50.000000%  speed:1.500000 \n");
}

TEST(LogLine, RuntimeTextIsAnArgumentNotAFormat) {
  // A percent sign inside an argument is printed as it is.
  EXPECT_EQ(ComposeLogLine(kStamp, L"F", 1, false, L"url=%s", std::wstring(L"http://h/%d%s")),
            L"<P04711><T05012><2021-03-04 09:08:07.006>(F)<0001>: url=http://h/%d%s");
}

TEST(LogLine, MismatchedArgumentsDropTheLineInsteadOfCrashing) {
  EXPECT_NO_THROW(UTILS_LOG(L"%d", std::wstring(L"not a number")));
  EXPECT_NO_THROW(UTILS_LOG(L"%s %s", 1));
}

struct PrettyCase {
  const char* pretty;
  const wchar_t* expected;
};

class QualifiedName : public ::testing::TestWithParam<PrettyCase> {};

TEST_P(QualifiedName, KeepsOnlyTheQualifiedName) {
  EXPECT_EQ(Utils::detail::QualifiedFunctionName(GetParam().pretty), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Compilers, QualifiedName,
    ::testing::Values(
        PrettyCase{"static void Utils::Thread::CallBack(Utils::Thread*)", L"Utils::Thread::CallBack"},
        PrettyCase{"uint32_t Utils::CheckNetwork()", L"Utils::CheckNetwork"},
        PrettyCase{"void CDownloadInstaller::Start()", L"CDownloadInstaller::Start"},
        PrettyCase{"Utils::Thread::Thread(void*, std::wstring, Body)", L"Utils::Thread::Thread"},
        PrettyCase{"int main()", L"main"},
        PrettyCase{"const std::vector<int>& ns::Cls<T>::Get(int) const [with T = int]", L"ns::Cls<T>::Get"},
        PrettyCase{"CDownloadInstaller::Start()::<lambda(int, double, const wstring&)>",
                   L"CDownloadInstaller::Start::<lambda>"},
        PrettyCase{"void __cdecl CDownloadInstaller::Start(void)", L"CDownloadInstaller::Start"},
        PrettyCase{"bool ns::operator<(const A&, const A&)", L"ns::operator<"},
        PrettyCase{"void {anonymous}::Helper::Run()", L"Helper::Run"}));

TEST(LogMacro, NamesTheEnclosingFunction) {
  static const Utils::detail::FunctionName here(UTILS_PRETTY_FUNCTION);
  EXPECT_NE(here.get().find(L"LogMacro_NamesTheEnclosingFunction_Test::TestBody"), std::wstring::npos)
      << Utils::WideToUtf8(here.get());
}

TEST(Format, PercentSTakesNarrowAndWideStringsInBothFlavours) {
  const std::string narrow = "中文";
  const std::wstring wide = L"中文";
  EXPECT_EQ(Utils::FormatW(L"%s|%s|%s|%s", narrow, wide, "abc", L"def"), L"中文|中文|abc|def");
  EXPECT_EQ(Utils::Format("%s|%s|%s|%s", narrow, wide, "abc", L"def"), "中文|中文|abc|def");
}

TEST(Format, ClassicDirectives) {
  EXPECT_EQ(Utils::FormatW(L"%.3d %05d %02x %08X %04x %ld %g", 7, 42, 10, 0xABCDEFu, 0xBEEFu, 123456L, 0.5),
            L"007 00042 0a 00ABCDEF beef 123456 0.5");
}

TEST(Format, NullPointersPrintAsNull) {
  const char* narrow = nullptr;
  const wchar_t* wide = nullptr;
  EXPECT_EQ(Utils::FormatW(L"%s %s", narrow, wide), L"(null) (null)");
}

TEST(Format, WrongArgumentKindThrowsInsteadOfReadingGarbage) {
  EXPECT_THROW(Utils::FormatW(L"%d", std::wstring(L"x")), fmt::format_error);
}

}  // namespace
