// SPDX-License-Identifier: MIT
// One fcitx5 input context's session: made with the context, its controller started when the
// input method first serves the context, and closed when fcitx5 destroys the context.
#pragma once

#include <fcitx/inputcontext.h>
#include <fcitx/inputcontextproperty.h>

#include <memory>
#include <string>

#include "hosts/fcitx5/fcitx_text_client.h"

namespace kv {

class KVFcitxEngine;

class FcitxSession final : public fcitx::InputContextProperty {
  public:
    FcitxSession(KVFcitxEngine& engine, fcitx::InputContext& context);
    ~FcitxSession() override;
    FcitxSession(const FcitxSession&) = delete;
    FcitxSession& operator=(const FcitxSession&) = delete;

    const std::string& id() const { return _id; }
    fcitx::InputContext& context() const { return _context; }
    FcitxTextClient& text() const { return *_text; }
    // Starts the controller unless it runs already.
    void open();

  private:
    KVFcitxEngine& _engine;
    fcitx::InputContext& _context;
    std::string _id;
    std::shared_ptr<FcitxTextClient> _text;
    bool _open = false;
};

}  // namespace kv
