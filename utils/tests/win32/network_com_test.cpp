// The network probe with COM initialised, as the installer's network-check
// thread calls it: the real network list manager answers.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "utils/network.h"

namespace {

TEST(CheckNetworkWin32, AnswersWithComInitialised) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const uint32_t answer = Utils::CheckNetwork();
  CoUninitialize();
  EXPECT_LE(Utils::NetworkFindingOf(answer), 2u);
  if (Utils::NetworkFindingOf(answer) == Utils::kNetworkNoConnectivity) {
    EXPECT_EQ(Utils::ConnectivityFlagsOf(answer), 0u);
  }
}

}  // namespace
