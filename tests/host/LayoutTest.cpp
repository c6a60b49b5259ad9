// Proportional layout by screen-width band and name fragment.
#include <gtest/gtest.h>

#include "support/HeadlessWorld.h"
#include "ui/ProportionalLayout.h"

namespace {

using testing_support::HeadlessWorld;

class Designed : public forms::Form {
public:
    explicit Designed(const platform::Ports& ports)
        : Form("Designed", 7000, 3000), folders(*ports.folders), files(*ports.fileSystem) {
        label.Move(100, 200, 1000, 300);
        picture.Move(0, -600, 1215, 2895);
        check.Move(50, 60, 700, 80);
        drive.Move(2280, 240, 1935, 315);
        file.Move(10, 20, 30, 40);
        dir.Move(10, 20, 30, 40);
        list.Move(10, 20, 30, 40);
        label.SetFontSize(18);
        // The bands alone: the rows a list keeps have cases of their own.
        for (forms::ListBox* l : {static_cast<forms::ListBox*>(&file), static_cast<forms::ListBox*>(&dir), &list}) {
            l->SetMinimumRows(0);
        }
    }
    platform::Folders& folders;
    platform::FileSystem& files;
    forms::Label label{*this, "Label3"};
    forms::PictureBox picture{*this, "Picture1"};
    forms::CheckBox check{*this, "Check2"};
    forms::DriveListBox drive{*this, "Drive1", folders};
    forms::FileListBox file{*this, "File1", files};
    forms::DirListBox dir{*this, "Dir1", files};
    forms::ListBox list{*this, "List4"};
    forms::Timer timer{*this, "Timer1", 400};
};

Designed& MakeDesigned(HeadlessWorld& world) {
    world.app.Provide<Designed>([&world] { return std::make_unique<Designed>(world.ports); });
    return world.app.Get<Designed>();
}

void SetScreen(HeadlessWorld& world, int widthPx, int heightPx) {
    world.desktop.screen = {widthPx * 15.0, heightPx * 15.0, 15, 15};
}

TEST(LayoutBands, BoundariesTakeTheNearestBand) {
    struct Case {
        double width;
        double size;
    };
    for (const Case c : {Case{320, 1}, Case{630, 1}, Case{640, 1}, Case{789.9, 1}, Case{790, 1.3}, Case{800, 1.3},
                         Case{1019, 1.3}, Case{1020, 1.6}, Case{1024, 1.6}, Case{1280, 1.6}}) {
        EXPECT_DOUBLE_EQ(ui::BandForWidth(c.width).size, c.size) << "width " << c.width;
    }
    const ui::LayoutBand large = ui::BandForWidth(1280);
    EXPECT_DOUBLE_EQ(large.fontIncrease, 4);
    EXPECT_DOUBLE_EQ(large.pictureHeight, 1.7);
    EXPECT_FALSE(ui::BandForWidth(640).scaled);
}

TEST(ResizeControls, On800PixelsEverythingGrowsByThirtyPercentAndTheFormIsCentred) {
    HeadlessWorld world;
    SetScreen(world, 800, 600);
    Designed& form = MakeDesigned(world);
    form.SetWidth(7000);
    form.SetHeight(3000);
    ui::ResizeControls(form);
    EXPECT_DOUBLE_EQ(form.Width(), 9100);
    EXPECT_DOUBLE_EQ(form.Left(), (800 * 15 - 9100) / 2.0);
    EXPECT_DOUBLE_EQ(form.Top(), (600 * 15 - 3900) / 2.0);
    EXPECT_DOUBLE_EQ(form.label.Height(), 390);
    EXPECT_DOUBLE_EQ(form.label.Width(), 1300);
    EXPECT_DOUBLE_EQ(form.label.Left(), 130);
    EXPECT_DOUBLE_EQ(form.label.Top(), 260);
    EXPECT_DOUBLE_EQ(form.label.Font().size, 20);
    EXPECT_DOUBLE_EQ(form.check.Font().size, 8.25 + 2);
    // The picture keeps its left edge and its height grows more than the rest.
    EXPECT_DOUBLE_EQ(form.picture.Left(), 0);
    EXPECT_DOUBLE_EQ(form.picture.Top(), -780);
    EXPECT_DOUBLE_EQ(form.picture.Height(), 2895 * 1.35);
    EXPECT_DOUBLE_EQ(form.picture.Width(), 1215 * 1.3);
    // The drive list moves and keeps its size and font.
    EXPECT_DOUBLE_EQ(form.drive.Left(), 2280 * 1.3);
    EXPECT_DOUBLE_EQ(form.drive.Top(), 240 * 1.3);
    EXPECT_DOUBLE_EQ(form.drive.Width(), 1935);
    EXPECT_DOUBLE_EQ(form.drive.Font().size, 8.25);
    for (const forms::Control* c : {static_cast<forms::Control*>(&form.file), static_cast<forms::Control*>(&form.dir),
                                    static_cast<forms::Control*>(&form.list)}) {
        EXPECT_DOUBLE_EQ(c->Width(), 39) << c->Name();
    }
    EXPECT_EQ(form.timer.Interval(), 400);
}

TEST(ResizeControls, On1280PixelsTheLargestBandApplies) {
    HeadlessWorld world;
    SetScreen(world, 1280, 1024);
    Designed& form = MakeDesigned(world);
    const double width = form.Width();
    ui::ResizeControls(form);
    EXPECT_DOUBLE_EQ(form.Width(), width * 1.6);
    EXPECT_DOUBLE_EQ(form.picture.Height(), 2895 * 1.7);
    EXPECT_DOUBLE_EQ(form.label.Font().size, 22);
}

TEST(ResizeControls, On640PixelsNothingIsResizedTheFormIsOnlyCentred) {
    HeadlessWorld world;
    SetScreen(world, 640, 480);
    Designed& form = MakeDesigned(world);
    const double width = form.Width();
    ui::ResizeControls(form);
    EXPECT_DOUBLE_EQ(form.Width(), width);
    EXPECT_DOUBLE_EQ(form.Left(), (640 * 15 - width) / 2);
    EXPECT_DOUBLE_EQ(form.label.Width(), 1000);
    EXPECT_DOUBLE_EQ(form.label.Font().size, 18);
}

TEST(LayoutBands, AreTakenAtTheDesignsDotsAnInchSoThatALargerDotIsNotEnlargedTwice) {
    struct Case {
        int widthPx;
        double twipsPerPixel;  // 15 at 96 dots an inch, 12 at 120, 10 at 144
        double size;
    };
    for (const Case c : {Case{1024, 15, 1.6}, Case{1024, 12, 1.3}, Case{1024, 10, 1}, Case{800, 15, 1.3},
                         Case{800, 10, 1}, Case{1920, 10, 1.6}, Case{1280, 12, 1.6}, Case{1152, 12, 1.3}}) {
        HeadlessWorld world;
        world.desktop.screen = {c.widthPx * c.twipsPerPixel, c.widthPx * c.twipsPerPixel * 0.75, c.twipsPerPixel,
                                c.twipsPerPixel};
        Designed& form = MakeDesigned(world);
        ui::ResizeControls(form);
        EXPECT_DOUBLE_EQ(form.label.Width(), 1000 * c.size) << c.widthPx << " px at " << c.twipsPerPixel;
    }
}

}  // namespace
