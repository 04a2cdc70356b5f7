// The scenario driver on the headless host.
#include <optional>

#include "src/headless/headless_window.h"
#include "tests/scenarios/scenario_host.h"

namespace velmora::test {
namespace {

class HeadlessScenarioHost : public ScenarioHost {
public:
    void open(Dialog& dialog) override {
        window_.emplace(dialog);
        window_->open();
    }
    void type(int id, const std::string& text) override { window().type(id, text); }
    void click(int id) override { window().click(id); }
    void choose(int id, int index) override { window().choose(id, index); }
    void clickListRow(int id, int row) override { window().clickList(id, window().rowCentre(id, row)); }
    void clickListBelowRows(int id) override { window().clickList(id, window().belowRows(id)); }
    void clickListAt(int id, ListPoint point) override { window().clickList(id, point); }
    void clickListCell(int id, int row, int column) override {
        window().clickList(id, window().cellCentre(id, row, column));
    }
    void clickMapByte(int id, std::size_t at) override { window().clickMapByte(id, at); }
    void pressMapKey(int id, MapKey key) override { window().pressMapKey(id, key); }
    void pressListKey(int id, MapKey key) override { window().pressListKey(id, key); }
    void doubleClickListRow(int id, int row) override { window().doubleClickList(id, window().rowCentre(id, row)); }
    void pressEnter() override { window().pressEnter(); }
    void pressEscape() override { window().pressEscape(); }
    void pressF1() override { window().pressF1(); }
    void pressFunctionKey(int number) override { window().pressFunctionKey(number); }
    void closeBox() override { window().closeBox(); }
    void chooseSystemCommand(int id) override { window().chooseSystemCommand(id); }
    std::string systemMenuEntry(int id) const override { return window().systemMenuEntry(id); }

    bool isEnabled(int id) const override { return window().isEnabled(id); }
    bool isVisible(int id) const override { return window().isVisible(id); }
    std::string text(int id) const override { return window().text(id); }
    bool isChecked(int id) const override { return window().isChecked(id); }
    int selectedIndex(int id) const override { return window().selectedIndex(id); }
    std::string itemText(int id, int index) const override { return window().itemText(id, index); }
    int listRowCount(int id) const override { return window().rowCount(id); }
    std::string listCell(int id, int row, int column) const override { return window().cell(id, row, column); }
    std::string listHeader(int id, int column) const override { return window().columnHeader(id, column); }
    int selectedRow(int id) const override { return window().selectedRow(id); }
    int focusedId() const override { return window().focusedId(); }
    std::string caption() const override { return window().caption(); }
    bool ended() const override { return window().ended(); }
    int result() const override { return window().result(); }

private:
    HeadlessWindow& window() { return *window_; }
    const HeadlessWindow& window() const { return *window_; }

    std::optional<HeadlessWindow> window_;
};

}  // namespace

std::unique_ptr<ScenarioHost> makeScenarioHost() { return std::make_unique<HeadlessScenarioHost>(); }

}  // namespace velmora::test
