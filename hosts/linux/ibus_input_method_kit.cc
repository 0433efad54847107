// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_input_method_kit.h"

#include <glib-unix.h>
#include <ibus.h>

#include <csignal>
#include <string>

#include "hosts/linux/ibus_engine.h"
#include "platform/linux/glib_ptr.h"
#include "platform/services.h"

namespace kv {

struct IBusInputMethodKit::Loop {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    ~Loop() { g_main_loop_unref(loop); }
};

namespace {

class IBusServer final : public IMKServer {
  public:
    IBusServer(GObjectPtr<IBusBus> bus, GObjectPtr<IBusFactory> factory)
        : _bus(std::move(bus)), _factory(std::move(factory)) {}
    // The sessions end with the server, before the program's services and windows go.
    ~IBusServer() override { KVCloseIBusEngineHosts(); }
    IBusServer(const IBusServer&) = delete;
    IBusServer& operator=(const IBusServer&) = delete;
    IBusBus* bus() const { return _bus.get(); }

  private:
    GObjectPtr<IBusBus> _bus;
    GObjectPtr<IBusFactory> _factory;
};

IBusEngine* CreateEngine(IBusFactory* factory, const gchar* engineName, gpointer) {
    static unsigned serial = 0;
    const std::string path = "/org/freedesktop/IBus/Engine/CQInputKV/" + std::to_string(++serial);
    return KVIBusEngineNew(ibus_service_get_connection(IBUS_SERVICE(factory)), engineName,
                           path.c_str());
}

// The daemon started this process for the component: it must own the component's name, or the
// daemon talks to another process and this one would wait for ever with no engine to make.
bool OwnComponentName(IBusBus* bus, const std::string& name) {
    const guint reply = ibus_bus_request_name(bus, name.c_str(), IBUS_BUS_NAME_FLAG_DO_NOT_QUEUE);
    switch (reply) {
        case IBUS_BUS_REQUEST_NAME_REPLY_PRIMARY_OWNER:
        case IBUS_BUS_REQUEST_NAME_REPLY_ALREADY_OWNER:
            return true;
        case IBUS_BUS_REQUEST_NAME_REPLY_IN_QUEUE:
        case IBUS_BUS_REQUEST_NAME_REPLY_EXISTS:
            systemLog().write("another process already serves " + name + "; this one ends");
            return false;
        default:
            systemLog().write("IBus did not give the name " + name);
            return false;
    }
}

bool RegisterComponent(IBusBus* bus, const std::filesystem::path& file) {
    IBusComponent* const component = ibus_component_new_from_file(file.c_str());
    if (component == nullptr) {
        systemLog().write("cannot read the IBus component " + file.string());
        return false;
    }
    const bool registered = ibus_bus_register_component(bus, component) != FALSE;
    g_object_unref(component);
    return registered;
}

}  // namespace

IBusInputMethodKit::IBusInputMethodKit(Start start, std::filesystem::path componentFile)
    : _start(start), _componentFile(std::move(componentFile)), _loop(std::make_unique<Loop>()) {}

IBusInputMethodKit::~IBusInputMethodKit() = default;

std::unique_ptr<IMKServer> IBusInputMethodKit::createServer(std::string_view,
                                                            std::string_view bundleIdentifier) {
    ibus_init();
    GObjectPtr<IBusBus> bus(ibus_bus_new());
    if (!ibus_bus_is_connected(bus.get())) {
        systemLog().write("no IBus daemon to connect to");
        return nullptr;
    }
    GObjectPtr<IBusFactory> factory(ibus_factory_new(ibus_bus_get_connection(bus.get())));
    g_signal_connect(factory.get(), "create-engine", G_CALLBACK(CreateEngine), nullptr);
    // The daemon waits for the component's name when it started us; otherwise we announce it.
    const bool ready = _start == Start::ByDaemon
                           ? OwnComponentName(bus.get(), std::string(bundleIdentifier))
                           : RegisterComponent(bus.get(), _componentFile);
    if (!ready) {
        systemLog().write("IBus refused the component " + std::string(bundleIdentifier));
        return nullptr;
    }
    g_signal_connect(bus.get(), "disconnected", G_CALLBACK(+[](IBusBus*, gpointer loop) {
                         systemLog().write("the IBus daemon went away");
                         g_main_loop_quit(static_cast<GMainLoop*>(loop));
                     }),
                     _loop->loop);
    return std::make_unique<IBusServer>(std::move(bus), std::move(factory));
}

void IBusInputMethodKit::run() {
    const auto quit = +[](gpointer loop) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        // Kept until run() removes it, which it does whichever way the loop ended.
        return G_SOURCE_CONTINUE;
    };
    const guint interrupt = g_unix_signal_add(SIGINT, quit, _loop->loop);
    const guint terminate = g_unix_signal_add(SIGTERM, quit, _loop->loop);
    systemLog().write("ready");
    g_main_loop_run(_loop->loop);
    g_source_remove(interrupt);
    g_source_remove(terminate);
}

}  // namespace kv
