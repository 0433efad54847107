// SPDX-License-Identifier: MIT
// The server as a desktop's host drives it: which session has the focus, what a password field
// means, and the list following the caret. Every host only reports; these rules decide.
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

class InputServerTest : public ControllerTest {
  protected:
    // A session the host made for a new field, not yet focused.
    RecordingTextClient& field(const std::string& id) {
        auto client = std::make_shared<RecordingTextClient>();
        server().createSession(id, client);
        return *client;
    }
    // The framework's key press, as the host passes it on; true when the session took it.
    bool type(const std::string& id, std::string_view keys) {
        bool taken = true;
        std::string bad;
        const std::optional<std::vector<SessionStep>> steps = parseSessionScript(keys, bad);
        EXPECT_TRUE(steps.has_value()) << "unknown token " << bad;
        for (const SessionStep& step : steps.value_or(std::vector<SessionStep>())) {
            taken = server().handleEvent(id, step.event) && taken;
        }
        return taken;
    }
    KVInputServer& server() { return run().server(); }
    bool listShown() { return window().shownList().visible; }
};

TEST_F(InputServerTest, APasswordFieldGetsEveryKeyAndNeverShowsThePanel) {
    // IBus tells the purpose after the focus, before the activation (the IBus suite types into
    // a password field and back; here the order and a purpose changing under a list).
    field("password");
    server().focusSession("password");
    server().setFieldPurpose("password", KVFieldPurpose::Password);
    server().activateFocusedSession();
    EXPECT_FALSE(type("password", "a"));
    server().caretDidMove("password");
    EXPECT_FALSE(window().panel().isVisible());

    // A field that turns into a PIN field while a list is up drops the code and the list.
    RecordingTextClient& text = field("text");
    server().focusSession("text");
    server().activateFocusedSession();
    EXPECT_TRUE(type("text", "e Space"));
    EXPECT_TRUE(listShown());
    server().setFieldPurpose("text", KVFieldPurpose::Pin);
    EXPECT_FALSE(window().panel().isVisible());
    EXPECT_EQ(text.marked(), "");
    EXPECT_FALSE(type("text", "a Space"));
    EXPECT_EQ(text.inserted(), "");
    EXPECT_FALSE(type("gone", "a"));
}

TEST_F(InputServerTest, OneSessionHasTheFocusAndOnlyItsListFollowsTheCaret) {
    RecordingTextClient& one = field("one");
    RecordingTextClient& two = field("two");
    server().focusSession("one");
    server().activateFocusedSession();
    type("one", "e Space");

    // Focus moving on leaves the first session: its code is gone with its list.
    server().focusSession("two");
    EXPECT_EQ(one.marked(), "");
    EXPECT_FALSE(window().panel().isVisible());
    // Until it is activated, a caret report shows nothing.
    server().caretDidMove("two");
    EXPECT_FALSE(window().panel().isVisible());
    server().activateFocusedSession();
    type("two", "e Space");
    const Rect before = window().panel().frame();

    // The focused session's list follows its caret; a report from another session moves nothing.
    one.firstRect = one.lineHeightRect = Rect(600, 300, 1, 20);
    server().caretDidMove("one");
    EXPECT_EQ(window().panel().frame(), before);
    two.firstRect = two.lineHeightRect = Rect(600, 300, 1, 20);
    server().caretDidMove("two");
    EXPECT_NE(window().panel().frame(), before);
    EXPECT_TRUE(listShown());

    // A focus-out names the session that loses it; the others' are ignored.
    server().unfocusSession("one");
    EXPECT_EQ(server().focusedSessionId(), "two");
    server().unfocusSession("two");
    EXPECT_EQ(server().focusedSessionId(), "");
    EXPECT_FALSE(window().panel().isVisible());

    // A session closed while focused takes the focus with it.
    server().focusSession("one");
    server().closeSession("one");
    EXPECT_EQ(server().focusedController(), nullptr);
}

}  // namespace
}  // namespace kv::testing
