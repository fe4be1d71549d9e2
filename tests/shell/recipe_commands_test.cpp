// The pointer, table and print commands of the recipe runner, each checked
// against what the window's controls received.

#include "shell/prompts/prompter.h"
#include "shell/recipe/recipe_run.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/string_grid.h"
#include "shell/window/tform1.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <sstream>

namespace tesk::testing {
namespace {

// One pointer event as an image handler saw it, with the modifier keys the
// prompter reported at that moment.
struct Seen {
    char kind; // d down, u up, m move, 2 double click
    Qt::MouseButton button;
    int x, y;
    bool leftShift, rightCtrl;
    bool operator==(const Seen&) const = default;
};

class RecipeCommands : public ::testing::Test {
  protected:
    RecipeCommands() : run(store, out, err) {
        auto* img = run.window().findChild<ImageWidget*>("Image6");
        auto record = [this](char kind) {
            return [this, kind](Qt::MouseButton b, QPoint p) {
                const Modifiers m = run.window().prompter().modifiers();
                seen.push_back({kind, b, p.x(), p.y(), m.leftShift, m.rightCtrl});
            };
        };
        img->onMouseDown = record('d');
        img->onMouseUp = record('u');
        img->onMouseMove = record('m');
        img->onDoubleClick = record('2');
    }
    int status(const std::string& line) {
        try {
            run.run(line);
            return 0;
        } catch (const RecipeError& e) {
            return e.status;
        }
    }

    ProfileStore store;
    std::ostringstream out, err;
    RecipeRun run;
    std::vector<Seen> seen;
};

TEST_F(RecipeCommands, PointerGesturesReachTheImageWithTheirButtonsAndKeys) {
    const Qt::MouseButton L = Qt::LeftButton, R = Qt::RightButton, N = Qt::NoButton;
    struct Row {
        const char* line;
        std::vector<Seen> expected;
    };
    const Row rows[] = {
        {"mouse Image6 10 20 --right-button --left-shift", {{'d', R, 10, 20, true, false}}},
        {"release Image6 11 21 --right-ctrl", {{'u', L, 11, 21, false, true}}},
        {"move Image6 5 6", {{'m', N, 5, 6, false, false}}},
        {"move Image6 5 6 --right-button", {{'m', R, 5, 6, false, false}}},
        {"dblclick Image6 7 8", {{'2', L, 7, 8, false, false}}},
        // A drag presses at the start, moves one pixel at a time along the
        // line and releases at its end, the keys held throughout.
        {"drag Image6 0 0 3 1 --left-shift",
         {{'d', L, 0, 0, true, false},
          {'m', L, 1, 0, true, false},
          {'m', L, 2, 1, true, false},
          {'m', L, 3, 1, true, false},
          {'u', L, 3, 1, true, false}}},
    };
    for (const Row& r : rows) {
        seen.clear();
        ASSERT_EQ(status(r.line), 0) << r.line;
        EXPECT_EQ(seen, r.expected) << r.line;
        // The keys are released after the command.
        EXPECT_FALSE(run.window().prompter().modifiers().leftShift);
    }
    EXPECT_EQ(status("release SpeedButton1 1 1"), 2); // not an image
    EXPECT_EQ(status("drag Image6 1 2 3"), 2);        // usage
}

TEST_F(RecipeCommands, PrintShowsTablesListsAndMemos) {
    ASSERT_EQ(status("print StringGrid5"), 0);
    const std::string grid = run.lastText();
    // A title line, then one line per row with the cells separated by tabs.
    EXPECT_EQ(grid.substr(0, grid.find('\n')), "StringGrid5: rows=9 cols=4");
    EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 9);
    EXPECT_NE(grid.find("\n 8 \t0\t0\t0"), std::string::npos) << grid;

    ASSERT_EQ(status("print ComboBox54"), 0);
    EXPECT_NE(run.lastText().find("item=1 items=4"), std::string::npos) << run.lastText();
    EXPECT_NE(run.lastText().find("\n   Section T  Y\n"), std::string::npos) << run.lastText();

    run.window().findChild<QPlainTextEdit*>("Memo1")->setPlainText("first\nsecond");
    ASSERT_EQ(status("print Memo1"), 0);
    EXPECT_NE(run.lastText().find("lines=2"), std::string::npos);
    EXPECT_NE(run.lastText().find("\n  first\n  second"), std::string::npos) << run.lastText();
}

TEST_F(RecipeCommands, CellTypesIntoAnOpenCellAndRunsTheGridsHandler) {
    auto* grid = run.window().findChild<StringGrid*>("StringGrid4");
    std::vector<std::pair<int, int>> edited;
    grid->onCellEdited = [&](int c, int r) { edited.emplace_back(c, r); };
    ASSERT_EQ(status("cell StringGrid4 1 3 12.5"), 0);
    EXPECT_EQ(grid->cell(1, 3).toStdString(), "12.5");
    EXPECT_EQ(edited, (std::vector<std::pair<int, int>>{{1, 3}}));
    // Cells the window computes are not typed into; nothing runs.
    EXPECT_EQ(status("cell StringGrid4 2 3 7"), 1);
    EXPECT_EQ(grid->cell(2, 3).toStdString(), "0");
    EXPECT_EQ(edited.size(), 1u);
    EXPECT_EQ(status("cell StringGrid4 9 3 7"), 2); // no such column
}

TEST_F(RecipeCommands, SelectClicksACellOfATable) {
    auto* grid = run.window().findChild<StringGrid*>("StringGrid1");
    std::vector<std::pair<int, int>> clicked;
    QObject::connect(grid, &QTableWidget::cellClicked,
                     [&](int row, int column) { clicked.emplace_back(column, row); });
    ASSERT_EQ(status("select StringGrid1 5 7"), 0);
    EXPECT_EQ(clicked, (std::vector<std::pair<int, int>>{{5, 7}}));
    EXPECT_EQ(grid->currentColumn(), 5);
    EXPECT_EQ(grid->currentRow(), 7);
    EXPECT_EQ(status("select StringGrid1 65 7"), 2); // no such column
    EXPECT_EQ(status("select Image6 1 1"), 2);       // not a table
    EXPECT_EQ(clicked.size(), 1u);
}

} // namespace
} // namespace tesk::testing
