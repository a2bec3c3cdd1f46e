#include "testing/action_machine.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "swf/actions.h"
#include "swf/swf_reader.h"

namespace pagoro::swf {

namespace {

using Kind = ActionMachine::Value::Kind;

// Reads operands of an action payload.
class Operands {
 public:
  explicit Operands(std::span<const std::uint8_t> p) : p_(p) {}
  bool Done() const { return at_ >= p_.size(); }
  std::optional<std::uint8_t> U8() {
    if (at_ + 1 > p_.size()) return std::nullopt;
    return p_[at_++];
  }
  std::optional<std::uint16_t> U16() {
    if (at_ + 2 > p_.size()) return std::nullopt;
    const auto v = static_cast<std::uint16_t>(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return v;
  }
  std::optional<std::uint32_t> U32() {
    const auto lo = U16();
    const auto hi = U16();
    if (!lo || !hi) return std::nullopt;
    return static_cast<std::uint32_t>(*lo | (static_cast<std::uint32_t>(*hi) << 16));
  }
  std::optional<std::string> String() {
    const void* end = std::memchr(p_.data() + at_, 0, p_.size() - at_);
    if (at_ >= p_.size() || end == nullptr) return std::nullopt;
    const auto n =
        static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - p_.data()) - at_;
    std::string s(reinterpret_cast<const char*>(p_.data() + at_), n);
    at_ += n + 1;
    return s;
  }

 private:
  std::span<const std::uint8_t> p_;
  std::size_t at_ = 0;
};

bool Equal(const ActionMachine::Value& a, const ActionMachine::Value& b) {
  const auto nullish = [](const ActionMachine::Value& v) {
    return v.kind == Kind::kUndefined || v.kind == Kind::kNull;
  };
  if (nullish(a) || nullish(b)) return nullish(a) && nullish(b);
  if (a.kind == Kind::kString && b.kind == Kind::kString) return a.text == b.text;
  if (a.kind == Kind::kFunction || b.kind == Kind::kFunction) return false;
  return a.ToNumber() == b.ToNumber();
}

}  // namespace

ActionMachine::Value ActionMachine::Value::String(std::string s) {
  Value v;
  v.kind = Kind::kString;
  v.text = std::move(s);
  return v;
}

ActionMachine::Value ActionMachine::Value::Number(double n) {
  Value v;
  v.kind = Kind::kNumber;
  v.number = n;
  return v;
}

std::string ActionMachine::Value::ToString() const {
  switch (kind) {
    case Kind::kUndefined: return "undefined";
    case Kind::kNull: return "null";
    case Kind::kString: return text;
    case Kind::kBool: return boolean ? "true" : "false";
    case Kind::kFunction: return "[type Function]";
    case Kind::kNumber: {
      if (number == std::floor(number) && std::fabs(number) < 1e15) {
        return std::to_string(static_cast<long long>(number));
      }
      return std::to_string(number);
    }
  }
  return {};
}

bool ActionMachine::Value::ToBool() const {
  switch (kind) {
    case Kind::kUndefined:
    case Kind::kNull: return false;
    case Kind::kBool: return boolean;
    case Kind::kNumber: return number != 0 && !std::isnan(number);
    case Kind::kString: return !text.empty();
    case Kind::kFunction: return true;
  }
  return false;
}

double ActionMachine::Value::ToNumber() const {
  switch (kind) {
    case Kind::kNumber: return number;
    case Kind::kBool: return boolean ? 1 : 0;
    case Kind::kString: {
      char* end = nullptr;
      const double d = std::strtod(text.c_str(), &end);
      return (end != text.c_str() && *end == '\0') ? d : NAN;
    }
    default: return NAN;
  }
}

bool ActionMachine::Fail(std::string message) {
  if (error_.empty()) error_ = std::move(message);
  return false;
}

bool ActionMachine::Pop(Value& out) {
  if (stack_.empty()) return Fail("pop from an empty stack");
  out = std::move(stack_.back());
  stack_.pop_back();
  return true;
}

bool ActionMachine::Run(std::span<const std::uint8_t> block) {
  return Execute(block, nullptr, nullptr);
}

bool ActionMachine::Invoke(const Value& function, const std::vector<Value>& args) {
  if (function.kind != Kind::kFunction) return Fail("call of a value that is no function");
  if (++depth_ > 32) return Fail("calls nested too deep");
  std::map<std::string, Value> locals;
  for (std::size_t i = 0; i < function.params.size(); ++i) {
    locals[function.params[i]] = i < args.size() ? args[i] : Value{};
  }
  std::vector<Value> outer;
  outer.swap(stack_);
  Value returned;
  const bool ok = Execute(function.body, &locals, &returned);
  if (ok && !stack_.empty()) Fail("function left values on the stack");
  stack_ = std::move(outer);
  stack_.push_back(returned);
  --depth_;
  return ok && error_.empty();
}

bool ActionMachine::Execute(std::span<const std::uint8_t> block,
                            std::map<std::string, Value>* locals, Value* returned) {
  std::size_t at = 0;
  std::vector<std::string> pool;
  Value registers[4];
  int steps = 0;
  const auto lookup = [&](const std::string& name) -> Value {
    if (locals != nullptr && locals->contains(name)) return locals->at(name);
    auto it = variables.find(name);
    return it == variables.end() ? Value{} : it->second;
  };
  while (at < block.size()) {
    if (++steps > 100000) return Fail("too many steps");
    const auto r = ReadAction(block, at);
    if (!r) return Fail("action runs past the block at " + std::to_string(at));
    std::size_t next = r->next();
    Operands ops(r->payload);
    Value a, b;
    switch (static_cast<Op>(r->code)) {
      case Op::kEnd: return true;
      case Op::kPush:
        while (!ops.Done()) {
          const auto type = ops.U8();
          Value v;
          if (*type == 0) {
            const auto s = ops.String();
            if (!s) return Fail("bad string in Push");
            v = Value::String(*s);
          } else if (*type == 2) {
            v.kind = Kind::kNull;
          } else if (*type == 3) {
            v.kind = Kind::kUndefined;
          } else if (*type == 4) {
            const auto reg = ops.U8();
            if (!reg || *reg >= 4) return Fail("bad register in Push");
            v = registers[*reg];
          } else if (*type == 5) {
            const auto flag = ops.U8();
            if (!flag) return Fail("bad boolean in Push");
            v.kind = Kind::kBool;
            v.boolean = *flag != 0;
          } else if (*type == 6) {
            const auto hi = ops.U32();
            const auto lo = ops.U32();
            if (!hi || !lo) return Fail("bad double in Push");
            v = Value::Number(std::bit_cast<double>((static_cast<std::uint64_t>(*hi) << 32) | *lo));
          } else if (*type == 7) {
            const auto i = ops.U32();
            if (!i) return Fail("bad integer in Push");
            v = Value::Number(static_cast<std::int32_t>(*i));
          } else if (*type == 8 || *type == 9) {
            std::optional<std::size_t> index;
            if (*type == 8) {
              if (const auto i = ops.U8()) index = *i;
            } else if (const auto i = ops.U16()) {
              index = *i;
            }
            if (!index || *index >= pool.size()) return Fail("bad constant in Push");
            v = Value::String(pool[*index]);
          } else {
            return Fail("unknown Push type " + std::to_string(*type));
          }
          stack_.push_back(v);
        }
        break;
      case Op::kConstantPool: {
        const auto count = ops.U16();
        if (!count) return Fail("bad ConstantPool");
        pool.clear();
        for (int i = 0; i < *count; ++i) {
          const auto s = ops.String();
          if (!s) return Fail("bad ConstantPool");
          pool.push_back(*s);
        }
        break;
      }
      case Op::kPop:
        if (!Pop(a)) return false;
        break;
      case Op::kPushDuplicate:
        if (!Pop(a)) return false;
        stack_.push_back(a);
        stack_.push_back(a);
        break;
      case Op::kStackSwap:
        if (!Pop(a) || !Pop(b)) return false;
        stack_.push_back(a);
        stack_.push_back(b);
        break;
      case Op::kStoreRegister: {
        const auto reg = ops.U8();
        if (!reg || *reg >= 4 || stack_.empty()) return Fail("bad StoreRegister");
        registers[*reg] = stack_.back();
        break;
      }
      case Op::kGetVariable:
        if (!Pop(a)) return false;
        stack_.push_back(lookup(a.ToString()));
        break;
      case Op::kSetVariable:
        if (!Pop(a) || !Pop(b)) return false;
        if (locals != nullptr && locals->contains(b.ToString())) {
          (*locals)[b.ToString()] = a;
        } else {
          variables[b.ToString()] = a;
        }
        break;
      case Op::kDefineLocal:
        if (!Pop(a) || !Pop(b)) return false;
        if (locals == nullptr) return Fail("DefineLocal outside a function");
        (*locals)[b.ToString()] = a;
        break;
      case Op::kEquals2:
        if (!Pop(a) || !Pop(b)) return false;
        stack_.push_back(Value{Kind::kBool, {}, 0, Equal(a, b), {}, {}});
        break;
      case Op::kLess2:
        if (!Pop(a) || !Pop(b)) return false;
        stack_.push_back(Value{Kind::kBool, {}, 0, b.ToNumber() < a.ToNumber(), {}, {}});
        break;
      case Op::kNot:
        if (!Pop(a)) return false;
        stack_.push_back(Value{Kind::kBool, {}, 0, !a.ToBool(), {}, {}});
        break;
      case Op::kStringAdd:
        if (!Pop(a) || !Pop(b)) return false;
        stack_.push_back(Value::String(b.ToString() + a.ToString()));
        break;
      case Op::kAdd2:
        if (!Pop(a) || !Pop(b)) return false;
        if (a.kind == Kind::kString || b.kind == Kind::kString) {
          stack_.push_back(Value::String(b.ToString() + a.ToString()));
        } else {
          stack_.push_back(Value::Number(b.ToNumber() + a.ToNumber()));
        }
        break;
      case Op::kIncrement:
      case Op::kDecrement:
        if (!Pop(a)) return false;
        stack_.push_back(Value::Number(a.ToNumber() + (r->code == 0x50 ? 1 : -1)));
        break;
      case Op::kJump:
      case Op::kIf: {
        const auto offset = ops.U16();
        if (!offset) return Fail("bad branch");
        bool take = true;
        if (static_cast<Op>(r->code) == Op::kIf) {
          if (!Pop(a)) return false;
          take = a.ToBool();
        }
        if (take) {
          const auto target = static_cast<long long>(next) + static_cast<std::int16_t>(*offset);
          if (target < 0 || static_cast<std::size_t>(target) > block.size()) {
            return Fail("branch out of the block");
          }
          // The target must be the start of an action.
          std::size_t scan = 0;
          while (scan < static_cast<std::size_t>(target)) {
            const auto s = ReadAction(block, scan);
            if (!s) break;
            scan = s->next();
          }
          if (scan != static_cast<std::size_t>(target)) return Fail("branch into an action");
          next = static_cast<std::size_t>(target);
        }
        break;
      }
      case Op::kDefineFunction: {
        Value f;
        f.kind = Kind::kFunction;
        const auto name = ops.String();
        const auto count = ops.U16();
        if (!name || !count) return Fail("bad DefineFunction");
        for (int i = 0; i < *count; ++i) {
          const auto p = ops.String();
          if (!p) return Fail("bad DefineFunction");
          f.params.push_back(*p);
        }
        const auto size = ops.U16();
        if (!size || !ops.Done() || *size > block.size() - next) {
          return Fail("bad DefineFunction");
        }
        f.body = block.subspan(next, *size);
        next += *size;
        if (name->empty()) {
          stack_.push_back(f);
        } else {
          variables[*name] = f;
        }
        break;
      }
      case Op::kCallFunction:
      case Op::kCallMethod: {
        const bool method = static_cast<Op>(r->code) == Op::kCallMethod;
        Value name, object, count;
        if (!Pop(name)) return false;
        if (method && !Pop(object)) return false;
        if (!Pop(count)) return false;
        std::vector<Value> args;
        for (int i = 0; i < static_cast<int>(count.ToNumber()); ++i) {
          if (!Pop(a)) return false;
          args.push_back(a);
        }
        const Value callee = method ? Value{} : lookup(name.ToString());
        if (callee.kind == Kind::kFunction) {
          if (!Invoke(callee, args)) return false;
        } else {
          calls.push_back(Call{name.ToString(), args});
          stack_.push_back(Value{});
        }
        break;
      }
      case Op::kReturn:
        if (!Pop(a)) return false;
        if (returned != nullptr) *returned = a;
        return true;
      case Op::kGetUrl: {
        const auto url = ops.String();
        const auto target = ops.String();
        if (!url || !target) return Fail("bad GetUrl");
        url_requests.push_back({*url, *target, -1});
        break;
      }
      case Op::kGetUrl2: {
        const auto flags = ops.U8();
        if (!flags || !Pop(a) || !Pop(b)) return Fail("bad GetUrl2");
        url_requests.push_back({b.ToString(), a.ToString(), *flags});
        break;
      }
      case Op::kGotoFrame: {
        const auto frame = ops.U16();
        if (!frame) return Fail("bad GotoFrame");
        goto_frame = *frame;
        break;
      }
      case Op::kPlay: played = true; break;
      case Op::kNextFrame: ++frame_steps; break;
      case Op::kPrevFrame: --frame_steps; break;
      case Op::kTrace:
        if (!Pop(a)) return false;
        traces.push_back(a.ToString());
        break;
      case Op::kStop: stopped = true; break;
      default: {
        static constexpr char kHex[] = "0123456789abcdef";
        return Fail(std::string("unsupported action 0x") + kHex[r->code >> 4] + kHex[r->code & 15]);
      }
    }
    at = next;
  }
  return true;
}

}  // namespace pagoro::swf
