// SPDX-License-Identifier: MIT
// What engine actions become in the client: the underlined reading, commits in the chosen
// script; and the controller's other edits of the client's text.
#include "controller/candidate_anchor.h"
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

using ControllerActionsTest = ControllerTest;

TEST_F(ControllerActionsTest, TheReadingIsUnderlinedWithTheCaretAtItsEnd) {
    play("a b");
    EXPECT_EQ(client().marked(), "日月");
    EXPECT_EQ(client().markedUnderline, Underline::Single);
    EXPECT_EQ(client().markedSelection, (Range{2, 0}));
    EXPECT_EQ(client().markedTextCalls.back().replacementRange, Range::notFound());
    // Showing the candidates keeps the reading.
    EXPECT_EQ(play("Space").marked, "日月");
    // Commit and clear leave no marked text.
    EXPECT_EQ(play("2").marked, "");
    EXPECT_EQ(client().insertions.back().replacementRange, Range::notFound());
}

TEST_F(ControllerActionsTest, CommitsAndCandidatesFollowTheScriptButNotTheWidth) {
    play("Shift+Space");
    EXPECT_EQ(play("b t Space").inserted, "體");
    set(SettingsKey::SimplifiedOutput, true);
    play("settings-saved");
    EXPECT_EQ(play("b t Space").inserted, "体");
    const StepReport report = play("h x Space");
    EXPECT_EQ(report.panel.items,
              (Strings{"体", "国", "门", "学", "这", "个", "们", "会", "来", "时"}));
    EXPECT_EQ(play("1").inserted, "体");
    // Text without a Simplified form is left alone.
    EXPECT_EQ(play("a b Space 2").inserted, "朋");
}

TEST_F(ControllerActionsTest, ReplayingACodeShowsOnlyTheLastResult) {
    play("a");
    controller().replayCode("cqs", false, &client());
    EXPECT_EQ(controller().engine()->code, "cqs");
    EXPECT_EQ(client().marked(), "金手尸");

    // Letters that are no keys of the table leave the engine empty, and the screen with it.
    controller().replayCode("1", false, &client());
    EXPECT_TRUE(controller().engine()->code.empty());
    EXPECT_EQ(client().marked(), "");

    controller().replayCode("bt", true, &client());
    EXPECT_EQ(client().inserted(), "體");
}

TEST_F(ControllerActionsTest, EndingTheCompositionInsertsNothing) {
    play("a b");
    controller().commitComposition(&client());
    EXPECT_EQ(client().marked(), "");
    EXPECT_EQ(client().inserted(), "");
    EXPECT_TRUE(controller().engine()->code.empty());

    play("c q s e");
    EXPECT_EQ(controller().composedString(), "cqse");
    EXPECT_EQ(controller().originalString(), "");
    controller().commitComposition(&client());
    EXPECT_EQ(controller().command(), "");
    EXPECT_EQ(controller().composedString(), "");
    play("a b");
    EXPECT_EQ(controller().composedString(), "日月");
}

TEST_F(ControllerActionsTest, ARowChoiceOutsideTheListChangesNothing) {
    play("a b Space");
    controller().candidateWindowDidChooseIndex(window(), 2);
    controller().candidateWindowDidChooseIndex(window(), -1);
    EXPECT_EQ(client().marked(), "日月");
    EXPECT_EQ(controller().engine()->candidates.size(), 2u);
    EXPECT_EQ(client().inserted(), "");
    controller().candidateWindowDidChooseIndex(window(), 1);
    EXPECT_EQ(client().inserted(), "朋");
}

TEST_F(ControllerActionsTest, DeletingBackwardRemovesOneWholeCharacter) {
    play("activate");
    RecordingTextClient& text = client();

    text.document = u"abcd";
    text.selection = {1, 2};
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(text.text(), "ad");

    text.document = u"a\U0001F600";
    text.selection = {3, 0};
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(text.text(), "a");

    // Only the last sixteen units are looked at.
    text.document = std::u16string(40, u'x') + u"e\u0301";
    text.selection = {42, 0};
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(text.document, std::u16string(40, u'x'));

    // A client that gives no text around the caret loses one unit.
    text.document = u"xyz";
    text.selection = {2, 0};
    text.answersSubstrings = false;
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(text.text(), "xz");
    EXPECT_TRUE(run().keySynth().posted.empty());

    // At the start, or without a caret, the Delete key is posted instead.
    text.selection = {0, 0};
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(text.text(), "xz");
    text.respondsToSelectedRange = false;
    controller().deleteBackwardInClient(&text);
    EXPECT_EQ(run().keySynth().posted, (std::vector<std::uint16_t>{51, 51}));
}

TEST(CandidateAnchorRectTest, FallsBackStepByStep) {
    RecordingTextClient client;
    client.lineHeightRect = {10, 20, 2, 18};
    EXPECT_EQ(CandidateAnchorRect(&client, 3), (Rect{10, 20, 2, 18}));
    EXPECT_EQ(client.attributeQueries, (std::vector<std::int64_t>{3}));

    // Missing attributes: the first character is asked again.
    client.attributeQueries.clear();
    client.attributes = CharacterAttributes::MissingOrEmpty;
    CandidateAnchorRect(&client, 5);
    EXPECT_EQ(client.attributeQueries, (std::vector<std::int64_t>{5, 0}));

    // A rectangle without size: the first rectangle of the empty range at 0.
    client.attributes = CharacterAttributes::Present;
    client.lineHeightRect = {10, 20, 0, 18};
    client.firstRect = {30, 40, 0, 16};
    EXPECT_EQ(CandidateAnchorRect(&client, 1), (Rect{30, 40, 0, 16}));

    // A client that raises: the rectangle as it was, 16 x 16 at the origin.
    client.raises = true;
    EXPECT_EQ(CandidateAnchorRect(&client, 1), (Rect{0, 0, 16, 16}));
    EXPECT_EQ(CandidateAnchorRect(nullptr, 1), (Rect{0, 0, 16, 16}));
}

}  // namespace
}  // namespace kv::testing
