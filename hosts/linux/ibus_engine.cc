// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_engine.h"

#include <linux/input-event-codes.h>

#include <map>
#include <memory>

#include "hosts/linux/ibus_engine_host.h"

namespace {

struct KVIBusEngine {
    IBusEngine parent;
};

struct KVIBusEngineClass {
    IBusEngineClass parent;
};

// GObject instances cannot own C++ members directly; each engine's host lives here.
std::map<IBusEngine*, std::unique_ptr<kv::IBusEngineHost>>& Hosts() {
    static std::map<IBusEngine*, std::unique_ptr<kv::IBusEngineHost>> hosts;
    return hosts;
}

kv::IBusEngineHost* HostOf(IBusEngine* engine) {
    const auto found = Hosts().find(engine);
    return found == Hosts().end() ? nullptr : found->second.get();
}

G_DEFINE_TYPE(KVIBusEngine, kv_ibus_engine, IBUS_TYPE_ENGINE)

void kv_ibus_engine_init(KVIBusEngine* self) {
    auto* const engine = IBUS_ENGINE(self);
    Hosts()[engine] = std::make_unique<kv::IBusEngineHost>(engine);
}

void kv_ibus_engine_destroy(IBusObject* object) {
    Hosts().erase(IBUS_ENGINE(object));
    IBUS_OBJECT_CLASS(kv_ibus_engine_parent_class)->destroy(object);
}

gboolean ProcessKeyEvent(IBusEngine* engine, guint keyval, guint keycode, guint state) {
    kv::IBusEngineHost* const host = HostOf(engine);
    return host != nullptr && host->processKeyEvent(keyval, keycode, state) ? TRUE : FALSE;
}

void FocusInId(IBusEngine* engine, const gchar* objectPath, const gchar* client) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->focusIn(objectPath != nullptr ? objectPath : "", client != nullptr ? client : "");
    }
}

// A new engine object is focused before the daemon learned that it takes focus ids.
void FocusIn(IBusEngine* engine) {
    FocusInId(engine, kv::IBusEngineHost::kUnnamedContext.data(), "");
}

void FocusOut(IBusEngine* engine) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->focusOut(host->focusedPath());
    }
}

void FocusOutId(IBusEngine* engine, const gchar* objectPath) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->focusOut(objectPath != nullptr ? objectPath : "");
    }
}

void SetCursorLocation(IBusEngine* engine, gint x, gint y, gint w, gint h) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->setCursorLocation(x, y, w, h);
    }
}

void SetSurroundingText(IBusEngine* engine, IBusText* text, guint cursor, guint anchor) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->setSurroundingText(text, cursor, anchor);
    }
    IBUS_ENGINE_CLASS(kv_ibus_engine_parent_class)
        ->set_surrounding_text(engine, text, cursor, anchor);
}

void SetContentType(IBusEngine* engine, guint purpose, guint hints) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->setContentType(purpose);
    }
    IBUS_ENGINE_CLASS(kv_ibus_engine_parent_class)->set_content_type(engine, purpose, hints);
}

void Reset(IBusEngine* engine) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->reset();
    }
}

void Enable(IBusEngine* engine) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->enable();
    }
}

void Disable(IBusEngine* engine) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->disable();
    }
}

void PropertyActivate(IBusEngine* engine, const gchar* name, guint) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->propertyActivate(name != nullptr ? name : "");
    }
}

template <std::uint32_t kEvdevCode>
void PressKey(IBusEngine* engine) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->pressKey(kEvdevCode);
    }
}

void CandidateClicked(IBusEngine* engine, guint index, guint, guint) {
    if (kv::IBusEngineHost* const host = HostOf(engine)) {
        host->candidateClicked(index);
    }
}

void kv_ibus_engine_class_init(KVIBusEngineClass* klass) {
    IBUS_OBJECT_CLASS(klass)->destroy = kv_ibus_engine_destroy;
    IBusEngineClass* const engine = IBUS_ENGINE_CLASS(klass);
    engine->process_key_event = ProcessKeyEvent;
    engine->focus_in_id = FocusInId;
    engine->focus_out_id = FocusOutId;
    engine->focus_in = FocusIn;
    engine->focus_out = FocusOut;
    engine->set_cursor_location = SetCursorLocation;
    engine->set_surrounding_text = SetSurroundingText;
    engine->set_content_type = SetContentType;
    engine->reset = Reset;
    engine->enable = Enable;
    engine->disable = Disable;
    engine->property_activate = PropertyActivate;
    engine->page_up = PressKey<KEY_PAGEUP>;
    engine->page_down = PressKey<KEY_PAGEDOWN>;
    engine->cursor_up = PressKey<KEY_UP>;
    engine->cursor_down = PressKey<KEY_DOWN>;
    engine->candidate_clicked = CandidateClicked;
}

}  // namespace

namespace kv {

void KVCloseIBusEngineHosts() {
    Hosts().clear();
}

IBusEngine* KVIBusEngineNew(GDBusConnection* connection, const char* engineName,
                            const char* objectPath) {
    return IBUS_ENGINE(g_object_new(kv_ibus_engine_get_type(), "engine-name", engineName,
                                    "object-path", objectPath, "connection", connection,
                                    "has-focus-id", TRUE, nullptr));
}

}  // namespace kv
