// The one way both programs read their command lines. Options and operands
// may come in any order; "--" ends the options, so every argument after it
// is an operand, and "-" alone is one too. An option is a long name
// ("--output") or a short one ("-o"); one that takes a value has it in the
// next argument, or after "=" in the long form ("--output=FILE").
// "--help" (or "-h") anywhere before "--" asks for the help, even among
// faulty arguments; "--version" asks for the version.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagoro {

struct OptionRule {
  std::string_view name;        // "--output"
  std::string_view short_name;  // "-o", or "" for none
  bool takes_value = false;
};

struct ParsedArguments {
  struct Given {
    std::size_t option;  // its place in the rules
    std::string value;   // "" for an option without a value
  };
  bool help = false;
  bool version = false;
  std::vector<Given> options;  // in the order given
  std::vector<std::string> operands;
  std::vector<std::size_t> operand_places;  // where each operand stands in the arguments
  // The first faulty argument, in words ("unknown option \"--colour\""),
  // or "" when there is none.
  std::string error;
  // That argument as given when it is an unknown option, for a program
  // that words the fault its own way; "" otherwise.
  std::string unknown_option;

  // Whether the option at `option` in the rules was given.
  bool Has(std::size_t option) const;
};

// Reads `arguments` (without the program's name and, for a program with
// commands, without the command) against the options in `rules`.
ParsedArguments ParseArguments(std::span<const std::string> arguments,
                               std::span<const OptionRule> rules);

}  // namespace pagoro
