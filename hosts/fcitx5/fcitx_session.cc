// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_session.h"

#include "hosts/fcitx5/addon.h"

namespace kv {

namespace {

std::string NextSessionId() {
    static std::uint64_t next = 0;
    return "fcitx5:" + std::to_string(++next);
}

}  // namespace

FcitxSession::FcitxSession(KVFcitxEngine& engine, fcitx::InputContext& context)
    : _engine(engine),
      _context(context),
      _id(NextSessionId()),
      _text(std::make_shared<FcitxTextClient>(context)) {
    _engine.sessionOpened(*this);
}

FcitxSession::~FcitxSession() {
    if (_open) {
        _engine.server().closeSession(_id);
    }
    _engine.sessionClosed(*this);
}

void FcitxSession::open() {
    if (!_open) {
        _open = true;
        _engine.server().createSession(_id, _text);
    }
}

}  // namespace kv
