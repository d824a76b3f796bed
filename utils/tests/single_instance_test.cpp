#include <gtest/gtest.h>

#include "test_support.h"
#include "utils/single_instance.h"

namespace {

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilRelease) {
  const std::wstring name = L"Test_" + Utils::NewGuidString();
  Utils::SingleInstanceLock first(name);
  first.Acquire();
  ASSERT_TRUE(first.Held());
  first.Acquire();  // again: nothing changes
  EXPECT_TRUE(first.Held());

  EXPECT_EQ(test::RunChild(L"lock " + name).exitCode, 1u);  // another process
  first.Release();
  EXPECT_FALSE(first.Held());
  EXPECT_EQ(test::RunChild(L"lock " + name).exitCode, 0u);

  Utils::SingleInstanceLock again(name);
  again.Acquire();
  EXPECT_TRUE(again.Held());
}

TEST(SingleInstanceLock, NameCarriesTheFixedPrefix) {
  Utils::SingleInstanceLock lock(L"Installer_Tarnvell");
  EXPECT_EQ(lock.FullName(), L"D1A547DB89C0BC61_Installer_Tarnvell");
}

}  // namespace
