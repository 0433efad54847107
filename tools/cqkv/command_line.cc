// SPDX-License-Identifier: MIT
#include "tools/cqkv/command_line.h"

#include <array>

#include "tools/cqkv/option_reader.h"

namespace kv {

namespace {

struct ValueOption {
    std::string_view name;
    Option bit;
    std::optional<std::string> Arguments::*field;
};

constexpr std::array<ValueOption, 5> kValueOptions{{
    {"--table", kOptionTable, &Arguments::table},
    {"--user", kOptionUser, &Arguments::user},
    {"--dict", kOptionDict, &Arguments::dict},
    {"--schema", kOptionSchema, &Arguments::schema},
    {"--out", kOptionOut, &Arguments::out},
}};

const ValueOption* FindValueOption(std::string_view name) {
    for (const ValueOption& option : kValueOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

// Takes one option (and maybe the next word as its value); false with `error` on misuse.
bool TakeOption(const OptionWord& word, OptionReader& reader, std::uint32_t allowed,
                Arguments& parsed, std::string& error) {
    if (word.isHelp()) {
        parsed.help = true;
        return true;
    }
    if (word.name == "--json" && (allowed & kOptionJson) != 0 && !word.inlineValue) {
        parsed.json = true;
        return true;
    }
    const ValueOption* option = FindValueOption(word.name);
    if (option == nullptr || (allowed & option->bit) == 0) {
        error = "unknown option \"" + std::string(word.text) + "\"";
        return false;
    }
    std::optional<std::string>& field = parsed.*(option->field);
    if (field) {
        error = "the option " + std::string(word.name) + " is given twice";
        return false;
    }
    const std::optional<std::string_view> value = reader.value();
    if (!value) {
        error = "the option " + std::string(word.name) + " needs a value";
        return false;
    }
    field = std::string(*value);
    return true;
}

}  // namespace

std::optional<Arguments> parseArguments(std::span<const std::string_view> args,
                                        std::uint32_t allowed, std::string& error) {
    Arguments parsed;
    OptionReader reader(args);
    while (const std::optional<OptionWord> word = reader.next()) {
        if (word->isOperand()) {
            parsed.positional.emplace_back(word->text);
        } else if (!TakeOption(*word, reader, allowed, parsed, error)) {
            return std::nullopt;
        }
    }
    return parsed;
}

}  // namespace kv
