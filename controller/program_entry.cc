// SPDX-License-Identifier: MIT
#include "controller/program_entry.h"

#include <optional>
#include <string>

#include "candidates/candidate_window.h"
#include "controller/shared_table.h"
#include "platform/services.h"

namespace kv {

// The shared windows are made on first use; they learn their bodies and neighbours first.
void KVPrepareSharedWindows(const KVWindowBodies& bodies) {
    KVWordsWindow::prepareSharedWindow({
        bodies.words,
        []() -> std::shared_ptr<const cqinput::CinTable> { return KVLoadedSharedTable(); },
    });
    KVPreferencesWindow::prepareSharedWindow({
        bodies.preferences,
        [] { KVWordsWindow::sharedWindow().showWindow(); },
    });
}

int KVMain(InputMethodKit& framework, const KVWindowBodies& bodies, std::ostream& log) {
    const std::optional<std::string> name =
        mainBundle().objectForInfoDictionaryKey(kInputMethodConnectionNameKey);
    const std::optional<std::string> identifier = mainBundle().bundleIdentifier();
    KVPrepareSharedWindows(bodies);
    std::unique_ptr<IMKServer> gServer;
    if (name) {
        gServer = framework.createServer(*name, identifier.value_or(std::string()));
    }
    if (!gServer) {
        log << "CQ_Input_KV: cannot create IMKServer\n";
        return 1;
    }
    // The one candidate window of the process, made after the server and kept until the end.
    KVCandidatePanel();
    framework.run();
    return 0;
}

}  // namespace kv
