// SPDX-License-Identifier: MIT
// The interactive session's decisions: what each key does to the composition, the candidate page
// and the committed text. The terminal only feeds keys in and draws the result.
#pragma once

#include <cstddef>
#include <string>

#include "engine/cin_table.h"
#include "engine/input_engine.h"
#include "tools/cqkv/candidate_paging.h"
#include "tools/cqkv/terminal_keys.h"

namespace kv {

struct SessionReply {
    bool quit = false;  // the key ends the session
    bool beep = false;  // the key was refused
};

class TypingSession {
  public:
    // The table must outlive the session.
    explicit TypingSession(const cqinput::CinTable& table) : _engine(table) {}

    // Letters and the wildcards compose; Space or Enter looks the code up. With candidates
    // shown, Space and the arrows page (wrapping), 1 to 0 choose a row, Enter the page's first
    // row, and a code key commits that row and starts a new code. Escape cancels, Backspace
    // removes a key (or, with nothing composed, a committed character). A key the table does
    // not use passes through into the committed text, as it would reach an application.
    SessionReply handleKey(const TerminalKey& key);

    const cqinput::InputEngine& engine() const { return _engine; }
    const std::string& committed() const { return _committed; }
    // The page shown while candidates are shown.
    CandidatePage page() const { return pageAt(_engine.candidates.size(), _pageStart); }
    // A short note on the last refused key, or empty.
    const std::string& notice() const { return _notice; }

  private:
    SessionReply handleChoosing(const TerminalKey& key);
    SessionReply handleComposing(const TerminalKey& key);
    SessionReply pressKey(char key);
    SessionReply trigger();
    SessionReply apply(const cqinput::EngineAction& action);
    void eraseCommittedCharacter();

    cqinput::InputEngine _engine;
    std::string _committed;
    std::size_t _pageStart = 0;
    std::string _notice;
};

}  // namespace kv
