#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace velmora::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& name) {
    std::random_device seed;
    fs::path folder;
    // A folder no earlier run or other test program left there.
    do folder = fs::temp_directory_path() / (name + "-" + std::to_string(seed()));
    while (!fs::create_directories(folder));
    root_ = folder.make_preferred().string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScratchFolder::path(const std::string& name) const {
    return (fs::path(root_) / name).make_preferred().string();
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) const { writeFile(path(name), bytes); }
std::string ScratchFolder::read(const std::string& name) const { return readFile(path(name)); }
bool ScratchFolder::exists(const std::string& name) const { return pathExists(path(name)); }

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> list;
    for (const auto& entry : fs::directory_iterator(root_)) list.push_back(entry.path().filename().string());
    std::sort(list.begin(), list.end());
    return list;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool pathExists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

std::string buildPath(const std::string& buildMachinePath) {
#ifdef _WIN32
    if (buildMachinePath.empty() || buildMachinePath[0] != '/') return buildMachinePath;
    std::string path = "Z:" + buildMachinePath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
#else
    return buildMachinePath;
#endif
}

std::string exampleFile(const std::string& name) {
    const std::string path = buildPath(std::string(VELMORA_TEST_DATA_DIR) + "/" + name);
    if (!pathExists(path)) ADD_FAILURE() << "no example file " << path;
    return readFile(path);
}

}  // namespace velmora::test
