// SPDX-License-Identifier: MIT
// The words after a subcommand, split into options and operands the same way for every
// subcommand: an option is a word of two or more characters starting with "-"; its value follows
// "=" in the same word or is the next word; "--" ends the options. What an option means, and
// what a misuse says, stays with the subcommand.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace kv {

struct OptionWord {
    std::string_view text;  // as written
    std::string_view name;  // the option's name, before any "="; empty for an operand
    bool inlineValue = false;

    bool isOperand() const { return name.empty(); }
    // -h or --help, which every subcommand takes.
    bool isHelp() const { return name == "-h" || name == "--help"; }
};

class OptionReader {
  public:
    explicit OptionReader(std::span<const std::string_view> args) : _args(args) {}

    // The next word, or nothing after the last.
    std::optional<OptionWord> next();

    // The value of the option `next` gave last: after its "=", else the next word, which is then
    // used up; nothing when the option is the last word.
    std::optional<std::string_view> value();

  private:
    std::span<const std::string_view> _args;
    std::size_t _next = 0;
    bool _optionsEnded = false;
    OptionWord _last;
};

}  // namespace kv
