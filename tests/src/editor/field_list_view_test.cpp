#include <gtest/gtest.h>

#include "src/editor/configure_dialog.h"
#include "src/editor/configure_dialog_description.h"
#include "src/headless/headless_window.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/scripted_prompts.h"
#include "src/headless/recorded_audit.h"

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
