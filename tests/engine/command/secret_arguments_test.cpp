// A password given anywhere but after --odbc, or mistyped, is refused and
// never shown nor made into a file's name.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "engine/command/engine_main.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

TEST(SecretArgumentsTest, APasswordInTheWrongPlaceIsRefusedUnshownAndNeverAFile) {
    ScratchFolder folder;
    folder.write("d.dat", "#NBOB|");
    folder.write("c.cfg", configText("", "|", {field("Name", "START_CODE", "#N", "NONE", "", "TEXT_FIELD")}));
    const std::string data = folder.path("d.dat"), config = folder.path("c.cfg"), results = folder.path("r.txt");
    // A connection string as a path in the scratch folder, so that a file
    // made of it would be found there.
    const std::string secret = "s3cr3tW0rd";
    const std::string asPath = folder.path("DSN=x;PWD=" + secret);
    const std::vector<std::vector<std::string>> mistakes = {
        {"-o", results, "--obdc", asPath, data, config},  // a mistyped option: the string became the data file
        {"-o", results, "-d", asPath, data, config},
        {"-o", results, asPath, config},
        {"-o", results, data, asPath},
        {"-o", asPath, data, config},
        {"-o", results, "--odbc=DSN=x;PWD=" + secret, data, config},
        {"-o", results, "--odbc", "DSN=x", "--table", "t;Password=" + secret, data, config},
        {"-o", results, data, folder.path("x;pqopt={sslmode=require password=" + secret + "}")},
        {"-o", results, data, config, "DSN=x;pwd={" + secret + "}"},
        {"--suggest", folder.path("pwd = " + secret)},
    };
    for (const auto& args : mistakes) {
        std::ostringstream console, errors;
        EXPECT_EQ(parseTarnMain(args, console, {}, errors), 2) << args[2];
        for (const std::string& shown : {console.str(), errors.str(), folder.read("r.txt")})
            EXPECT_EQ(shown.find(secret), std::string::npos) << args[2] << "\n" << shown;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            EXPECT_EQ(entry.path().string().find(secret), std::string::npos) << args[2];
        std::filesystem::remove(results);
    }
}

}  // namespace
}  // namespace velmora::test
