#include "core/arguments.h"

#include <algorithm>

#include "book/texts.h"

namespace pagoro {

namespace {

constexpr std::string_view kEndOfOptions = "--";

std::string InQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

bool ParsedArguments::Has(std::size_t option) const {
  return std::any_of(options.begin(), options.end(),
                     [&](const Given& given) { return given.option == option; });
}

ParsedArguments ParseArguments(std::span<const std::string> arguments,
                               std::span<const OptionRule> rules) {
  ParsedArguments parsed;
  const auto fault = [&](const std::string& text, const std::string& unknown = "") {
    if (!parsed.error.empty()) return;
    parsed.error = text;
    parsed.unknown_option = unknown;
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
      parsed.operands.push_back(argument);
      parsed.operand_places.push_back(i);
      continue;
    }
    if (argument == kEndOfOptions) {
      optionsEnded = true;
      continue;
    }
    std::string_view name = argument;
    std::string value;
    bool inlineValue = false;
    if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != name.npos) {
      value = argument.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    if (name == "--help" || name == "-h" || name == "--version") {
      if (inlineValue) {
        fault(Args(Tr("Arguments", "%1 takes no value"), {name}));
      } else {
        (name == "--version" ? parsed.version : parsed.help) = true;
      }
      continue;
    }
    const auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& r) {
      return name == r.name || (!r.short_name.empty() && name == r.short_name);
    });
    if (rule == rules.end()) {
      fault(Args(Tr("Arguments", "unknown option %1"), {InQuotes(argument)}), argument);
      continue;
    }
    if (!rule->takes_value && inlineValue) {
      fault(Args(Tr("Arguments", "%1 takes no value"), {name}));
      continue;
    }
    if (rule->takes_value && !inlineValue) {
      if (i + 1 >= arguments.size()) {
        fault(Args(Tr("Arguments", "%1 needs a value"), {name}));
        continue;
      }
      value = arguments[++i];  // taken as it stands, even when it starts with "-"
    }
    parsed.options.push_back({static_cast<std::size_t>(rule - rules.begin()), value});
  }
  return parsed;
}

}  // namespace pagoro
