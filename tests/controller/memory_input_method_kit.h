// SPDX-License-Identifier: MIT
// The input method framework in memory: it records the server asked for and the event loop run,
// and can refuse the server as a desktop without a usable connection does.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_method_kit.h"

namespace kv::testing {

class MemoryInputMethodKit final : public InputMethodKit {
  public:
    struct Request {
        std::string name;
        std::string bundleIdentifier;
    };

    std::unique_ptr<IMKServer> createServer(std::string_view name,
                                            std::string_view bundleIdentifier) override {
        requests.push_back({std::string(name), std::string(bundleIdentifier)});
        if (refuses) {
            return nullptr;
        }
        return std::make_unique<IMKServer>();
    }
    void run() override { ++loops; }

    bool refuses = false;
    std::vector<Request> requests;
    int loops = 0;
};

}  // namespace kv::testing
