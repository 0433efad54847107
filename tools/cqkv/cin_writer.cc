// SPDX-License-Identifier: MIT
#include "tools/cqkv/cin_writer.h"

namespace kv {

namespace {

constexpr std::string_view kProperties =
    "%gen_inp\n"
    "%ename CQInput-KV\n"
    "%cname 倉頡五代\n"
    "%selkey 1234567890\n";

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back(' ');
    out.append(value);
    out.push_back('\n');
}

}  // namespace

std::string formatCin(const std::vector<std::string>& comment, const LetterRoots& roots,
                      const std::vector<DictionaryEntry>& entries) {
    std::string out;
    std::size_t size = kProperties.size() + 64 * (comment.size() + roots.size());
    for (const DictionaryEntry& entry : entries) {
        size += entry.code.size() + entry.text.size() + 2;
    }
    out.reserve(size);
    for (const std::string& line : comment) {
        AppendLine(out, "#", line);
    }
    out.append(kProperties);
    out.append("%keyname begin\n");
    for (std::size_t letter = 0; letter < roots.size(); ++letter) {
        const char key = static_cast<char>('a' + static_cast<char>(letter));
        AppendLine(out, std::string_view(&key, 1), roots[letter]);
    }
    out.append("%keyname end\n");
    out.append("%chardef begin\n");
    for (const DictionaryEntry& entry : entries) {
        AppendLine(out, entry.code, entry.text);
    }
    out.append("%chardef end\n");
    return out;
}

}  // namespace kv
