#include <gtest/gtest.h>

#include "editor/configure_dialog.h"
#include "editor/configure_dialog_description.h"
#include "headless/headless_window.h"
#include "headless/memory_file_system.h"
#include "headless/memory_registry.h"
#include "headless/recorded_audit.h"
#include "headless/scripted_prompts.h"

namespace velmora::test {

TEST(FieldListView, SevenColumnsWithTheLastFittedToTheListAndGridlines) {
    ScriptedPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    RecordedAudit audit;
    ConfigureDialog dialog(prompts, files, registry, audit);
    HeadlessWindow window(dialog);
    window.open();
    const char* headers[] = {"Field Name", "Start Type", "Start Data",     "End Type",
                             "End Data",   "Field Type", "Field Type Data"};
    const int widths[] = {70, 70, 80, 90, 80, 70};
    ASSERT_EQ(window.columnCount(kIdFieldList), 7);
    int others = 0;
    for (int c = 0; c < 7; ++c) EXPECT_EQ(window.columnHeader(kIdFieldList, c), headers[c]);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(window.columnWidth(kIdFieldList, c), widths[c]);
        others += widths[c];
    }
    EXPECT_EQ(window.columnWidth(kIdFieldList, 6), window.clientWidth(kIdFieldList) - others);
    EXPECT_EQ(window.listStyles(kIdFieldList) & (kListGridLines | kListFullRowSelect),
              unsigned{kListGridLines | kListFullRowSelect});
}

}  // namespace velmora::test
