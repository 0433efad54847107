// SPDX-License-Identifier: MIT
#include "tools/ime-enlist/enlist_command.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/transforms.h"

namespace kv {

namespace {

constexpr std::string_view kSelectOption = "--select";

// What the user can do when nothing of the bundle could be selected, after the line that says so.
constexpr std::string_view kCannotStartHint =
    "the desktop cannot start the input method's program: check that the bundle is complete, "
    "then run ime-enlist again\n";
constexpr std::string_view kChooseByHandHint =
    "choose the input method in the desktop's input source menu (or switch to it with its "
    "shortcut), or run ime-enlist again\n";

bool IsOwn(const std::optional<InputSource>& source) {
    return source && source->bundleID == kInputMethodBundleIdentifier;
}

std::string_view OrNone(const std::optional<std::string>& value) {
    return value ? std::string_view(*value) : std::string_view("(none)");
}

// A relative path names the bundle from the working directory, as a file URL made from it would.
std::filesystem::path BundlePath(std::string_view argument) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(argument, error);
    return error ? std::filesystem::path(argument) : path;
}

}  // namespace

int runImeEnlist(std::span<const std::string_view> arguments, InputSources& sources,
                 std::ostream& out, std::ostream& err) {
    if (arguments.size() != 1 && arguments.size() != 2) {
        err << "usage: ime-enlist <input-method.app> [--select]\n";
        return 2;
    }
    const bool select = arguments.size() == 2 && arguments[1] == kSelectOption;
    // The component description is UTF-8 XML: a path that is not UTF-8 would make a file the
    // daemon cannot parse. Refused as the registration refuses an invalid argument (EINVAL).
    if (!arguments[0].empty() && Transforms::utf8ToUtf16(arguments[0]).empty()) {
        err << "TISRegisterInputSource failed: " << EINVAL << "\n";
        return 3;
    }

    if (const std::int32_t status = sources.registerInputSource(BundlePath(arguments[0]));
        status != 0) {
        err << "TISRegisterInputSource failed: " << status << "\n";
        return 3;
    }

    bool found = false;
    bool selectedOK = !select;
    bool anySelectable = false;
    for (const InputSource& source : sources.createInputSourceList(true)) {
        if (source.bundleID != kInputMethodBundleIdentifier) {
            continue;
        }
        found = true;
        if (const std::int32_t status = sources.enableInputSource(source); status != 0) {
            err << "TISEnableInputSource failed: " << status << "\n";
            return 4;
        }
        const bool selectable = source.isSelectCapable.value_or(false);
        err << "source=" << OrNone(source.inputSourceID) << " mode=" << OrNone(source.inputModeID)
            << " type=" << OrNone(source.inputSourceType)
            << " selectable=" << (selectable ? "yes" : "no") << "\n";
        anySelectable = anySelectable || selectable;
        if (select && selectable) {
            // A failed selection is only reported: another source of the bundle may still succeed.
            if (const std::int32_t status = sources.selectInputSource(source); status != 0) {
                err << "TISSelectInputSource failed: " << status << "\n";
            } else {
                selectedOK = true;
            }
        }
    }

    if (!found) {
        err << "registered, but input source was not found\n";
        return 5;
    }
    if (!selectedOK) {
        err << "input source is enabled but could not be selected\n"
            << (anySelectable ? kChooseByHandHint : kCannotStartHint);
        return 6;
    }
    const std::optional<InputSource> current = sources.copyCurrentKeyboardInputSource();
    if (current) {
        err << "current=" << OrNone(current->inputSourceID) << "\n";
    }
    // A selection the desktop undid at once (its panel choosing an input source of its own) is
    // no selection.
    if (select && !IsOwn(current)) {
        err << "input source is enabled but could not be selected\n" << kChooseByHandHint;
        return 6;
    }
    out << "registered and enabled" << (select ? " and selected" : "") << ": "
        << kInputMethodBundleIdentifier << "\n";
    return 0;
}

}  // namespace kv
