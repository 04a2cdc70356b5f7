#include <gtest/gtest.h>

#include "format/config/database_path.h"
#include "format/config/path_parts.h"

namespace velmora::test {
namespace {

TEST(DatabasePathTest, LastExtensionIsReplacedOrMdbAppended) {
    EXPECT_EQ(deriveDatabasePath("E:\\in\\batch.dat", ""), "E:\\in\\batch.mdb");
    EXPECT_EQ(deriveDatabasePath("E:\\in\\batch.01.dat", ""), "E:\\in\\batch.01.mdb");
    EXPECT_EQ(deriveDatabasePath("E:\\in\\batch", ""), "E:\\in\\batch.mdb");
    EXPECT_EQ(deriveDatabasePath("in\\batch.dat", ""), "in\\batch.mdb");
    EXPECT_EQ(deriveDatabasePath("batch.dat", ""), "batch.mdb");
    // A dot first is no extension: the utility asks about the database the engine writes.
    EXPECT_EQ(deriveDatabasePath("E:\\in\\.hidden", ""), "E:\\in\\.hidden.mdb");
    EXPECT_EQ(deriveDatabasePath(".hidden.dat", ""), ".hidden.mdb");
}

TEST(DatabasePathTest, DotsInFoldersAreNotExtensions) {
    EXPECT_EQ(deriveDatabasePath("E:\\in.v2\\batch", ""), "E:\\in.v2\\batch.mdb");
    EXPECT_EQ(deriveDatabasePath("E:/in.v2/batch.dat", ""), "E:/in.v2/batch.mdb");
}

TEST(DatabasePathTest, OutputDatabaseWinsWhenGiven) {
    EXPECT_EQ(deriveDatabasePath("E:\\in\\batch.dat", "F:\\db\\out.mdb"), "F:\\db\\out.mdb");
}

TEST(PathPartsTest, SplitsLikeTheRuntime) {
    PathParts p = splitPath("E:\\in\\batch.01.dat");
    EXPECT_EQ(p.drive, "E:");
    EXPECT_EQ(p.folder, "\\in\\");
    EXPECT_EQ(p.name, "batch.01");
    EXPECT_EQ(p.extension, ".dat");

    p = splitPath("E:batch");
    EXPECT_EQ(p.drive, "E:");
    EXPECT_EQ(p.folder, "");
    EXPECT_EQ(p.name, "batch");
    EXPECT_EQ(p.extension, "");

    p = splitPath("\\\\server\\share\\.profile");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.folder, "\\\\server\\share\\");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.extension, ".profile");
}

}  // namespace
}  // namespace velmora::test
