// SPDX-License-Identifier: MIT
// Shared pieces of the candidate window tests: memory services, a recording delegate, clicks.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "candidates/candidate_window.h"
#include "platform/memory/memory_services.h"

namespace kv::testing {

// Writes down every message, e.g. "choose 12", "move 20", "script".
class RecordingDelegate final : public KVCandidateWindowDelegate {
  public:
    void candidateWindowDidMoveToIndex(KVCandidateWindow&, std::int64_t index) override {
        calls.push_back("move " + std::to_string(index));
    }
    void candidateWindowDidChooseIndex(KVCandidateWindow&, std::int64_t index) override {
        calls.push_back("choose " + std::to_string(index));
    }
    void candidateWindowDidToggleScript(KVCandidateWindow&) override { calls.push_back("script"); }
    void candidateWindowDidToggleWidth(KVCandidateWindow&) override { calls.push_back("width"); }
    void candidateWindowDidOpenSettings(KVCandidateWindow&) override {
        calls.push_back("settings");
    }
    void candidateWindowDidOpenWords(KVCandidateWindow&) override { calls.push_back("words"); }
    void candidateWindowDidToggleKeyboard(KVCandidateWindow&) override {
        calls.push_back("keyboard");
    }

    std::vector<std::string> calls;
};

// "候0", "候1", ...: one-character-wide candidates (two characters each) unless padded.
inline std::vector<std::string> Candidates(int count) {
    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        list.push_back("候" + std::to_string(i % 10));
    }
    return list;
}

// A string of `characters` CJK characters.
inline std::string Wide(int characters) {
    std::string text;
    for (int i = 0; i < characters; ++i) {
        text += "字";
    }
    return text;
}

inline constexpr Rect kAnchor{500, 600, 1, 18};

class CandidateWindowTest : public ::testing::Test {
  protected:
    void show(std::vector<std::string> candidates, std::int64_t selected = 0,
              const Rect& anchor = kAnchor) {
        window->showCandidates(std::move(candidates), "1234567890", selected, false, false, anchor,
                               "");
    }
    // A press at `point` in the panel's content, as the panel body forwards it. True when the
    // press would drag the panel.
    bool click(Point point) { return window->panel().content->mouseDown(point); }
    // The centre of `view`, a subview of `parent`, in content coordinates.
    static Point centreOf(const View& view, const View& parent) {
        return {parent.frame.minX() + view.frame.midX(), parent.frame.minY() + view.frame.midY()};
    }
    Point rowCentre(std::size_t r) const {
        const Rect& frame = window->row(r).frame;
        return {frame.midX(), frame.midY()};
    }

    MemoryServices services;
    std::unique_ptr<KVCandidateWindow> window = std::make_unique<KVCandidateWindow>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

}  // namespace kv::testing
