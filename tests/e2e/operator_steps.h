#pragma once
// The steps an operator takes in the real program, shared by the
// end-to-end tests of the built program and of the installed one.
#include <windows.h>

#include <string>

#include "tests/e2e/operator_driver.h"

namespace velmora::test {

// Writes a PNG of the window into the build tree's screenshot folder, from
// which scripts/update-screenshots.sh copies it to the README's.
void screenshot(HWND window, const std::string& name);

// From the main window: the Configure dialog, three fields (the last a
// magnetic stripe through the Sentinels dialog), saved to `path`: the
// example file cards.cfg, which cuts cards.dat. Returns "" or what went
// wrong. With `pictureSuffix` it takes the README's screenshots, their
// names ending in it ("" at 100%).
std::string configureAndSave(const RunningProgram& app, HWND main, const std::string& path,
                             const char* pictureSuffix = nullptr);

// From the main window: a parse of `data` with `config`; answers the
// "Database Exists" prompt with Overwrite when `overwrite`. Returns the
// text of the outcome box, or what went wrong.
std::string parse(const RunningProgram& app, HWND main, const std::string& data, const std::string& config,
                  bool overwrite, const char* picture = nullptr);

}  // namespace velmora::test
