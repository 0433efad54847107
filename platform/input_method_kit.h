// SPDX-License-Identifier: MIT
// The desktop's input method framework as the program's entry needs it: a server that connects
// client sessions to the input method, and the event loop.
#pragma once

#include <memory>
#include <string_view>

namespace kv {

// The framework's server object: while it lives, the framework connects client sessions to the
// input method and creates a controller for each.
class IMKServer {
  public:
    virtual ~IMKServer() = default;
};

class InputMethodKit {
  public:
    virtual ~InputMethodKit() = default;
    // The server under `name` for the bundle `bundleIdentifier`; null when it cannot be made
    // (no usable connection).
    virtual std::unique_ptr<IMKServer> createServer(std::string_view name,
                                                    std::string_view bundleIdentifier) = 0;
    // Runs the application's event loop; returns only when the loop ends.
    virtual void run() = 0;
};

// The information-dictionary key under which the bundle names its connection.
inline constexpr std::string_view kInputMethodConnectionNameKey = "InputMethodConnectionName";

}  // namespace kv
