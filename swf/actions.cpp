#include "swf/actions.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace pagoro::swf {

namespace {

// Push value types.
constexpr std::uint8_t kPushString = 0;
constexpr std::uint8_t kPushNull = 2;
constexpr std::uint8_t kPushUndefined = 3;
constexpr std::uint8_t kPushRegister = 4;
constexpr std::uint8_t kPushBoolean = 5;
constexpr std::uint8_t kPushDouble = 6;
constexpr std::uint8_t kPushInteger = 7;

std::uint16_t CheckedLength(std::size_t n, const char* what) {
  if (n > std::numeric_limits<std::uint16_t>::max()) {
    throw std::length_error(std::string(what) + " longer than 65535 bytes");
  }
  return static_cast<std::uint16_t>(n);
}

}  // namespace

void ActionBuilder::Action(Op op, const Bytes& payload) {
  code_.U8(static_cast<std::uint8_t>(op));
  if (static_cast<std::uint8_t>(op) >= 0x80) {
    code_.U16(CheckedLength(payload.size(), "action"));
    code_.Raw(payload);
  } else if (!payload.empty()) {
    throw std::logic_error("action without length given a payload");
  }
}

void ActionBuilder::PushValue(std::uint8_t type, const Bytes& payload) {
  ByteWriter w;
  w.U8(type);
  w.Raw(payload);
  Action(Op::kPush, w.bytes());
}

ActionBuilder& ActionBuilder::Push(std::string_view s) {
  ByteWriter w;
  w.String(s);
  PushValue(kPushString, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::Push(int v) {
  ByteWriter w;
  w.I32(v);
  PushValue(kPushInteger, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::PushDouble(double v) {
  ByteWriter w;
  w.ActionDouble(v);
  PushValue(kPushDouble, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::PushBool(bool v) {
  PushValue(kPushBoolean, Bytes{static_cast<std::uint8_t>(v ? 1 : 0)});
  return *this;
}

ActionBuilder& ActionBuilder::PushNull() {
  PushValue(kPushNull, {});
  return *this;
}

ActionBuilder& ActionBuilder::PushUndefined() {
  PushValue(kPushUndefined, {});
  return *this;
}

ActionBuilder& ActionBuilder::PushRegister(std::uint8_t reg) {
  PushValue(kPushRegister, Bytes{reg});
  return *this;
}

ActionBuilder& ActionBuilder::Do(Op op) {
  if (static_cast<std::uint8_t>(op) >= 0x80) {
    throw std::logic_error("action needs operands");
  }
  Action(op, {});
  return *this;
}

ActionBuilder& ActionBuilder::StoreRegister(std::uint8_t reg) {
  Action(Op::kStoreRegister, Bytes{reg});
  return *this;
}

ActionBuilder& ActionBuilder::GotoFrame(std::uint16_t frame) {
  ByteWriter w;
  w.U16(frame);
  Action(Op::kGotoFrame, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::GotoLabel(std::string_view label) {
  ByteWriter w;
  w.String(label);
  Action(Op::kGotoLabel, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::GotoFrame2(bool play) {
  Action(Op::kGotoFrame2, Bytes{static_cast<std::uint8_t>(play ? 1 : 0)});
  return *this;
}

ActionBuilder& ActionBuilder::GetUrl(std::string_view url, std::string_view target) {
  ByteWriter w;
  w.String(url);
  w.String(target);
  Action(Op::kGetUrl, w.bytes());
  return *this;
}

ActionBuilder& ActionBuilder::GetUrl2(std::uint8_t flags) {
  Action(Op::kGetUrl2, Bytes{flags});
  return *this;
}

ActionBuilder& ActionBuilder::SetTarget(std::string_view target) {
  ByteWriter w;
  w.String(target);
  Action(Op::kSetTarget, w.bytes());
  return *this;
}

ActionBuilder::Label ActionBuilder::NewLabel() {
  labels_.push_back(kUnbound);
  return Label{labels_.size() - 1};
}

ActionBuilder& ActionBuilder::Bind(Label label) {
  if (labels_.at(label.id) != kUnbound) throw std::logic_error("label bound twice");
  labels_[label.id] = code_.size();
  return *this;
}

ActionBuilder& ActionBuilder::Jump(Label label) {
  Action(Op::kJump, Bytes{0, 0});
  branches_.push_back({code_.size() - 2, label.id});
  return *this;
}

ActionBuilder& ActionBuilder::If(Label label) {
  Action(Op::kIf, Bytes{0, 0});
  branches_.push_back({code_.size() - 2, label.id});
  return *this;
}

ActionBuilder& ActionBuilder::DefineFunction(std::string_view name,
                                             const std::vector<std::string>& params,
                                             const ActionBuilder& body) {
  const Bytes code = body.Body();
  ByteWriter w;
  w.String(name);
  w.U16(CheckedLength(params.size(), "parameter list"));
  for (const auto& p : params) w.String(p);
  // The body follows the action; its size is not part of the action length.
  w.U16(CheckedLength(code.size(), "function body"));
  Action(Op::kDefineFunction, w.bytes());
  code_.Raw(code);
  return *this;
}

ActionBuilder& ActionBuilder::FsCommand(std::string_view command, std::string_view args) {
  return GetUrl(std::string(kFsCommandPrefix) + std::string(command), args);
}

ActionBuilder& ActionBuilder::CallFunction(std::string_view name, int arg_count) {
  return Push(arg_count).Push(name).CallFunction();
}

ActionBuilder& ActionBuilder::CallMethod(std::string_view method, int arg_count) {
  // The object is on top of the stack; the count goes below it.
  return Push(arg_count).Do(Op::kStackSwap).Push(method).CallMethod();
}

ActionBuilder& ActionBuilder::NewObject(std::string_view class_name, int arg_count) {
  return Push(arg_count).Push(class_name).NewObject();
}

ActionBuilder& ActionBuilder::LoadMovieNum(int level) {
  return Push("_level" + std::to_string(level)).GetUrl2(0);
}

ActionBuilder& ActionBuilder::LoadVariablesNum(int level) {
  return Push("_level" + std::to_string(level)).GetUrl2(geturl2::kLoadVariables);
}

Bytes ActionBuilder::Body() const {
  Bytes code = code_.bytes();
  for (const Branch& b : branches_) {
    const std::size_t target = labels_.at(b.label);
    if (target == kUnbound) throw std::logic_error("branch to an unbound label");
    // Offsets count from the end of the branch action.
    const auto offset = static_cast<long long>(target) - static_cast<long long>(b.offset_at + 2);
    if (offset < std::numeric_limits<std::int16_t>::min() ||
        offset > std::numeric_limits<std::int16_t>::max()) {
      throw std::logic_error("branch out of range");
    }
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(offset));
    code[b.offset_at] = static_cast<std::uint8_t>(v & 0xff);
    code[b.offset_at + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  return code;
}

Bytes ActionBuilder::Finish() const {
  Bytes code = Body();
  code.push_back(static_cast<std::uint8_t>(Op::kEnd));
  return code;
}

}  // namespace pagoro::swf
