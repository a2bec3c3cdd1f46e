// Builds action (bytecode) blocks for DoAction tags, button and clip events
// and function bodies. Each call appends one action; the value stack is the
// caller's business. Branches go to labels, resolved when the block ends.
//
//   ActionBuilder a;
//   a.Push("counter").GetVariable().Push(1).Add2().Push("counter");
//   ...
//   Bytes block = a.Finish();   // ends with the End action
//
// Strings are written as given: UTF-8 for movies of version 6 and later,
// single-byte text for version 5.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "swf/byte_writer.h"

namespace pagoro::swf {

// Action codes.
enum class Op : std::uint8_t {
  kEnd = 0x00,
  kNextFrame = 0x04,
  kPrevFrame = 0x05,
  kPlay = 0x06,
  kStop = 0x07,
  kAdd = 0x0A,
  kSubtract = 0x0B,
  kMultiply = 0x0C,
  kDivide = 0x0D,
  kEquals = 0x0E,
  kLess = 0x0F,
  kAnd = 0x10,
  kOr = 0x11,
  kNot = 0x12,
  kStringEquals = 0x13,
  kPop = 0x17,
  kToInteger = 0x18,
  kGetVariable = 0x1C,
  kSetVariable = 0x1D,
  kStringAdd = 0x21,
  kGetProperty = 0x22,
  kSetProperty = 0x23,
  kTrace = 0x26,
  kDelete = 0x3A,
  kDelete2 = 0x3B,
  kDefineLocal = 0x3C,
  kCallFunction = 0x3D,
  kReturn = 0x3E,
  kModulo = 0x3F,
  kNewObject = 0x40,
  kDefineLocal2 = 0x41,
  kInitArray = 0x42,
  kInitObject = 0x43,
  kTypeOf = 0x44,
  kAdd2 = 0x47,
  kLess2 = 0x48,
  kEquals2 = 0x49,
  kToNumber = 0x4A,
  kToString = 0x4B,
  kPushDuplicate = 0x4C,
  kStackSwap = 0x4D,
  kGetMember = 0x4E,
  kSetMember = 0x4F,
  kIncrement = 0x50,
  kDecrement = 0x51,
  kCallMethod = 0x52,
  kNewMethod = 0x53,
  kStrictEquals = 0x66,
  kGreater = 0x67,
  kGotoFrame = 0x81,
  kGetUrl = 0x83,
  kStoreRegister = 0x87,
  kConstantPool = 0x88,
  kSetTarget = 0x8B,
  kGotoLabel = 0x8C,
  kDefineFunction2 = 0x8E,
  kPush = 0x96,
  kJump = 0x99,
  kGetUrl2 = 0x9A,
  kDefineFunction = 0x9B,
  kIf = 0x9D,
  kGotoFrame2 = 0x9F,
};

// Flags of the GetUrl2 action.
namespace geturl2 {
constexpr std::uint8_t kLoadVariables = 0x80;  // load name=value pairs instead of a page
constexpr std::uint8_t kLoadTarget = 0x40;     // the target is a clip, not a window
constexpr std::uint8_t kMethodGet = 0x01;      // send the clip's variables with GET
constexpr std::uint8_t kMethodPost = 0x02;     // ... or with POST
}  // namespace geturl2

// The url prefix that makes a GetUrl call an fscommand.
inline constexpr std::string_view kFsCommandPrefix = "FSCommand:";

class ActionBuilder {
 public:
  // A branch target inside this builder.
  struct Label {
    std::size_t id;
  };

  // Pushes one value each.
  ActionBuilder& Push(std::string_view s);
  ActionBuilder& Push(const char* s) { return Push(std::string_view(s)); }
  ActionBuilder& Push(const std::string& s) { return Push(std::string_view(s)); }
  ActionBuilder& Push(int v);  // a 32-bit integer
  ActionBuilder& PushDouble(double v);
  ActionBuilder& PushBool(bool v);
  ActionBuilder& PushNull();
  ActionBuilder& PushUndefined();
  ActionBuilder& PushRegister(std::uint8_t reg);

  // Actions without operands.
  ActionBuilder& Do(Op op);
  ActionBuilder& GetVariable() { return Do(Op::kGetVariable); }
  ActionBuilder& SetVariable() { return Do(Op::kSetVariable); }
  ActionBuilder& GetMember() { return Do(Op::kGetMember); }
  ActionBuilder& SetMember() { return Do(Op::kSetMember); }
  ActionBuilder& CallFunction() { return Do(Op::kCallFunction); }
  ActionBuilder& CallMethod() { return Do(Op::kCallMethod); }
  ActionBuilder& NewObject() { return Do(Op::kNewObject); }
  ActionBuilder& Pop() { return Do(Op::kPop); }
  ActionBuilder& Equals2() { return Do(Op::kEquals2); }
  ActionBuilder& Less2() { return Do(Op::kLess2); }
  ActionBuilder& Add2() { return Do(Op::kAdd2); }
  ActionBuilder& StringAdd() { return Do(Op::kStringAdd); }
  ActionBuilder& Not() { return Do(Op::kNot); }
  ActionBuilder& Play() { return Do(Op::kPlay); }
  ActionBuilder& Stop() { return Do(Op::kStop); }
  ActionBuilder& NextFrame() { return Do(Op::kNextFrame); }
  ActionBuilder& PrevFrame() { return Do(Op::kPrevFrame); }
  ActionBuilder& Return() { return Do(Op::kReturn); }

  // Actions with operands.
  ActionBuilder& StoreRegister(std::uint8_t reg);
  // Frame numbers count from 0.
  ActionBuilder& GotoFrame(std::uint16_t frame);
  ActionBuilder& GotoLabel(std::string_view label);
  // Pops a frame number (counting from 1) or label; plays on when `play`.
  ActionBuilder& GotoFrame2(bool play);
  ActionBuilder& GetUrl(std::string_view url, std::string_view target);
  // Pops target and url (url pushed first).
  ActionBuilder& GetUrl2(std::uint8_t flags);
  ActionBuilder& SetTarget(std::string_view target);

  // Branches. A label is bound once; a branch may go forwards or backwards.
  Label NewLabel();
  ActionBuilder& Bind(Label label);
  ActionBuilder& Jump(Label label);
  // Pops a value and branches when it is true.
  ActionBuilder& If(Label label);

  // A function with named parameters. With an empty name the function
  // object is pushed; otherwise it is stored in a variable of that name.
  ActionBuilder& DefineFunction(std::string_view name, const std::vector<std::string>& params,
                                const ActionBuilder& body);

  // Shorthands for what compilers emit for common calls.
  // fscommand(command, args) with both strings known.
  ActionBuilder& FsCommand(std::string_view command, std::string_view args);
  // name(args...) with the arguments already pushed, last one first.
  ActionBuilder& CallFunction(std::string_view name, int arg_count);
  // object.method(args...) with the arguments already pushed (last one
  // first) and the object pushed after them.
  ActionBuilder& CallMethod(std::string_view method, int arg_count);
  // new Class(args...) with the arguments already pushed, last one first.
  ActionBuilder& NewObject(std::string_view class_name, int arg_count);

  // loadMovieNum(url, level) with the url already pushed.
  ActionBuilder& LoadMovieNum(int level);
  // loadMovie(url, target) with the url, then the target clip's path pushed.
  ActionBuilder& LoadMovie() { return GetUrl2(geturl2::kLoadTarget); }
  // loadVariablesNum(url, level) with the url already pushed.
  ActionBuilder& LoadVariablesNum(int level);
  // trace(value) with the value pushed.
  ActionBuilder& Trace() { return Do(Op::kTrace); }

  // The block ending with the End action; for DoAction tags and events.
  // Throws std::logic_error on an unbound label or a branch out of range.
  Bytes Finish() const;
  // The block without the End action; for function bodies.
  Bytes Body() const;

 private:
  void Action(Op op, const Bytes& payload);
  void PushValue(std::uint8_t type, const Bytes& payload);

  struct Branch {
    std::size_t offset_at;  // where the 16-bit offset goes
    std::size_t label;
  };
  static constexpr std::size_t kUnbound = static_cast<std::size_t>(-1);

  ByteWriter code_;
  std::vector<std::size_t> labels_;  // position of each label, or kUnbound
  std::vector<Branch> branches_;
};

}  // namespace pagoro::swf
