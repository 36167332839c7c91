// The map in the real window over a scripted stream on 127.0.0.1: both
// grids centre on the current location, the mouse names locations, keys
// and buttons send moves, and the map is stored when the window goes.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "map/map_grid.h"
#include "map/world_map.h"
#include "shell/coms.h"
#include "shell/inputedit.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class MapWindow : public WindowFixture {
protected:
    TMainForm& Stream()
    {
        TMainForm& w = Window();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        w.OpenConnection("127.0.0.1", server.Port(), "Nova");
        EXPECT_TRUE(server.WaitForClient());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; }, 5000));
        w.GetComs().SetMode(Coms::AwaitingStream);
        server.Send("<s-default>\n");
        EXPECT_TRUE(server.WaitForReceived("look\n"));
        server.ClearReceived();
        return w;
    }

    // Sends a location and waits until the map has made it current.
    void Visit(TMainForm& w, const QByteArray& name, int number, const QByteArray& exits = "")
    {
        server.Send("<s-new-loc name='" + name + "' loc-num='" + QByteArray::number(number) + "'"
                    + exits + ">\nA quiet place.\n</s-new-loc>\n");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return w.GetWorldMap().Map() && w.GetWorldMap().Map()->Current() == number; }, 5000));
    }

    static void Hover(TileGrid* grid, int column, int row)
    {
        const QPointF at((column - grid->LeftColumn()) * 16 + 8, (row - grid->TopRow()) * 16 + 8);
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
    }

    bool Sends(const QByteArray& command)
    {
        const bool ok = server.WaitForReceived(command);
        server.ClearReceived();
        return ok;
    }

    ScriptServer server;
};

TEST_F(MapWindow, GridsCentreOnEachLocationAndTheMapIsStoredAtExit)
{
    TMainForm& w = Stream();
    EXPECT_FALSE(w.DetailGrid->isVisible());
    server.Send("<s-new-map system='Sol' name='Test Map' owner='Hale'/>\n"
                "<s-map-info economy='Mining' workers='12'/>\n<s-update-infra/>\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.MapMemo->LineCount() == 4; }, 5000));
    EXPECT_TRUE(w.DetailGrid->isVisible());
    EXPECT_FALSE(w.MapImage->isVisible());

    Visit(w, "Corner", 0, " e='1'");
    for (TileGrid* grid : {w.DetailGrid, w.MapGrid}) {
        EXPECT_EQ(grid->SelectedColumn(), 1);
        EXPECT_EQ(grid->SelectedRow(), 1);
        EXPECT_EQ(grid->LeftColumn(), 0);
        EXPECT_EQ(grid->TopRow(), 0);
    }
    Visit(w, "Far Corner", 4095);
    EXPECT_EQ(w.DetailGrid->VisibleColumns(), 10);
    EXPECT_EQ(w.DetailGrid->LeftColumn(), 119);
    EXPECT_EQ(w.DetailGrid->TopRow(), 119);
    EXPECT_EQ(w.MapGrid->SelectedColumn(), 127);
    EXPECT_EQ(w.MapGrid->LeftColumn(), 129 - w.MapGrid->VisibleColumns());
    EXPECT_TRUE(w.MapGrid->accessibleName().contains("Far Corner"));

    Hover(w.DetailGrid, 127, 127);
    EXPECT_EQ(w.StatusPanels[3]->text(), "Far Corner");
    Hover(w.DetailGrid, 126, 127);
    EXPECT_EQ(w.StatusPanels[3]->text(), "");

    window.reset();
    QFile stored(WorkPath("maps/test_map.xml"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_TRUE(stored.readAll().contains("<loc name='Far Corner' loc-num='4095'/>"));
}

TEST_F(MapWindow, KeysOnTheGridsAndTheButtonsSendMoves)
{
    TMainForm& w = Stream();
    server.Send("<s-new-map system='Sol' name='Keys'/>\n");
    Visit(w, "Pad", 455);
    w.DetailGrid->setFocus();
    QTest::keyClick(w.DetailGrid, Qt::Key_Insert);
    EXPECT_TRUE(Sends("d\n"));
    EXPECT_EQ(PaneLines(w.OutputEdit).last(), "d");
    w.MainNotebook->setCurrentIndex(1);
    w.MapGrid->setFocus();
    QTest::keyClick(w.MapGrid, Qt::Key_9, Qt::KeypadModifier);
    EXPECT_TRUE(Sends("ne\n"));
    w.MainNotebook->setCurrentIndex(0);

    const struct {
        const char* button;
        const char* command;
    } buttons[] = {{"NEMoveBtn", "ne\n"}, {"SEMoveBtn", "se\n"}, {"SWMoveBtn", "sw\n"},
                   {"NWMoveBtn", "nw\n"}, {"WMoveBtn", "w\n"},   {"NMoveBtn", "n\n"},
                   {"EMoveBtn", "e\n"},   {"SMoveBtn", "s\n"},   {"BoardBtn", "board\n"}};
    for (const auto& b : buttons) {
        QTest::mouseClick(w.findChild<QToolButton*>(b.button), Qt::LeftButton);
        EXPECT_TRUE(Sends(b.command)) << b.button;
    }
    EXPECT_TRUE(w.findChild<QToolButton*>("BoardBtn")->font().bold());

    // Up and down answer any mouse button and hand the focus back to the input line.
    w.DetailGrid->setFocus();
    QTest::mouseClick(w.findChild<QToolButton*>("UpBtn"), Qt::RightButton);
    EXPECT_TRUE(Sends("u\n"));
    EXPECT_TRUE(w.InputEdit->hasFocus());
    QTest::mouseClick(w.findChild<QToolButton*>("DownBtn"), Qt::LeftButton);
    EXPECT_TRUE(Sends("d\n"));

    server.CloseClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.MapImage->isVisible(); }, 5000));
    EXPECT_FALSE(w.DetailGrid->isVisible());
}

} // namespace
