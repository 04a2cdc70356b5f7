#include <gtest/gtest.h>

#include "src/headless/memory_registry.h"
#include "src/parse/registry_string.h"

namespace velmora::test {
namespace {

const char* const kKey = "HKEY_LOCAL_MACHINE\\Software\\Velmora\\TarnParser";
const char* const kPath = "HKEY_LOCAL_MACHINE\\Software\\Velmora\\TarnParser\\InstallDirectory";

class RegistryStringTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(registry.openKeyCount(), 0u); }
    MemoryRegistry registry;
};

TEST_F(RegistryStringTest, ReadsTheTextWithoutItsTerminatingZeroForReadingOnly) {
    registry.setString(kKey, "InstallDirectory", "D:\\Tools\\");
    EXPECT_EQ(readRegistryString(registry, kPath), "D:\\Tools\\");
    ASSERT_FALSE(registry.calls.empty());
    EXPECT_EQ(registry.calls[0].what, "open");
    EXPECT_EQ(registry.calls[0].access, RegistryAccess::Read);
    EXPECT_EQ(registry.calls.back().what, "close");
}

TEST_F(RegistryStringTest, RootNamesIgnoreCaseOthersFail) {
    registry.setString(kKey, "InstallDirectory", "X\\");
    EXPECT_EQ(readRegistryString(registry, "hkey_local_machine\\Software\\Velmora\\TarnParser\\InstallDirectory"),
              "X\\");
    EXPECT_EQ(readRegistryString(registry, "HKLM\\Software\\Velmora\\TarnParser\\InstallDirectory"), "");
    EXPECT_EQ(readRegistryString(registry, ""), "");
}

TEST_F(RegistryStringTest, ValueWithoutTerminatingZeroLosesItsLastByte) {
    registry.setValue(kKey, "InstallDirectory", "D:\\Tools\\");
    EXPECT_EQ(readRegistryString(registry, kPath), "D:\\Tools");
    registry.setValue(kKey, "InstallDirectory", "");
    EXPECT_EQ(readRegistryString(registry, kPath), "");
}

TEST_F(RegistryStringTest, EveryFailureGivesAnEmptyTextAndClosesTheKey) {
    EXPECT_EQ(readRegistryString(registry, kPath), "");  // no key
    registry.addKey(kKey);
    EXPECT_EQ(readRegistryString(registry, kPath), "");  // no value
    registry.setString(kKey, "InstallDirectory", "D:\\");
    registry.refuseSizeQuery.insert("InstallDirectory");
    EXPECT_EQ(readRegistryString(registry, kPath), "");
    registry.refuseSizeQuery.clear();
    registry.refuseDataQuery.insert("InstallDirectory");
    EXPECT_EQ(readRegistryString(registry, kPath), "");
    registry.refuseOpen.insert(kKey);
    EXPECT_EQ(readRegistryString(registry, kPath), "");
}

}  // namespace
}  // namespace velmora::test
