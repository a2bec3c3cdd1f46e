// Buttons (DefineButton2): characters shown in the up, over and down states
// and a hit area, and action blocks run on mouse or key events.
#pragma once

#include <cstdint>
#include <vector>

#include "swf/tags.h"

namespace pagoro::swf {

// Button states a character is shown in.
namespace button_state {
constexpr std::uint8_t kUp = 0x01;
constexpr std::uint8_t kOver = 0x02;
constexpr std::uint8_t kDown = 0x04;
constexpr std::uint8_t kHitTest = 0x08;
constexpr std::uint8_t kAll = 0x0f;
}  // namespace button_state

// Mouse conditions of a button action.
namespace button_event {
constexpr std::uint16_t kRollOver = 0x0001;        // idle -> over up
constexpr std::uint16_t kRollOut = 0x0002;         // over up -> idle
constexpr std::uint16_t kPress = 0x0004;           // over up -> over down
constexpr std::uint16_t kRelease = 0x0008;         // over down -> over up
constexpr std::uint16_t kDragOut = 0x0010;         // over down -> out down
constexpr std::uint16_t kDragOver = 0x0020;        // out down -> over down
constexpr std::uint16_t kReleaseOutside = 0x0040;  // out down -> idle
}  // namespace button_event

// Key codes of on (keyPress ...) handlers: the special keys, else the
// character's code (32..126).
namespace key_press {
constexpr std::uint8_t kLeft = 1;
constexpr std::uint8_t kRight = 2;
constexpr std::uint8_t kHome = 3;
constexpr std::uint8_t kEnd = 4;
constexpr std::uint8_t kInsert = 5;
constexpr std::uint8_t kDelete = 6;
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kUp = 14;
constexpr std::uint8_t kDown = 15;
constexpr std::uint8_t kPageUp = 16;
constexpr std::uint8_t kPageDown = 17;
constexpr std::uint8_t kTab = 18;
constexpr std::uint8_t kEscape = 19;
}  // namespace key_press

struct ButtonRecord {
  std::uint8_t states = button_state::kAll;
  std::uint16_t character_id = 0;
  std::uint16_t depth = 1;
  Matrix matrix;
};

struct ButtonAction {
  std::uint16_t events = button_event::kRelease;  // mouse conditions
  std::uint8_t key = 0;                           // a key_press code, 0 for none
  Bytes actions;                                  // ActionBuilder::Finish()
};

struct Button {
  std::uint16_t id = 0;
  bool track_as_menu = false;
  std::vector<ButtonRecord> records;
  std::vector<ButtonAction> actions;
};

Tag DefineButton2(const Button& button);

}  // namespace pagoro::swf
