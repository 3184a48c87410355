// The busy window: its place, its animation and its see-through black, and how a transfer
// shows it together with the input shields.
#include <QLabel>

#include "window_fixture.h"

namespace kvr::test {
namespace {

QImage filled(QColor colour, QSize size = {200, 192}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

TEST(BusyWindow, PlacedOnceBelowTheCentreOfTheMainWindowAsItWasAtCreation) {
    const struct {
        QRect main;
        QPoint busy;
    } cases[] = {
        {{100, 50, 800, 600}, {397, 292}},
        // Halves round toward zero: (205 - 206) / 2 = 0 and (101 - 196) / 2 = -47.
        {{-10, -10, 205, 101}, {-10, -17}},
    };
    for (const auto& c : cases) {
        QWidget main;
        main.setGeometry(c.main);
        BusyWindow busy(main, {});
        main.move(c.main.topLeft() + QPoint(250, 130));
        busy.Show();
        EXPECT_EQ(busy.pos(), c.busy) << "main window at " << c.main.x() << "," << c.main.y();
        EXPECT_EQ(busy.size(), QSize(206, 196));
    }
}

// A frame is kept small between shows, and shows exactly as it was drawn: a frame of few
// colours, and one of more colours than a colour table holds.
TEST(BusyWindow, FramesShowEveryPixelAsDrawn) {
    QImage few = filled(Qt::black);
    for (int x = 0; x < 200; ++x) few.setPixelColor(x, 96, QColor(x, 0, 255 - x));
    QImage many(200, 192, QImage::Format_ARGB32);
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 200; ++x) many.setPixelColor(x, y, QColor(x, y, (x * y) % 256));
    QWidget main;
    BusyWindow busy(main, [&] { return std::vector<AnimationFrame>{{few, 50}, {many, 50}}; });
    auto* gif = busy.findChild<QLabel*>("WaitGif");
    ASSERT_NE(gif, nullptr);
    busy.Show();
    for (const QImage& drawn : {few, many}) {
        EXPECT_EQ(gif->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  drawn.convertToFormat(QImage::Format_RGB32));
        busy.WaitGifTimer();
    }
}

TEST(BusyWindow, AnimationTurnsWhileShownEachFrameForItsOwnDelay) {
    QWidget main;
    int asked = 0;
    BusyWindow busy(main, [&asked] {
        ++asked;
        return std::vector<AnimationFrame>{
            {filled(Qt::red), 50}, {filled(Qt::green), 70}, {filled(Qt::blue), 0}};
    });
    auto* gif = busy.findChild<QLabel*>("WaitGif");
    ASSERT_NE(gif, nullptr);
    auto shownColour = [&] { return gif->pixmap().toImage().pixelColor(5, 5); };
    // Nothing is decoded for a window that has not shown.
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(busy.animationTimer().isActive());

    busy.Show();
    EXPECT_EQ(shownColour(), QColor(Qt::red));
    ASSERT_TRUE(busy.animationTimer().isActive());
    EXPECT_EQ(busy.animationTimer().interval(), 50);
    const struct {
        int frame;
        QColor colour;
        int delayMs;
    } steps[] = {{1, Qt::green, 70}, {2, Qt::blue, 10}, {0, Qt::red, 50}};
    for (const auto& s : steps) {
        busy.WaitGifTimer();
        EXPECT_EQ(busy.frameIndex(), s.frame);
        EXPECT_EQ(shownColour(), s.colour) << "frame " << s.frame;
        EXPECT_TRUE(busy.animationTimer().isActive());
        EXPECT_EQ(busy.animationTimer().interval(), s.delayMs) << "frame " << s.frame;
    }

    busy.Show();  // already shown: only brought to the front
    EXPECT_TRUE(busy.isVisible());
    EXPECT_EQ(busy.frameIndex(), 0);
    busy.Hide();
    EXPECT_FALSE(busy.isVisible());
    EXPECT_FALSE(busy.animationTimer().isActive());
    busy.Show();
    EXPECT_EQ(asked, 1);
}

TEST(BusyWindow, OnlyTheLitPixelsOfTheAnimationAreSeen) {
    // A half-size frame, stretched to the animation's size: black left, lit top right, and a
    // transparent bottom right.
    QImage frame = filled(Qt::black, {100, 96});
    for (int y = 0; y < 96; ++y)
        for (int x = 50; x < 100; ++x)
            frame.setPixelColor(x, y, y < 48 ? QColor(Qt::white) : QColor(255, 255, 255, 0));
    QWidget main;
    BusyWindow busy(main, [&frame] { return std::vector<AnimationFrame>{{frame, 50}}; });
    busy.Show();
    const QRegion shape = busy.mask();
    EXPECT_TRUE(shape.contains(QPoint(150, 40)));
    EXPECT_TRUE(shape.contains(QPoint(199, 95)));
    EXPECT_FALSE(shape.contains(QPoint(40, 40)));    // black
    EXPECT_FALSE(shape.contains(QPoint(150, 150)));  // transparent
    EXPECT_FALSE(shape.contains(QPoint(203, 40)));   // the border beside the animation
    // The picture is stretched as its shape is.
    const QImage shown = busy.findChild<QLabel*>("WaitGif")->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(200, 192));
    EXPECT_EQ(shown.pixelColor(150, 40), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(40, 40), QColor(Qt::black));
}

int countCommand(const EmulatedMouse& m, std::uint8_t cmd) {
    int n = 0;
    for (const CommandReport& r : m.requests()) n += r.bytes[1] == cmd;
    return n;
}

struct TransferCase {
    const char* name;
    bool readFirst;
    int refusals;  // requests the mouse leaves unanswered from the start
    const char* button;
    int quietChunks;  // identity reads go without the busy window

    friend void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.name; }
};

class TransferTest : public WindowTest, public ::testing::WithParamInterface<TransferCase> {
protected:
    bool shieldsUp() {
        for (int p = 1; p <= 4; ++p)
            if (find(QString("Disable_All_%1").arg(p))->isHidden()) return false;
        return true;
    }
};

TEST_P(TransferTest, KeepsTheShieldsAndTheBusyWindowUpUntilItsEnd) {
    const TransferCase& c = GetParam();
    if (c.readFirst)
        plugAndRead();
    else
        plugMouse();
    mouse->clearWireLog();
    mouse->refuseNext(c.refusals);
    const int shows = busy->showCount();
    const int hides = busy->hideCount();
    struct Sample {
        bool busy;
        bool shields;
    };
    std::vector<Sample> samples;
    pacer.onPump = [&] { samples.push_back({busy->isVisible(), shieldsUp()}); };
    if (c.button)
        click(c.button);
    else
        tick();
    pacer.onPump = nullptr;

    auto first = std::find_if(samples.begin(), samples.end(), [](Sample s) { return s.busy; });
    auto last = std::find_if(samples.rbegin(), samples.rend(), [](Sample s) { return s.busy; });
    ASSERT_NE(first, samples.end()) << "the busy window was never shown";
    for (auto s = first; s != last.base(); ++s) {
        EXPECT_TRUE(s->busy) << "hidden during the transfer at pump " << s - samples.begin();
        EXPECT_TRUE(s->shields) << "uncovered during the transfer at pump " << s - samples.begin();
    }
    const int chunks =
        countCommand(*mouse, ReadNextCmd) + countCommand(*mouse, WriteNextCmd) - c.quietChunks;
    EXPECT_GE(busy->showCount() - shows, chunks);
    EXPECT_EQ(busy->hideCount() - hides, 1);
    EXPECT_FALSE(busy->isVisible());
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(find(QString("Disable_All_%1").arg(p))->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Transfers, TransferTest,
                         ::testing::Values(TransferCase{"ReadOfAFoundMouse", false, 0, nullptr, 2},
                                           TransferCase{"Apply", true, 0, "Btn_Apply_1", 0},
                                           TransferCase{"ApplyToAMouseThatNeverAnswers", true,
                                                        1 << 20, "Btn_Apply_2", 0}),
                         [](const ::testing::TestParamInfo<TransferCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kvr::test
