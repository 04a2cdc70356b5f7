#pragma once
// Real files for the tests that need them, natively and under Wine alike: a
// scratch folder of the test's own, whole files read and written, and the
// example files in tests/data that every test shares.
#include <string>
#include <vector>

namespace velmora::test {

// A fresh folder under the system's temporary folder, named `name` (blanks
// and all) and a number, removed with everything in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name = "velmora");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, without a final separator, and a file in it (`name` may
    // hold a subfolder), in the platform's own form: C:\...\x on Windows.
    const std::string& path() const { return root_; }
    std::string path(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    std::vector<std::string> names() const;  // sorted

private:
    std::string root_;
};

// Byte for byte; writeFile fails the test when it cannot write.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);  // "" when missing
bool pathExists(const std::string& path);

// A path of the build machine (the build tree, the sources) as this program
// sees it: under Wine, on drive Z: with backslashes.
std::string buildPath(const std::string& buildMachinePath);

// An example file of tests/data, byte for byte; fails the test when missing.
std::string exampleFile(const std::string& name);

}  // namespace velmora::test
