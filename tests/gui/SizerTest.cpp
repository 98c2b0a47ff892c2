#include <sstream>
#include <stdexcept>
#include <tuple>

#include "core/TempDir.h"
#include "gui/TestRootWidget.h"
#include "gui/layout/AltSizer.h"
#include "gui/layout/CenterSizer.h"
#include "gui/layout/GridSizer.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/tree/ContainerWidget.h"

using namespace OKU;

namespace {

// A widget of fixed minimum size.
Widget* box(Widget* parent, int minWidth, int minHeight)
{
    Widget* w = new Widget(parent);
    w->enableAutoMinWidth(false);
    w->enableAutoMinHeight(false);
    w->setMinWidth(minWidth);
    w->setMinHeight(minHeight);
    return w;
}

// Runs its container's sizer again from its resize handler, the given number
// of times (forever when negative).
class RefittingWidget : public Widget {
public:
    RefittingWidget(ContainerWidget* c, int refits) : Widget(c), m_container(c), m_refits(refits) {}
    void onResizeCalled(const Size& oldSize) override
    {
        ++m_resizes;
        if (m_refits != 0) {
            --m_refits;
            m_container->runSizer();
        }
        Widget::onResizeCalled(oldSize);
    }

    ContainerWidget* m_container;
    int m_refits;
    int m_resizes = 0;
};

class SizerTest : public testing::Test {
protected:
    TestRootWidget m_root{400, 300};
};

// One item of a row or column: a widget of minimum length, or a divider.
struct LineItem { int minLength, factor, minMargin; bool divider; };

} // namespace

TEST_F(SizerTest, RowsAndColumnsShareFlexibleAndDividerRoom)
{
    // expected: start and length of each widget along the line.
    const struct {
        const char* name;
        std::vector<LineItem> items;
        int length, minLength;
        std::vector<std::pair<int, int>> expected;
    } cases[] = {
        {"factors 1 and 3", {{30, 1, 10, false}, {50, 3, 10, false}}, 210, 130, {{0, 50}, {60, 150}}},
        {"remainder to the last", {{0, 1, 0, false}, {0, 1, 0, false}, {0, 1, 0, false}}, 100, 0,
         {{0, 33}, {33, 33}, {66, 34}}},
        {"dividers",
         {{20, 0, 10, false}, {0, -1, 0, true}, {20, 0, 10, false}, {0, -1, 0, true}, {20, 0, 10, false}},
         200, 80, {{0, 20}, {90, 20}, {180, 20}}},
        {"flexible keeps its minimum beside a divider",
         {{30, 1, 4, false}, {0, -1, 0, true}, {10, 0, 6, false}}, 100, 46, {{0, 30}, {90, 10}}},
        {"narrower than the minimum", {{40, 0, 5, false}, {30, 1, 5, false}}, 60, 75, {{0, 40}, {45, 15}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HSizer row;
        VSizer column;
        std::vector<Widget*> inRow, inColumn;
        for (const LineItem& item : c.items) {
            if (item.divider) {
                row.addDivider();
                column.addDivider();
                continue;
            }
            inRow.push_back(box(&m_root, item.minLength, 7));
            row.add(inRow.back(), item.factor, VAlign::STRETCH, item.minMargin);
            inColumn.push_back(box(&m_root, 7, item.minLength));
            column.add(inColumn.back(), item.factor, HAlign::STRETCH, item.minMargin);
        }
        EXPECT_EQ(std::make_tuple(c.minLength, c.minLength, 7),
                  std::make_tuple(row.getMinWidth(), column.getMinHeight(), row.getMinHeight()));
        row.fitRect(Rect(5, 3, c.length, 20), &m_root);
        column.fitRect(Rect(3, 5, 20, c.length), &m_root);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const auto [start, length] = c.expected[i];
            EXPECT_EQ(Rect(5 + start, 3, length, 20), inRow[i]->getRect()) << i;
            EXPECT_EQ(Rect(3, 5 + start, 20, length), inColumn[i]->getRect()) << i;
        }
    }
}

TEST_F(SizerTest, HiddenItemsKeepTheirPlaceOnlyWhenLaidOutHidden)
{
    const struct {
        bool layoutHidden, measureHidden;
        int lastX, minWidth;
        bool visibleWhenAllHidden;
    } cases[] = {
        {false, false, 30, 50, false}, {false, true, 30, 80, true}, {true, false, 60, 80, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layoutHidden << c.measureHidden);
        HSizer row(c.layoutHidden, c.measureHidden);
        Widget* first = box(&m_root, 20, 5);
        Widget* hidden = box(&m_root, 20, 9);
        Widget* last = box(&m_root, 20, 5);
        row.add(first, 0, VAlign::TOP);
        row.add(hidden, 0, VAlign::TOP);
        row.add(last, 0, VAlign::TOP);
        hidden->hide();
        EXPECT_EQ(Size(c.minWidth, c.measureHidden || c.layoutHidden ? 9 : 5),
                  Size(row.getMinWidth(), row.getMinHeight()));
        row.fitRect(Rect(0, 0, 100, 20), nullptr);
        EXPECT_EQ(Rect(c.lastX, 0, 20, 5), last->getRect());
        EXPECT_EQ(c.layoutHidden ? Rect(30, 0, 20, 9) : Rect(), hidden->getRect());
        EXPECT_TRUE(row.isVisible());
        row.show(false);
        EXPECT_FALSE(first->isShown() || last->isShown());
        EXPECT_EQ(c.visibleWhenAllHidden, row.isVisible());
    }
    HSizer empty(true, true);
    empty.addSpace(10, 0);
    EXPECT_FALSE(empty.isVisible());
}

TEST_F(SizerTest, ItemsAreAlignedAcrossTheLineOrWithinTheStack)
{
    typedef std::function<std::shared_ptr<Sizer>(Widget*)> Make;
    const struct { const char* name; Make make; Rect expected; } cases[] = {
        {"stack stretched", [](Widget* w) { return std::make_shared<StackSizer>(w); }, Rect(10, 20, 100, 50)},
        {"centred", [](Widget* w) { return std::make_shared<CenterSizer>(w); }, Rect(45, 40, 30, 10)},
        {"left top",
         [](Widget* w) { return std::make_shared<StackSizer>(w, HAlign::LEFT, VAlign::TOP); },
         Rect(10, 20, 30, 10)},
        {"right bottom",
         [](Widget* w) { return std::make_shared<StackSizer>(w, HAlign::RIGHT, VAlign::BOTTOM); },
         Rect(80, 60, 30, 10)},
        {"row baseline centres",
         [](Widget* w) {
             auto row = std::make_shared<HSizer>();
             row->add(w, 1, VAlign::BASELINE);
             return row;
         },
         Rect(10, 40, 100, 10)},
        {"column right",
         [](Widget* w) {
             auto column = std::make_shared<VSizer>();
             column->add(w, 0, HAlign::RIGHT);
             return column;
         },
         Rect(80, 20, 30, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Widget* w = box(&m_root, 30, 10);
        c.make(w)->fitRect(Rect(10, 20, 100, 50), &m_root);
        EXPECT_EQ(c.expected, w->getRect());
    }

    StackSizer stack;
    Widget* hidden = box(&m_root, 90, 90);
    stack.add(box(&m_root, 30, 10), HAlign::LEFT, VAlign::TOP);
    stack.add(hidden, HAlign::STRETCH, VAlign::STRETCH);
    hidden->hide();
    stack.fitRect(Rect(0, 0, 100, 50), &m_root);
    StackSizer measuring(true);
    measuring.add(hidden, HAlign::STRETCH, VAlign::STRETCH);
    EXPECT_EQ(std::make_tuple(Rect(), 30, 90),
              std::make_tuple(hidden->getRect(), stack.getMinWidth(), measuring.getMinHeight()));
}

TEST_F(SizerTest, NestedSizersFillTheContainerContent)
{
    ContainerWidget* page = new ContainerWidget(&m_root, 0, 0, 300, 200);
    Widget* a = box(page, 40, 20);
    Widget* b = box(page, 60, 30);
    Widget* c = box(page, 50, 40);
    auto row = std::make_shared<HSizer>();
    row->add(a, 1, VAlign::CENTER);
    row->add(b, 0, VAlign::BOTTOM);
    auto column = std::make_shared<VSizer>();
    column->add(row, 0, HAlign::STRETCH);
    column->add(c, 1, HAlign::RIGHT);
    page->setSizer(column);
    page->resize(300, 200);
    EXPECT_EQ(
        (std::vector<Rect>{Rect(10, 15, 210, 20), Rect(230, 10, 60, 30), Rect(240, 50, 50, 140)}),
        (std::vector<Rect>{a->getRect(), b->getRect(), c->getRect()}));
    EXPECT_EQ(Size(130, 100), Size(page->getMinWidth(), page->getMinHeight()));

    column->fitCenter(Rect(0, 0, 300, 200));
    EXPECT_EQ(Rect(155, 100, 50, 40), c->getRect());
}

TEST_F(SizerTest, AResizeThatRefitsRunsTheLayoutAgain)
{
    ContainerWidget* page = new ContainerWidget(&m_root, 0, 0, 200, 100);
    RefittingWidget* w = new RefittingWidget(page, 1);
    auto row = std::make_shared<HSizer>();
    row->add(w, 1, VAlign::STRETCH);
    page->setSizer(row);
    page->resize(200, 100);
    EXPECT_EQ(2, w->m_resizes);
    page->resize(200, 100);
    EXPECT_EQ(std::make_pair(3, Rect(10, 10, 180, 80)), std::make_pair(w->m_resizes, w->getRect()));
}

TEST_F(SizerTest, MisuseIsFatal)
{
    const struct {
        const char* message;
        std::function<void(Widget* root, Widget* child)> misuse;
    } cases[] = {
        {"HSizer::add: Null Widget",
         [](Widget*, Widget*) { HSizer().add(static_cast<Widget*>(nullptr), 0, VAlign::TOP); }},
        {"VSizer::add: negative factor not allowed",
         [](Widget*, Widget*) { VSizer().addSpace(5, -1); }},
        {"StackSizer::add: Null Widget",
         [](Widget*, Widget*) { StackSizer(static_cast<Widget*>(nullptr)); }},
        {"Incorrect widget parent in HSizer",
         [](Widget* root, Widget* child) {
             auto row = std::make_shared<HSizer>();
             row->add(child, 0, VAlign::TOP);
             VSizer column;
             column.add(row, 0, HAlign::LEFT);
             column.fitRect(Rect(0, 0, 50, 50), root);
         }},
        {"Incorrect widget parent in VSizer",
         [](Widget* root, Widget* child) {
             VSizer column;
             column.add(child, 0, HAlign::LEFT);
             column.fitRect(Rect(0, 0, 50, 50), root);
         }},
        {"Incorrect widget parent in StackSizer",
         [](Widget* root, Widget* child) { StackSizer(child).fitRect(Rect(0, 0, 50, 50), root); }},
        {"StackSizer does not support VAlign::BASELINE",
         [](Widget* root, Widget*) {
             StackSizer(root, HAlign::LEFT, VAlign::BASELINE).fitRect(Rect(0, 0, 50, 50), nullptr);
         }},
        {"Sizer::fitRect loop detected",
         [](Widget* root, Widget*) {
             ContainerWidget* page = new ContainerWidget(root);
             page->setSizer(std::make_shared<StackSizer>(new RefittingWidget(page, -1)));
             page->resize(50, 50);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Widget* child = new Widget(new Widget(&m_root));
        expectFatalError([&] { c.misuse(&m_root, child); }, c.message);
    }
}

TEST_F(SizerTest, SizeViolationsAreTracedOnlyWhenAskedFor)
{
    TempDir dir;
    dir.write("traceconfig.xml", "<traceconfig><output filename='" + dir / "sizer.log" +
                                     "' defaultlimit='warning'/></traceconfig>");
    ASSERT_TRUE(traceInit(dir / "traceconfig.xml"));
    HSizer row;
    row.add(box(&m_root, 60, 10), 0, VAlign::TOP);
    row.add(box(&m_root, 60, 10), 1, VAlign::TOP);
    {
        ScopedEnv validate("OKU_VALIDATESIZERS", "1");
        Sizer::s_noValidate = false;
        row.fitRect(Rect(0, 0, 100, 5), nullptr);
        row.fitRect(Rect(0, 0, 130, 10), nullptr);
    }
    {
        ScopedEnv validate("OKU_VALIDATESIZERS", "");
        row.fitRect(Rect(0, 0, 100, 5), nullptr);
    }
    EXPECT_TRUE(Sizer::s_noValidate);
    ScopedEnv validate("OKU_VALIDATESIZERS", "1");
    row.fitRect(Rect(0, 0, 100, 5), nullptr);
    traceFlush();
    const std::string log = dir.read("sizer.log");
    dir.write("traceconfig.xml", "<traceconfig/>");
    ASSERT_TRUE(traceInit(dir / "traceconfig.xml"));

    std::string messages;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        messages += line.substr(line.find('[')) + "\n";
    EXPECT_EQ(
        "[HSizer]: Sizer width violation (130 > 100)\n[HSizer]: Sizer height violation (10 > 5)\n",
        messages);
}

TEST_F(SizerTest, AltSizerShowsAndLaysOutOnlyTheSelectedAlternative)
{
    ContainerWidget* page = new ContainerWidget(&m_root, 0, 0, 200, 100);
    Widget* first = box(page, 30, 20);
    Widget* second = box(page, 50, 40);
    auto alternatives = std::make_shared<AltSizer>(page, first, HAlign::STRETCH, VAlign::STRETCH);
    alternatives->add(second, HAlign::CENTER, VAlign::CENTER);
    page->setSizer(alternatives);
    page->resize(200, 100);
    EXPECT_EQ(Rect(), first->getRect());

    // Whether each alternative shows, and where it lies.
    const auto state = [first, second] {
        return std::make_tuple(first->isShown(), second->isShown(), first->getRect(),
                               second->getRect());
    };
    alternatives->select(1);
    EXPECT_EQ(std::make_tuple(false, true, Rect(), Rect(75, 30, 50, 40)), state());
    alternatives->select(0);
    EXPECT_EQ(std::make_tuple(true, false, Rect(10, 10, 180, 80), Rect(75, 30, 50, 40)), state());
    EXPECT_EQ(Size(50, 40), Size(alternatives->getMinWidth(), alternatives->getMinHeight()));

    alternatives->select(2);
    EXPECT_FALSE(first->isShown() || second->isShown());
    EXPECT_TRUE(alternatives->isVisible());
}

TEST_F(SizerTest, GridAddFillsRowByRowAndGrowsTheGrid)
{
    GridSizer grid(3, 0, 0, HAlign::LEFT, VAlign::TOP);
    std::vector<Widget*> widgets;
    for (int i = 0; i < 8; ++i)
        widgets.push_back(new Widget(&m_root));
    for (int i = 0; i < 7; ++i)
        grid.add(widgets[i]);
    EXPECT_EQ(3, grid.getRows());
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(widgets[i], grid.getCell(i % 3, i / 3).widget) << i;
    grid.add(widgets[7]);
    // Reading a cell beyond the last row grows the grid.
    EXPECT_EQ(nullptr, grid.getCell(2, 4).widget);
    EXPECT_EQ(std::make_pair(widgets[7], 5),
              std::make_pair(grid.getCell(1, 2).widget, grid.getRows()));
    EXPECT_THROW(grid.setColumnFactor(3, 1), std::out_of_range);
    expectFatalError([&] { grid.getCell(3, 0); }, "GridSizer::getCell");
    expectFatalError([&] { grid.add(static_cast<Widget*>(nullptr)); },
                     "GridSizer::add: Null Widget");
    grid.set(2, 0, new Widget(widgets[0]));
    expectFatalError([&] { grid.fitRect(Rect(0, 0, 100, 100), &m_root); },
                     "Incorrect widget parent in row 0 column 2 in GridSizer");
}

TEST_F(SizerTest, GridColumnsAndRowsShareRoomByFactorAndCellsAlign)
{
    GridSizer grid(3, 1, 0, HAlign::STRETCH, VAlign::STRETCH, 10, 5, false);
    grid.setColumnFactor(0, 0);
    grid.setColumnFactor(2, 2);
    Widget* a = box(&m_root, 30, 10);
    Widget* b = box(&m_root, 20, 10);
    Widget* c = box(&m_root, 10, 20);
    Widget* d = box(&m_root, 40, 10);
    Widget* e = box(&m_root, 15, 5);
    grid.add(a);
    grid.add(b, HAlign::CENTER, VAlign::BOTTOM);
    grid.add(c, HAlign::RIGHT, VAlign::CENTER);
    grid.add(d, HAlign::LEFT, VAlign::BASELINE);
    grid.add();
    grid.add(e);
    grid.setRowFactor(1, 1);
    EXPECT_EQ(Size(120, 35), Size(grid.getMinWidth(), grid.getMinHeight()));

    grid.fitRect(Rect(0, 0, 220, 100), &m_root);
    EXPECT_EQ(
        (std::vector<Rect>{Rect(0, 0, 40, 20), Rect(66, 10, 20, 10), Rect(210, 0, 10, 20),
                           Rect(0, 25, 40, 10), Rect(113, 25, 107, 75)}),
        (std::vector<Rect>{a->getRect(), b->getRect(), c->getRect(), d->getRect(), e->getRect()}));

    d->hide();
    EXPECT_EQ(30, grid.getMinColWidth(0));
    EXPECT_TRUE(grid.isVisible());
    grid.show(false);
    EXPECT_FALSE(grid.isVisible());
}
