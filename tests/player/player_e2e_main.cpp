// The end-to-end tests of the player need a QApplication, made after the
// player's URL scheme is registered, and a display (tests/with-display.sh).
#include <gtest/gtest.h>

#include <QApplication>

#include "player/shockwave_flash.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pagoro::TShockwaveFlash::RegisterScheme();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
