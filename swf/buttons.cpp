#include "swf/buttons.h"

#include <limits>
#include <stdexcept>

namespace pagoro::swf {

namespace {

// Identity colour transform with alpha: no add terms, no multiply terms.
void WriteNoColorTransform(ByteWriter& w) {
  BitWriter bits;
  bits.UB(1, 0);
  bits.UB(1, 0);
  bits.UB(4, 0);
  bits.FlushTo(w);
}

}  // namespace

Tag DefineButton2(const Button& button) {
  if (button.records.empty()) throw std::invalid_argument("button without characters");
  ByteWriter w;
  w.U16(button.id);
  w.U8(button.track_as_menu ? 1 : 0);
  const std::size_t action_offset_at = w.size();
  w.U16(0);  // offset to the first action, patched below
  for (const ButtonRecord& r : button.records) {
    // A zero state byte would read as the end of the records.
    if ((r.states & button_state::kAll) == 0)
      throw std::invalid_argument("button record without states");
    w.U8(r.states);
    w.U16(r.character_id);
    w.U16(r.depth);
    WriteMatrix(w, r.matrix);
    WriteNoColorTransform(w);
  }
  w.U8(0);  // end of the records

  if (!button.actions.empty()) {
    // Offsets count from the offset field itself.
    const std::size_t offset = w.size() - action_offset_at;
    if (offset > std::numeric_limits<std::uint16_t>::max())
      throw std::length_error("button too large");
    w.PatchU16(action_offset_at, static_cast<std::uint16_t>(offset));
  }
  for (std::size_t i = 0; i < button.actions.size(); ++i) {
    const ButtonAction& a = button.actions[i];
    if (a.key > 0x7f) throw std::invalid_argument("button key code out of range");
    const bool last = i + 1 == button.actions.size();
    const std::size_t size = 4 + a.actions.size();
    if (size > std::numeric_limits<std::uint16_t>::max()) {
      throw std::length_error("button action longer than 65535 bytes");
    }
    w.U16(last ? 0 : static_cast<std::uint16_t>(size));
    w.U16(static_cast<std::uint16_t>((a.events & 0x1ff) | (a.key << 9)));
    w.Raw(a.actions);
  }
  return Tag{TagCode::kDefineButton2, w.Take()};
}

}  // namespace pagoro::swf
