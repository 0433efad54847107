// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_engine_host.h"

#include <algorithm>
#include <charconv>

#include <gdk/gdkx.h>

#include <cstdlib>

#include "candidates/candidate_window.h"
#include "controller/candidate_panel_choice.h"
#include "hosts/linux/ibus_desktop_panel.h"
#include "hosts/linux/ibus_key_synth.h"
#include "hosts/linux/panel_accessibility.h"
#include "platform/linux/glib_ptr.h"
#include "platform/linux/x_key_translation.h"
#include "platform/services.h"
#include "platform/workspace.h"
#include "settings/settings_keys.h"
#include "settings/settings_table.h"

namespace kv {

namespace {

constexpr std::string_view kMenuPrefix = "menu.";

// IBus's own input context, which the daemon focuses while no field has focus.
constexpr std::string_view kDaemonContextClient = "fake";

// Qt's module ("QIBusInputContext") reports the caret in Qt's device-independent pixels; IBus's
// GTK 3 module ("gtk3-im:<program>") and X clients report device pixels on X11. A client not yet
// named is taken for GTK, the desktop's usual toolkit.
constexpr std::string_view kQtClient = "QIBusInputContext";

bool ReportsDevicePixels(std::string_view clientName) {
    return !clientName.starts_with(kQtClient);
}

// The client names of the contexts this process was told about, for an engine object that is
// focused on one before the daemon gives it names. Bounded: contexts come and go for ever.
std::map<std::string, std::string, std::less<>>& ClientNames() {
    static std::map<std::string, std::string, std::less<>> names;
    return names;
}

constexpr std::size_t kMaxClientNames = 256;

void RememberClientName(const std::string& path, const std::string& clientName) {
    if (ClientNames().size() >= kMaxClientNames && !ClientNames().contains(path)) {
        ClientNames().clear();
    }
    ClientNames()[path] = clientName;
}

std::string KnownClientName(std::string_view path) {
    const auto found = ClientNames().find(path);
    return found == ClientNames().end() ? std::string() : found->second;
}

// The context the daemon has focused. The daemon calls engines without waiting for them, so it
// answers while the engine waits.
std::optional<std::string> CurrentContextPath() {
    const GObjectPtr<IBusBus> bus(ibus_bus_new());  // the process's one bus, shared
    if (!ibus_bus_is_connected(bus.get())) {
        return std::nullopt;
    }
    const GCharsPtr path(ibus_bus_current_input_context(bus.get()));
    if (path == nullptr || *path == '\0') {
        return std::nullopt;
    }
    return std::string(path.get());
}

KVFieldPurpose FieldPurposeOf(std::uint32_t purpose) {
    switch (purpose) {
        case IBUS_INPUT_PURPOSE_PASSWORD:
            return KVFieldPurpose::Password;
        case IBUS_INPUT_PURPOSE_PIN:
            return KVFieldPurpose::Pin;
        default:
            return KVFieldPurpose::Text;
    }
}

IBusProperty* MenuProperty(const KVMenu& menu) {
    IBusPropList* const items = ibus_prop_list_new();
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const std::string key = std::string(kMenuPrefix) + std::to_string(i);
        ibus_prop_list_append(
            items, ibus_property_new(key.c_str(), PROP_TYPE_NORMAL,
                                     ibus_text_new_from_string(menu.items[i].title.c_str()),
                                     nullptr, nullptr, TRUE, TRUE, PROP_STATE_UNCHECKED, nullptr));
    }
    return ibus_property_new("menu", PROP_TYPE_MENU, ibus_text_new_from_string(menu.title.c_str()),
                             nullptr, nullptr, TRUE, TRUE, PROP_STATE_UNCHECKED, items);
}

bool IsX11Display() {
    GdkDisplay* const display = gdk_display_get_default();
    return display != nullptr && GDK_IS_X11_DISPLAY(display);
}

// Device pixels per GDK logical pixel, the unit the program's windows are placed in.
double LogicalPixelScale() {
    GdkDisplay* const display = gdk_display_get_default();
    if (display == nullptr || gdk_display_get_n_monitors(display) == 0) {
        return 1;
    }
    return std::max(1, gdk_monitor_get_scale_factor(gdk_display_get_monitor(display, 0)));
}

bool IsWaylandSession() {
    const char* const wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && *wayland != '\0';
}

}  // namespace

IBusEngineHost::IBusEngineHost(IBusEngine* engine) : _link(std::make_shared<IBusEngineLink>()) {
    _link->engine = engine;
    _link->server = &_server;
    defaultCenter().addObserver(this, KVSettingsDidChangeNotification,
                                [this](const Notification&) { choosePanel(); });
    InstallPanelAccessibility(KVCandidatePanel(), KVKeyboardWindow::sharedWindow());
}

IBusEngineHost::~IBusEngineHost() {
    defaultCenter().removeObserver(this);
    if (_activationSource != 0) {
        g_source_remove(_activationSource);
    }
    // The sessions close while the engine can still clear what they show.
    for (const std::string& id : _server.sessionIds()) {
        _server.closeSession(id);
    }
    _link->engine = nullptr;
    _link->server = nullptr;
}

IBusTextClient* IBusEngineHost::focusedClient() const {
    const auto found = _clients.find(_server.focusedSessionId());
    return found == _clients.end() ? nullptr : found->second.get();
}

bool IBusEngineHost::processKeyEvent(std::uint32_t keyval, std::uint32_t keycode,
                                     std::uint32_t state) {
    activatePending();
    if (!_server.focusedSessionTakesKeys()) {
        return false;
    }
    const std::optional<KeyEvent> event =
        TranslateXKey({keyval, keycode, state, ibus_keyval_to_unicode(keyval)});
    const bool handled = event && _server.handleEvent(_server.focusedSessionId(), *event);
    noteModes();
    return handled;
}

void IBusEngineHost::noteModes() const {
    if (const KVInputController* const controller = _server.focusedController()) {
        SetAccessibleModes(KVCandidatePanel(), AccessibleModesText(controller->chineseMode(),
                                                                   controller->simplifiedMode(),
                                                                   controller->fullwidthMode()));
    }
}

KVInputController* IBusEngineHost::menuController() const {
    return _server.controller(_menuPath);
}

void IBusEngineHost::ensureSession(const std::string& id) {
    if (!_clients.contains(id)) {
        auto client = std::make_shared<IBusTextClient>(_link, id);
        _clients.emplace(id, client);
        _server.createSession(id, std::move(client));
    }
    _recent.remove(id);
    _recent.push_back(id);
    closeOldestSessions();
}

void IBusEngineHost::focusIn(std::string_view path, std::string_view clientName) {
    std::string id(path);
    std::string client(clientName);
    if (id == kUnnamedContext) {
        // The daemon still knows which context it is; the process may have seen its client.
        if (std::optional<std::string> current = CurrentContextPath()) {
            id = std::move(*current);
            client = KnownClientName(id);
        }
    } else {
        RememberClientName(id, client);
    }
    // A focus-in without a focus-out of the context before it still leaves that one.
    const std::string& focused = _server.focusedSessionId();
    if (!focused.empty() && focused != id) {
        focusOut(std::string(focused));
    }
    ensureSession(id);
    _menuPath = id;
    if (client == kDaemonContextClient) {
        // No field has focus: nothing of the program shows and no key is taken there; the
        // session only serves the input menu, which the desktop still offers.
        registerMenu();
        return;
    }
    _server.focusSession(id);
    IBusKeySynth::setFocusedLink(_link);
    if (IBusTextClient* const text = focusedClient()) {
        text->setReportedPixelsPerPoint(ReportsDevicePixels(client) ? LogicalPixelScale() : 1);
    }
    if (!_lastClientName.empty() && !client.empty() && client != _lastClientName) {
        workspaceCenter().postNotificationName(NSWorkspaceDidActivateApplicationNotification);
    }
    if (!client.empty()) {
        _lastClientName = client;
    }
    // The context's capabilities, caret and content type follow the focus: activation waits for
    // them, so a password field never sees the toolbar and the toolbar lands at the caret.
    _activationPending = true;
    if (_activationSource == 0) {
        _activationSource = g_idle_add(
            [](gpointer self) -> gboolean {
                auto* const host = static_cast<IBusEngineHost*>(self);
                host->_activationSource = 0;
                host->activatePending();
                return G_SOURCE_REMOVE;
            },
            this);
    }
    registerMenu();
    ibus_engine_get_surrounding_text(_link->engine, nullptr, nullptr, nullptr);
}

void IBusEngineHost::activatePending() {
    if (!_activationPending) {
        return;
    }
    _activationPending = false;
    if (_server.focusedSessionTakesKeys()) {
        choosePanel();
        _server.activateFocusedSession();
    }
}

void IBusEngineHost::choosePanel() {
    const IBusTextClient* const client = focusedClient();
    const bool desktop =
        KVUseDesktopPanel(KVReadSetting(standardUserDefaults(), HostRules::CandidatePanel),
                          {IsX11Display(), IsWaylandSession(),
                           client != nullptr && client->cursorLocation().has_value()});
    if (desktop == _desktopPanel) {
        return;
    }
    _desktopPanel = desktop;
    KVCandidateWindow& window = KVCandidatePanel();
    if (desktop) {
        window.panel().attachBody(std::make_unique<IBusDesktopPanel>(window, _link));
    } else {
        if (IBusEngine* const engine = _link->focusedEngine()) {
            ibus_engine_hide_lookup_table(engine);
            ibus_engine_hide_auxiliary_text(engine);
        }
        window.panel().attachBody(panelBodies().makeBody(window.panel()));
    }
    registerMenu();
}

void IBusEngineHost::focusOut(std::string_view path) {
    const std::string focused = _server.focusedSessionId();
    if (focused.empty() || (path != focused && focused != kUnnamedContext)) {
        return;
    }
    _activationPending = false;
    _server.unfocusSession(focused);
}

void IBusEngineHost::closeOldestSessions() {
    while (_recent.size() > kMaxSessions) {
        const std::string oldest = _recent.front();
        _recent.pop_front();
        _server.closeSession(oldest);
        _clients.erase(oldest);
    }
}

void IBusEngineHost::setCursorLocation(int x, int y, int width, int height) {
    IBusTextClient* const client = focusedClient();
    if (client == nullptr) {
        return;
    }
    // The toolkit reports the caret after the focus and after every preedit change.
    if (client->setCursorLocation(Rect(x, y, width, height))) {
        _server.caretDidMove(client->path());
    }
}

void IBusEngineHost::setSurroundingText(IBusText* text, std::uint32_t cursor,
                                        std::uint32_t anchor) {
    IBusTextClient* const client = focusedClient();
    if (client == nullptr || text == nullptr) {
        return;
    }
    client->setSurroundingText(ibus_text_get_text(text), cursor, anchor);
}

void IBusEngineHost::setContentType(std::uint32_t purpose) {
    IBusTextClient* const client = focusedClient();
    if (client == nullptr) {
        return;
    }
    _server.setFieldPurpose(client->path(), FieldPurposeOf(purpose));
}

void IBusEngineHost::reset() {
    _server.commitComposition(_server.focusedSessionId());
}

void IBusEngineHost::enable() {
    ibus_engine_get_surrounding_text(_link->engine, nullptr, nullptr, nullptr);
}

void IBusEngineHost::disable() {
    if (!_server.focusedSessionId().empty()) {
        focusOut(_server.focusedSessionId());
    }
}

void IBusEngineHost::registerMenu() {
    KVInputController* const controller = menuController();
    if (controller == nullptr) {
        return;
    }
    IBusPropList* const list = ibus_prop_list_new();
    ibus_prop_list_append(list, MenuProperty(controller->menu()));
    // Without the program's own window the toolbar's buttons must stay reachable.
    if (_desktopPanel.value_or(false)) {
        IBusDesktopPanel::appendToolbarProperties(KVCandidatePanel(), list);
    }
    ibus_engine_register_properties(_link->engine, list);
}

void IBusEngineHost::propertyActivate(std::string_view name) {
    KVInputController* const controller = menuController();
    if (controller == nullptr ||
        IBusDesktopPanel::activateToolbarProperty(KVCandidatePanel(), name) ||
        !name.starts_with(kMenuPrefix)) {
        return;
    }
    std::size_t index = 0;
    const std::string_view number = name.substr(kMenuPrefix.size());
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), index);
    const KVMenu menu = controller->menu();
    if (error == std::errc() && end == number.data() + number.size() && index < menu.items.size()) {
        menu.items[index].action();
    }
}

void IBusEngineHost::pressKey(std::uint32_t evdevCode) {
    activatePending();
    if (const std::optional<KeyEvent> event = TranslateXKey({0, evdevCode, 0, 0})) {
        _server.handleEvent(_server.focusedSessionId(), *event);
    }
}

void IBusEngineHost::candidateClicked(unsigned index) {
    if (!_server.focusedSessionId().empty()) {
        IBusDesktopPanel::candidateClicked(KVCandidatePanel(), index);
    }
}

}  // namespace kv
