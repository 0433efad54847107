// SPDX-License-Identifier: MIT
#include "tools/cqkv/command_line.h"

#include <array>

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

// Takes one option word (and maybe the next word as its value); false with `error` on misuse.
bool TakeOption(std::span<const std::string_view> args, std::size_t& i, std::uint32_t allowed,
                Arguments& parsed, std::string& error) {
    const std::string_view word = args[i];
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    if (name == "-h" || name == "--help") {
        parsed.help = true;
        return true;
    }
    if (name == "--json" && (allowed & kOptionJson) != 0 && equals == std::string_view::npos) {
        parsed.json = true;
        return true;
    }
    const ValueOption* option = FindValueOption(name);
    if (option == nullptr || (allowed & option->bit) == 0) {
        error = "unknown option \"" + std::string(word) + "\"";
        return false;
    }
    std::optional<std::string>& field = parsed.*(option->field);
    if (field) {
        error = "the option " + std::string(name) + " is given twice";
        return false;
    }
    if (equals != std::string_view::npos) {
        field = std::string(word.substr(equals + 1));
    } else if (i + 1 < args.size()) {
        field = std::string(args[++i]);
    } else {
        error = "the option " + std::string(name) + " needs a value";
        return false;
    }
    return true;
}

}  // namespace

std::optional<Arguments> parseArguments(std::span<const std::string_view> args,
                                        std::uint32_t allowed, std::string& error) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view word = args[i];
        if (optionsEnded || word.size() < 2 || word.front() != '-') {
            parsed.positional.emplace_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (!TakeOption(args, i, allowed, parsed, error)) {
            return std::nullopt;
        }
    }
    return parsed;
}

}  // namespace kv
