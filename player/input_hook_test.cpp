#include "player/input_hook.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace pagoro {
namespace {

// A widget that records the input events that reach it.
class Recorder : public QWidget {
 public:
  using QWidget::QWidget;
  std::vector<QEvent::Type> seen;

 protected:
  bool event(QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::ContextMenu: seen.push_back(e->type()); break;
      default: break;
    }
    return QWidget::event(e);
  }
};

class InputHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top_.resize(200, 150);
    child_ = new Recorder(&top_);
    child_->setGeometry(0, 0, 200, 150);
    child_->setFocusPolicy(Qt::StrongFocus);
    top_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top_));
    child_->setFocus();
    window_ = top_.windowHandle();
    ASSERT_NE(window_, nullptr);
    qApp->installEventFilter(&hook_);
    hook_.SetOnMessage([this](HookEvent kind, bool& handled) {
      calls_.push_back(kind);
      handled = drop_;
    });
  }
  void TearDown() override { qApp->removeEventFilter(&hook_); }

  void Key(bool press, int key, bool repeat) {
    QTest::simulateEvent(window_, press, key, Qt::NoModifier, QString(), repeat);
  }
  // Waits until a release pending now would have been told: a timer
  // started now and due after the hook's grace has fired (Qt runs due
  // timers in the order they fall due, however late it comes to them).
  static void PassTheGrace() {
    bool fired = false;
    QTimer::singleShot(2 * kGrace, Qt::PreciseTimer, [&] { fired = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired; }, 10000));
  }
  // Waits, with a generous bound for a busy machine, until the hook has
  // told the Escape key's release as often as given.
  bool WaitForReleases(std::ptrdiff_t count) {
    return QTest::qWaitFor(
        [&] {
          return std::count(calls_.begin(), calls_.end(), HookEvent::kEscapeReleased) >= count;
        },
        10000);
  }
  size_t ChildSaw(QEvent::Type type) const {
    return static_cast<size_t>(std::count(child_->seen.begin(), child_->seen.end(), type));
  }

  QWidget top_;
  Recorder* child_ = nullptr;
  QWindow* window_ = nullptr;
  static constexpr std::chrono::milliseconds kGrace{30};
  TApplicationEvents hook_{nullptr, kGrace};
  std::vector<HookEvent> calls_;
  bool drop_ = true;
};

// The filter sees each key event at the window and again at the focused
// widget; the hook reports it once, and a dropped event reaches no widget.
// The real release is told once no press has followed it.
TEST_F(InputHookTest, EscapeReleaseReportedOnceAndDropped) {
  Key(true, Qt::Key_Escape, false);
  Key(false, Qt::Key_Escape, false);
  EXPECT_EQ(calls_, std::vector<HookEvent>{HookEvent::kEscapeUp});
  ASSERT_TRUE(WaitForReleases(1));
  EXPECT_EQ(calls_, (std::vector<HookEvent>{HookEvent::kEscapeUp, HookEvent::kEscapeReleased}));
  EXPECT_EQ(ChildSaw(QEvent::KeyPress), 1u);
  EXPECT_EQ(ChildSaw(QEvent::KeyRelease), 0u);
}

// A held key: release/press pairs, flagged as auto-repeat or not (Qt
// misses the flag when the press is not queued yet); only the last release
// is the key's release. A release told while the key was held would show
// as a second one once the real release has been told.
TEST_F(InputHookTest, HeldEscapeIsReleasedOnceAtTheEnd) {
  Key(true, Qt::Key_Escape, false);
  for (bool flagged : {true, false, false, true}) {
    Key(false, Qt::Key_Escape, flagged);
    Key(true, Qt::Key_Escape, flagged);
  }
  PassTheGrace();
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), HookEvent::kEscapeReleased), 0);
  Key(false, Qt::Key_Escape, false);
  ASSERT_TRUE(WaitForReleases(1));
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), HookEvent::kEscapeUp), 5);
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), HookEvent::kEscapeReleased), 1);
  EXPECT_EQ(calls_.back(), HookEvent::kEscapeReleased);
  EXPECT_EQ(ChildSaw(QEvent::KeyPress), 5u);  // the presses pass on
  EXPECT_EQ(ChildSaw(QEvent::KeyRelease), 0u);
}

TEST_F(InputHookTest, OtherKeysAndEventsPass) {
  Key(true, Qt::Key_A, false);
  Key(false, Qt::Key_A, false);
  Key(false, Qt::Key_Enter, false);
  QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(ChildSaw(QEvent::KeyRelease), 2u);
  EXPECT_EQ(ChildSaw(QEvent::MouseButtonPress), 1u);
  EXPECT_EQ(ChildSaw(QEvent::MouseButtonRelease), 1u);
}

// A dropped right press reaches no widget and makes no context-menu event.
TEST_F(InputHookTest, RightPressReportedOnceAndNoContextMenu) {
  // Two quick presses at one place: Qt adds a double-click to the second.
  QTest::mousePress(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseRelease(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20), 0);
  QTest::mousePress(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20), 0);
  QTest::mouseRelease(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20), 0);
  EXPECT_EQ(calls_.front(), HookEvent::kRightPress);
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), HookEvent::kRightPress), 2);
  EXPECT_EQ(ChildSaw(QEvent::MouseButtonPress), 0u);
  EXPECT_EQ(ChildSaw(QEvent::MouseButtonDblClick), 0u);
  EXPECT_EQ(ChildSaw(QEvent::ContextMenu), 0u);
}

TEST_F(InputHookTest, NotHandledMeansDelivered) {
  drop_ = false;
  Key(false, Qt::Key_Escape, false);
  QTest::mouseClick(window_, Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
  EXPECT_EQ(calls_, (std::vector<HookEvent>{HookEvent::kEscapeUp, HookEvent::kRightPress}));
  EXPECT_EQ(ChildSaw(QEvent::KeyRelease), 1u);
  EXPECT_EQ(ChildSaw(QEvent::MouseButtonPress), 1u);
  EXPECT_EQ(ChildSaw(QEvent::ContextMenu), 1u);
}

TEST_F(InputHookTest, SuspendedHookLetsEverythingPass) {
  {
    TApplicationEvents::Suspension s(hook_);
    Key(false, Qt::Key_Escape, false);
    QTest::mousePress(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(window_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    PassTheGrace();
  }
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(ChildSaw(QEvent::KeyRelease), 1u);
  Key(false, Qt::Key_Escape, false);
  EXPECT_EQ(calls_.size(), 1u);
  // A box that comes up while a release settles swallows it.
  {
    TApplicationEvents::Suspension s(hook_);
    PassTheGrace();
  }
  EXPECT_EQ(calls_.size(), 1u);
}

// Escape pressed in a box closes it; its release, after the box has gone,
// is no Escape of the window. The next press and release is.
TEST_F(InputHookTest, EscapeThatClosedABoxIsNotReleasedAtTheWindow) {
  {
    TApplicationEvents::Suspension s(hook_);
    Key(true, Qt::Key_Escape, false);
  }
  Key(false, Qt::Key_Escape, false);
  PassTheGrace();
  EXPECT_EQ(calls_, (std::vector<HookEvent>{HookEvent::kEscapeUpOfBox}));
  Key(true, Qt::Key_Escape, false);
  Key(false, Qt::Key_Escape, false);
  PassTheGrace();
  EXPECT_EQ(calls_, (std::vector<HookEvent>{HookEvent::kEscapeUpOfBox, HookEvent::kEscapeUp,
                                            HookEvent::kEscapeReleased}));
}

// Events the program sends itself are not the platform's input.
TEST_F(InputHookTest, EventsSentInsideTheProgramAreNotTaken) {
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(window_, &release);
  QCoreApplication::sendEvent(child_, &release);
  EXPECT_TRUE(calls_.empty());
}

}  // namespace
}  // namespace pagoro

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
