// SPDX-License-Identifier: MIT
#include "tools/cqkv/option_reader.h"

namespace kv {

std::optional<OptionWord> OptionReader::next() {
    while (_next < _args.size()) {
        const std::string_view text = _args[_next++];
        if (_optionsEnded || text.size() < 2 || text.front() != '-') {
            _last = OptionWord{text, {}, false};
            return _last;
        }
        if (text == "--") {
            _optionsEnded = true;
            continue;
        }
        const std::size_t equals = text.find('=');
        _last = OptionWord{text, text.substr(0, equals), equals != std::string_view::npos};
        return _last;
    }
    return std::nullopt;
}

std::optional<std::string_view> OptionReader::value() {
    if (_last.inlineValue) {
        return _last.text.substr(_last.name.size() + 1);
    }
    if (_next < _args.size()) {
        return _args[_next++];
    }
    return std::nullopt;
}

}  // namespace kv
