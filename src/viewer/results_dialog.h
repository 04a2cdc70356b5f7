#pragma once
// The "Results" dialog: what a parse stored in its database, read-only.
// It opens on the database the last completed parse wrote; its records and
// rejections show in two tabs of virtual lists read a page at a time; Find
// Next (F3) and Export work on the tab in front, in a progress window when
// they take long; a record opens in its own window. The "Checks" tab runs
// the batch checks the first time it is shown. Card numbers show masked,
// and in full only while "Show full card &numbers" is checked.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "src/results/batch_checks.h"
#include "src/results/results_database.h"
#include "src/toolkit/dialog.h"
#include "src/toolkit/file_system.h"
#include "src/toolkit/registry.h"
#include "src/toolkit/audit.h"
#include "src/viewer/full_card_numbers.h"

namespace velmora {

// How much Find Next and Export do per slice, and how many slices before a
// progress window shows.
struct ResultsLimits {
    std::uint64_t rowsPerSlice = 2000;
    int directSlices = 25;
};

class ResultsDialog : public Dialog {
public:
    ResultsDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit, ResultsLimits limits = {});
    ~ResultsDialog() override;

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    // A tab's rows for its virtual list, read from the open database.
    class TabRows : public VirtualRows {
    public:
        explicit TabRows(ResultsTab tab) : tab_(tab) {}
        void show(ResultsDatabase* database) { database_ = database; }
        int rowCount() override;
        std::string cell(int row, int column) override;

    private:
        ResultsTab tab_;
        ResultsDatabase* database_ = nullptr;
    };

    // The findings of the checks, or one row saying there are none.
    class FindingRows : public VirtualRows {
    public:
        explicit FindingRows(const ResultsDialog& dialog) : dialog_(dialog) {}
        int rowCount() override;
        std::string cell(int row, int column) override;

    private:
        const ResultsDialog& dialog_;
    };

    void open();
    void browse();
    // Opens the database at `databasePath_` and shows it, or why it cannot.
    void load();
    void showColumns(ResultsTab tab);
    void showTab(int index);
    ResultsTab currentTab();
    bool checksInFront();
    void runChecks();
    // The chosen export target, refused (with a message that starts with
    // `cannot`) when it is a link or a folder; then the file beside it that
    // takes the text.
    std::optional<std::string> exportTarget(const std::string& suffix);
    std::optional<std::string> chosenTarget(FileDialogRequest request, const char* cannot);
    std::string fileBeside(const std::string& target, const char* cannot);
    // Writes the tab in front into `file`; false when stopped or failed
    // (and said why). `rows` and `full` tell what went into it.
    bool exportRows(const std::string& file, const std::string& target, std::uint64_t& rows, bool& full);
    bool exportFindings(const std::string& file, const std::string& target, std::uint64_t& rows, bool& full);
    void findNext();
    void exportTab();
    void saveRejected();
    // Puts the finished file in the target's place; false, the file gone
    // and a message that starts with `cannot` shown, when it cannot.
    bool putInPlace(const std::string& file, const std::string& target, const char* cannot);
    void openRecord(int list, int row);
    // Whether the open database shows card numbers in full now.
    bool fullNumbersShown();
    void fullNumbersClicked();
    // Shows a failure the database met while reading; true when there was one.
    bool reportReadFailure();

    FileSystem& files_;
    Registry& registry_;
    ResultsLimits limits_;
    std::string databasePath_;
    std::string findText_;
    int showFull_ = 0;  // starts unchecked at every showing
    FullCardNumbers fullNumbers_;
    std::unique_ptr<ResultsDatabase> database_;
    TabRows records_{ResultsTab::Records};
    TabRows rejected_{ResultsTab::Rejected};
    std::optional<std::vector<Finding>> findings_;  // once the checks ran
    FindingRows findingRows_{*this};
};

}  // namespace velmora
