// SPDX-License-Identifier: MIT
// An input context of fcitx5's D-Bus frontend (org.fcitx.Fcitx.InputMethod1 / InputContext1) on
// the session bus, as an application's input module holds one. fcitx5 draws the candidate list
// itself, so the context asks for the client's preedit and not for the client-side panel.
#pragma once

#include <gio/gio.h>

#include <string>

#include "bench/latency_client.h"

namespace kv::bench {

class FcitxBenchClient final : public LatencyClient {
  public:
    // `engineLibrary`: a fragment of the path of the library that holds the engine, which fcitx5
    // maps when it loads the engine's addon.
    explicit FcitxBenchClient(std::string engineLibrary);
    ~FcitxBenchClient() override;

    // fcitx5 owns its name on the session bus. Nothing is asked of it before: the bus would
    // start a second fcitx5 to answer.
    bool connected() const override;
    bool focus() override;
    // SetCurrentIM through fcitx5's controller, which loads the engine's addon first; fcitx5
    // only switches to an input method of the current group.
    bool selectEngine(std::string_view engine) override;
    std::string currentEngine() const override;
    bool engineStarted() const override;
    // fcitx5 itself: addons live in its process.
    std::optional<pid_t> engineProcess() const override;

  protected:
    void sendKey(UsKey key, bool release) override;

  private:
    // A method call on fcitx5, waiting for its reply; nothing when it failed.
    GVariant* call(const char* path, const char* interface, const char* method,
                   GVariant* parameters, const GVariantType* replyType) const;
    GVariant* callContext(const char* method, GVariant* parameters) const;

    static void OnSignal(GDBusConnection* connection, const gchar* sender, const gchar* path,
                         const gchar* interface, const gchar* signal, GVariant* parameters,
                         gpointer self);
    static void OnReply(GObject* connection, GAsyncResult* result, gpointer self);

    std::string _engineLibrary;
    GDBusConnection* _bus = nullptr;
    std::string _context;
    guint _subscription = 0;
};

}  // namespace kv::bench
