// SPDX-License-Identifier: MIT
// Which framework ime-enlist registers with: the one that answers, and with two, the one the
// session's applications were told to use.
#include <gtest/gtest.h>

#include <string_view>

#include "tools/ime-enlist/framework_choice.h"

namespace kv {
namespace {

TEST(FrameworkChoice, TheAnsweringOneThenTheSessionsVariablesThenFcitx5) {
    constexpr InputFramework kIBus = InputFramework::IBus;
    constexpr InputFramework kFcitx = InputFramework::Fcitx5;
    struct Row {
        const char* name;
        SessionFrameworks session;
        InputFramework chosen;
    };
    const Row rows[] = {
        {"only fcitx5, though the variables name ibus", {true, false, "ibus", "@im=ibus"}, kFcitx},
        {"only IBus, though the variables name fcitx", {false, true, "fcitx", "@im=fcitx"}, kIBus},
        {"neither: IBus reports it", {false, false, "fcitx", "@im=fcitx"}, kIBus},
        {"both, no variables", {true, true, "", ""}, kFcitx},
        {"both, GTK names ibus", {true, true, "ibus", ""}, kIBus},
        {"both, GTK names fcitx", {true, true, "fcitx", ""}, kFcitx},
        {"both, GTK names fcitx5", {true, true, "fcitx5", "@im=ibus"}, kFcitx},
        {"both, GTK over XIM", {true, true, "ibus", "@im=fcitx"}, kIBus},
        {"both, XIM alone names ibus", {true, true, "", "@im=ibus"}, kIBus},
        {"both, GTK's xim defers to XIM", {true, true, "xim", "@im=ibus"}, kIBus},
        {"both, other modifiers around", {true, true, "", "@foo=bar@im=ibus@baz=1"}, kIBus},
        {"both, unknown names", {true, true, "wayland", "@im=none"}, kFcitx},
        {"both, a name only begun", {true, true, "ib", "@im="}, kFcitx},
        {"both, no @im= at all", {true, true, "", "ibus"}, kFcitx},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChooseInputFramework(row.session), row.chosen) << row.name;
    }
}

}  // namespace
}  // namespace kv
