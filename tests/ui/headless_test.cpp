// The headless backend as tests use it: scripted message boxes, input delivered during a
// polling loop's DoEvents, the screen pointer, and the checks that keep the model honest.
#include <gtest/gtest.h>

#include <string>

#include "sim/headless_ui.h"

namespace qm {
namespace {

using namespace ui;

// A screen that waits in a polling loop, the way the calibration screen waits for a touch:
// Esc asks whether to break off.
class Waiter : public Form {
  public:
    explicit Waiter(Application& app) : Form(app, "frmWait") {
        picSurface.onKeyPress = [this](int& key) {
            if (key != vbKeyEscape) return;
            breakRequested = App().MsgBox("Are you sure you want to break calibration?",
                                          vbYesNo + vbQuestion + vbSystemModal + vbDefaultButton2,
                                          "TouchScreen Calibration") == vbYes;
        };
    }
    PictureBox picSurface{*this, "picSurface"};
    bool breakRequested = false;
    int polls = 0;

    // Polls until a break is requested or `limit` polls have passed.
    void Wait(int limit) {
        while (!breakRequested && polls < limit) {
            ++polls;
            App().DoEvents();
        }
    }
};

class Headless : public ::testing::Test {
  protected:
    sim::HeadlessUi ui;
    Application app{ui};
};

TEST_F(Headless, MessageBoxesAreAnsweredFromTheScriptAndRecorded) {
    app.SetTitle(" TouchScreen Control Panel #QM-COM");
    ui.Answer({vbOK, vbNo});
    EXPECT_EQ(app.MsgBox("Fail to open QMWS3COM.sys!", vbCritical + vbSystemModal), vbOK);
    EXPECT_EQ(app.MsgBox("Keep it?", vbYesNo + vbQuestion, "TouchScreen Calibration"), vbNo);
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].text, "Fail to open QMWS3COM.sys!");
    EXPECT_EQ(ui.Boxes()[0].flags, 16 + 4096);
    EXPECT_EQ(ui.Boxes()[0].title, " TouchScreen Control Panel #QM-COM");  // the default title
    EXPECT_EQ(ui.Boxes()[1].title, "TouchScreen Calibration");
    EXPECT_EQ(ui.Boxes()[1].answer, vbNo);
    EXPECT_EQ(ui.PendingAnswers(), 0u);
}

TEST_F(Headless, ABoxWithoutAnAnswerOrWithAWrongOneFailsLoudly) {
    EXPECT_THROW(app.MsgBox("Application is running!", vbCritical), sim::UnscriptedMessageBox);
    ui.Answer(vbYes);  // an OK-only box has no Yes button
    EXPECT_THROW(app.MsgBox("TouchScreen Controller Not Found!", vbOKOnly),
                 sim::UnscriptedMessageBox);
    ui.Answer(vbCancel);
    EXPECT_THROW(app.MsgBox("Keep it?", vbYesNo), sim::UnscriptedMessageBox);
    EXPECT_EQ(ui.Boxes().size(), 3u);  // still recorded
    // A test may answer on the fly instead.
    ui.onUnscripted = [](const sim::HeadlessUi::Box& box) {
        return box.flags & vbYesNo ? vbYes : vbOK;
    };
    EXPECT_EQ(app.MsgBox("Keep it?", vbYesNo), vbYes);
}

TEST_F(Headless, InputQueuedForTheThirdDoEventsArrivesThere) {
    Waiter frm(app);
    frm.Show();
    frm.picSurface.SetFocus();
    ui.Answer(vbYes);
    int seenAt = -1;
    ui.AtDoEvents(3, [&] {
        seenAt = frm.polls;
        ui.PressKey(frm, vbKeyEscape);
    });
    frm.Wait(100);
    EXPECT_EQ(seenAt, 3);
    EXPECT_TRUE(frm.breakRequested);
    EXPECT_EQ(frm.polls, 3);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].flags, vbYesNo + vbQuestion + vbSystemModal + vbDefaultButton2);
}

TEST_F(Headless, AnsweringNoLetsTheLoopGoOn) {
    Waiter frm(app);
    frm.Show();
    frm.picSurface.SetFocus();
    ui.Answer({vbNo, vbYes});
    ui.AtDoEvents(2, [&] { ui.PressKey(frm, vbKeyEscape); });
    ui.AtDoEvents(5, [&] { ui.PressKey(frm, vbKeyEscape); });
    frm.Wait(100);
    EXPECT_EQ(frm.polls, 5);
    EXPECT_EQ(ui.Boxes().size(), 2u);
}

TEST_F(Headless, AProgramThatPollsForeverIsStopped) {
    Waiter frm(app);
    frm.Show();
    ui.SetDoEventsLimit(50);
    EXPECT_THROW(frm.Wait(1000), std::runtime_error);
}

TEST_F(Headless, ScreenPointerAndBeeps) {
    app.screen.SetMousePointer(vbHourglass);
    EXPECT_EQ(ui.ScreenMousePointer(), 11);
    app.screen.SetMousePointer(vbDefault);
    app.Beep();
    EXPECT_EQ(ui.ScreenMousePointer(), 0);
    EXPECT_EQ(ui.Beeps(), 1);
}

TEST_F(Headless, PeersExistExactlyWhileTheFormIsLoaded) {
    // Updates reach the backend only for live peers; the headless backend throws on any other.
    Waiter frm(app);
    frm.picSurface.SetBackColor(vbRed);
    EXPECT_EQ(ui.Updates(Prop::Colors), 0);
    frm.Show();
    frm.picSurface.SetBackColor(vbBlue);
    EXPECT_EQ(ui.Updates(Prop::Colors), 1);
    frm.Unload();
    frm.picSurface.SetBackColor(vbGreen);  // unloaded: model only
    EXPECT_EQ(ui.Updates(Prop::Colors), 1);
    EXPECT_FALSE(ui.HasPeer(frm.picSurface));
}

TEST_F(Headless, ControlsAreFoundByTheirNames) {
    class Arrays : public Form {
      public:
        explicit Arrays(Application& app) : Form(app, "frmFeedbackSound") {}
        ui::Frame Frame1{*this, "Frame1"};
        ControlArray<OptionButton> optFeedbackSound{Frame1, "optFeedbackSound", {1, 2, 3, 4}};
    } frm(app);
    EXPECT_EQ(frm.FindByName("optFeedbackSound(3)"), &frm.optFeedbackSound(3));
    EXPECT_EQ(frm.optFeedbackSound(3).BaseName(), "optFeedbackSound");
    EXPECT_EQ(frm.optFeedbackSound(3).Index(), 3);
    EXPECT_EQ(frm.FindByName("frmFeedbackSound"), &frm);
    EXPECT_EQ(frm.optFeedbackSound.LBound(), 1);
    EXPECT_EQ(frm.optFeedbackSound.UBound(), 4);
    EXPECT_THROW(frm.optFeedbackSound(0), std::out_of_range);
}

}  // namespace
}  // namespace qm
