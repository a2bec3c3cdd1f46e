// A tiny interpreter of action blocks, for tests: enough of the stack
// machine to run the blocks this project writes and to record what a player
// would act on (url loads, fscommands, calls of player functions). It is
// strict where a player is lenient: popping an empty stack, a branch into
// the middle of an action or an unknown action is an error.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pagoro::swf {

class ActionMachine {
 public:
  struct Value {
    enum class Kind { kUndefined, kNull, kString, kNumber, kBool, kFunction };
    Kind kind = Kind::kUndefined;
    std::string text;
    double number = 0;
    bool boolean = false;
    std::span<const std::uint8_t> body;  // of a function
    std::vector<std::string> params;     // of a function

    static Value String(std::string s);
    static Value Number(double n);
    std::string ToString() const;
    bool ToBool() const;
    double ToNumber() const;
  };

  struct UrlRequest {
    std::string url;
    std::string target;
    int flags = -1;  // GetUrl2 flags; -1 for GetUrl
  };

  struct Call {
    std::string name;  // function name, or method name of a method call
    std::vector<Value> args;
  };

  // Variables of the main timeline.
  std::map<std::string, Value> variables;
  std::vector<UrlRequest> url_requests;
  // Calls of functions the block did not define (player functions).
  std::vector<Call> calls;
  std::optional<int> goto_frame;  // 0-based, from GotoFrame
  int frame_steps = 0;            // NextFrame counts +1, PrevFrame -1
  std::vector<std::string> traces;
  bool stopped = false;
  bool played = false;

  // Runs a block until End or its last byte. Function values refer into
  // the block: keep it alive while they are used. Returns false and sets
  // `error` on a fault. The stack must be empty afterwards for a clean run:
  // see `stack_size()`.
  bool Run(std::span<const std::uint8_t> block);
  // Runs a function value with the given arguments.
  bool Invoke(const Value& function, const std::vector<Value>& args);

  std::size_t stack_size() const { return stack_.size(); }
  const std::string& error() const { return error_; }

 private:
  bool Execute(std::span<const std::uint8_t> block, std::map<std::string, Value>* locals,
               Value* returned);
  bool Pop(Value& out);
  bool Fail(std::string message);

  std::vector<Value> stack_;
  std::string error_;
  int depth_ = 0;
};

}  // namespace pagoro::swf
