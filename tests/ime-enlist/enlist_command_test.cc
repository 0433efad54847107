// SPDX-License-Identifier: MIT
// ime-enlist's steps on a list of input sources that the test controls: messages, streams, exit
// statuses, and which sources were enabled and selected.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/memory/fake_input_sources.h"
#include "tools/ime-enlist/enlist_command.h"

namespace kv {
namespace {

std::string Own() {
    return std::string(kInputMethodBundleIdentifier);
}

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
};

Outcome Enlist(FakeInputSources& sources, std::vector<std::string_view> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runImeEnlist(arguments, sources, out, err);
    return {status, out.str(), err.str()};
}

FakeInputSources::Entry Source(std::uint64_t reference, std::optional<std::string> bundle,
                               std::string id, std::optional<bool> selectable) {
    InputSource source;
    source.reference = reference;
    source.bundleID = std::move(bundle);
    source.inputSourceID = std::move(id);
    source.inputModeID = "mode." + *source.inputSourceID;
    source.inputSourceType = "ibus-engine";
    source.isSelectCapable = selectable;
    return {source};
}

TEST(ImeEnlist, APathThatIsNotUtf8IsRefusedBeforeAnythingIsWritten) {
    // The component description is UTF-8: such a path would make one the daemon cannot read.
    for (const std::string_view path : {"/a/\xFF.app", "/a/caf\xE9.app", "/a/\xED\xA0\x80.app"}) {
        FakeInputSources sources;
        sources.entries = {Source(1, Own(), "cqinputkv", true)};
        const Outcome run = Enlist(sources, {path, "--select"});
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.err, "TISRegisterInputSource failed: 22\n");
        EXPECT_TRUE(sources.registered.empty());
    }
}

TEST(ImeEnlist, EnablesEveryOwnSourceAndIgnoresAnotherSecondArgument) {
    FakeInputSources sources;
    // Installed but not enabled yet: the tool must ask for all installed sources.
    sources.entries = {Source(1, "org.other.im", "other", true),
                       Source(2, std::nullopt, "xkb", true), Source(3, Own(), "cqinputkv", false),
                       Source(4, Own(), "cqinputkv-b", true)};
    sources.entries[2].source.inputModeID.reset();
    // Absent properties print as such, the current source's too.
    sources.current = InputSource{};

    const Outcome run = Enlist(sources, {"CQInputKV.app", "--selected"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "registered and enabled: " + Own() + "\n");
    EXPECT_EQ(run.err,
              "source=cqinputkv mode=(none) type=ibus-engine selectable=no\n"
              "source=cqinputkv-b mode=mode.cqinputkv-b type=ibus-engine selectable=yes\n"
              "current=(none)\n");
    EXPECT_EQ(sources.enableCalls, (std::vector<std::uint64_t>{3, 4}));
    EXPECT_TRUE(sources.selectCalls.empty());
    // The bundle is named to the service by an absolute path, as a file URL would be.
    EXPECT_EQ(sources.registered, std::vector<std::filesystem::path>{
                                      std::filesystem::current_path() / "CQInputKV.app"});
}

TEST(ImeEnlist, AFailedSelectionIsReportedAndAnotherSourceMaySucceed) {
    FakeInputSources sources;
    sources.entries = {Source(1, Own(), "first", true), Source(2, Own(), "second", true),
                       Source(3, Own(), "third", std::nullopt)};
    sources.entries[0].selectResult = -25;

    const Outcome run = Enlist(sources, {"/opt/輸入法.app", "--select"});  // UTF-8 is fine
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "registered and enabled and selected: " + Own() + "\n");
    EXPECT_EQ(run.err,
              "source=first mode=mode.first type=ibus-engine selectable=yes\n"
              "TISSelectInputSource failed: -25\n"
              "source=second mode=mode.second type=ibus-engine selectable=yes\n"
              "source=third mode=mode.third type=ibus-engine selectable=no\n"
              "current=second\n");
    EXPECT_EQ(sources.enableCalls, (std::vector<std::uint64_t>{1, 2, 3}));
    EXPECT_EQ(sources.selectCalls, (std::vector<std::uint64_t>{1, 2}));
    EXPECT_EQ(sources.registered, std::vector<std::filesystem::path>{"/opt/輸入法.app"});
}

TEST(ImeEnlist, SelectingASourceThatCannotBeSelectedFailsAfterEnablingIt) {
    FakeInputSources sources;
    sources.entries = {Source(1, Own(), "cqinputkv", false)};
    sources.current = sources.entries[0].source;
    const Outcome run = Enlist(sources, {"/opt/CQInputKV.app", "--select"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "source=cqinputkv mode=mode.cqinputkv type=ibus-engine selectable=no\n"
              "input source is enabled but could not be selected\n"
              "the desktop cannot start the input method's program: check that the bundle is "
              "complete, then run ime-enlist again\n");
    EXPECT_TRUE(sources.entries[0].enabled);

    // The only selectable source refusing is no better; the user can still choose it by hand.
    const std::string byHand =
        "input source is enabled but could not be selected\n"
        "choose the input method in the desktop's input source menu (or switch to it with its "
        "shortcut), or run ime-enlist again\n";
    sources.entries = {Source(1, Own(), "cqinputkv", true)};
    sources.entries[0].selectResult = -50;
    const Outcome refused = Enlist(sources, {"/opt/CQInputKV.app", "--select"});
    EXPECT_EQ(refused.status, 6);
    EXPECT_TRUE(refused.err.ends_with("TISSelectInputSource failed: -50\n" + byHand))
        << refused.err;

    // A selection the desktop undoes at once, choosing its keyboard layout, is not reported as
    // done; without --select the same desktop is no failure.
    FakeInputSources panel;
    panel.entries = {Source(1, std::nullopt, "xkb:us::eng", true),
                     Source(2, Own(), "cqinputkv", true)};
    panel.chosenByDesktop = panel.entries[0].source;
    const Outcome undone = Enlist(panel, {"/opt/CQInputKV.app", "--select"});
    EXPECT_EQ(undone.status, 6);
    EXPECT_TRUE(undone.err.ends_with("current=xkb:us::eng\n" + byHand)) << undone.err;
    EXPECT_EQ(Enlist(panel, {"/opt/CQInputKV.app"}).status, 0);
}

TEST(ImeEnlist, FailuresStopTheRunWithTheirStatus) {
    FakeInputSources refusing;
    refusing.registerResult = 13;
    refusing.entries = {Source(1, Own(), "cqinputkv", true)};
    const Outcome unregistered = Enlist(refusing, {"/opt/CQInputKV.app", "--select"});
    EXPECT_EQ(unregistered.status, 3);
    EXPECT_EQ(unregistered.err, "TISRegisterInputSource failed: 13\n");
    EXPECT_EQ(refusing.listCalls, 0);

    FakeInputSources foreign;
    foreign.entries = {Source(1, "org.other.im", "other", true),
                       Source(2, std::nullopt, "xkb:us::eng", true)};
    const Outcome missing = Enlist(foreign, {"/opt/CQInputKV.app"});
    EXPECT_EQ(missing.status, 5);
    EXPECT_EQ(missing.err, "registered, but input source was not found\n");
    EXPECT_TRUE(foreign.enableCalls.empty());

    // Sources after the one that could not be enabled are left alone.
    FakeInputSources stuck;
    stuck.entries = {Source(1, Own(), "first", true), Source(2, Own(), "second", true),
                     Source(3, Own(), "third", true)};
    stuck.entries[1].enableResult = -1;
    const Outcome disabled = Enlist(stuck, {"/opt/CQInputKV.app", "--select"});
    EXPECT_EQ(disabled.status, 4);
    EXPECT_EQ(disabled.err,
              "source=first mode=mode.first type=ibus-engine selectable=yes\n"
              "TISEnableInputSource failed: -1\n");
    EXPECT_EQ(stuck.enableCalls, (std::vector<std::uint64_t>{1, 2}));
    EXPECT_EQ(stuck.selectCalls, std::vector<std::uint64_t>{1});
    // Nothing is undone.
    EXPECT_TRUE(stuck.entries[0].enabled);
    EXPECT_EQ(stuck.current, stuck.entries[0].source);
}

}  // namespace
}  // namespace kv
