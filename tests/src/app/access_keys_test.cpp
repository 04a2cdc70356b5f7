// Alt and a window's access key (the letter after '&') leads to one control
// of it. The system's own labels that have always shared one keep it; ours
// never join them.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

#include "src/app/main_dialog_description.h"
#include "src/editor/configure_dialog_description.h"
#include "src/editor/preview_dialog_description.h"
#include "src/editor/sentinels_dialog_description.h"
#include "src/parse/database_exists_dialog.h"
#include "src/parse/parse_dialog_description.h"
#include "src/viewer/results_dialog_description.h"

namespace velmora::test {
namespace {

TEST(AccessKeys, EachLeadsToOneControlOfItsWindowButTheSystemsOwnSharedOnes) {
    // The Configure dialog's labels in one place, shown one at a time; and
    // the Results' two given captions that both hold N.
    const std::set<std::string> systemsShared = {"Appl&ication Name:", "Scr&ipt Data:", "Conf&igure...",
                                                 "Fi&nd:", "Show full card &numbers"};
    for (const DialogDescription& window :
         {mainDialogDescription(""), aboutDialogDescription(), configureDialogDescription(),
          sentinelsDialogDescription(), previewDialogDescription(PreviewMode::Suggestion), parseDialogDescription(),
          databaseExistsDescription(), resultsDialogDescription(), recordDialogDescription(1)}) {
        std::map<char, int> holders;
        std::set<char> sharedKeys;
        for (const ControlDescription& control : window.controls) {
            const std::size_t mark = control.caption.find('&');
            if (control.noPrefix || mark == std::string::npos || mark + 1 == control.caption.size()) continue;
            const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(control.caption[mark + 1])));
            if (systemsShared.count(control.caption) && !sharedKeys.insert(key).second) continue;
            EXPECT_EQ(++holders[key], 1) << window.caption << ": \"" << control.caption << "\"";
        }
    }
}

}  // namespace
}  // namespace velmora::test
