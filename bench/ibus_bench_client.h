// SPDX-License-Identifier: MIT
// An input context on the IBus daemon named by IBUS_ADDRESS.
#pragma once

#include <ibus.h>

#include <string>

#include "bench/latency_client.h"

namespace kv::bench {

class IBusBenchClient final : public LatencyClient {
  public:
    // `engineProcess`: a fragment of the engine process's command line, to find it in /proc.
    explicit IBusBenchClient(std::string engineProcess);
    ~IBusBenchClient() override;

    bool connected() const override;
    bool focus() override;
    // Makes `engine` the global engine (starting the engine's process first if it is not
    // running).
    bool selectEngine(std::string_view engine) override;
    std::string currentEngine() const override;
    bool engineStarted() const override;
    std::optional<pid_t> engineProcess() const override;

  protected:
    void sendKey(UsKey key, bool release) override;

  private:
    static void OnCommit(IBusInputContext* context, IBusText* text, gpointer self);
    static void OnPreedit(IBusInputContext* context, IBusText* text, guint cursor, gboolean visible,
                          gpointer self);
    static void OnReply(GObject* context, GAsyncResult* result, gpointer self);

    std::string _engineProcess;
    IBusBus* _bus = nullptr;
    IBusInputContext* _context = nullptr;
};

}  // namespace kv::bench
