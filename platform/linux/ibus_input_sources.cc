// SPDX-License-Identifier: MIT
#include "platform/linux/ibus_input_sources.h"

#include <fcntl.h>
#include <ibus.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <string_view>
#include <system_error>

#include "platform/linux/glib_ptr.h"
#include "platform/linux/plist_bundle.h"
#include "platform/linux/replaced_file.h"

namespace kv {

namespace {

constexpr std::string_view kSourceType = "ibus-engine";
constexpr const char* kSettingsSchema = "org.freedesktop.ibus.general";
constexpr const char* kPreloadEnginesKey = "preload-engines";
// The daemon re-executes itself and reads every component folder before it answers again.
constexpr guint kRestartTimeoutMilliseconds = 20000;
constexpr guint kPollMilliseconds = 100;
// The desktop's panel, restarted with the daemon, comes back within a few seconds and then makes
// its first preloaded engine the global one.
constexpr guint kPanelTimeoutMilliseconds = 10000;
// How long a selection must stay in effect to count: long enough for a panel's own choice, or its
// answer to a changed engine list, to arrive.
constexpr guint kSettleMilliseconds = 700;
constexpr int kSelectAttempts = 3;

struct XmlFree {
    void operator()(XMLNode* node) const { ibus_xml_free(node); }
};
using XmlTree = std::unique_ptr<XMLNode, XmlFree>;

std::string OrEmpty(const gchar* text) {
    return text == nullptr ? std::string() : std::string(text);
}

std::vector<const gchar*> NullTerminated(const std::vector<std::string>& strings) {
    std::vector<const gchar*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& string : strings) {
        pointers.push_back(string.c_str());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// ---- The component description

std::vector<XMLNode*> Children(const XMLNode* node, std::string_view name) {
    std::vector<XMLNode*> children;
    for (GList* item = node->sub_nodes; item != nullptr; item = item->next) {
        auto* child = static_cast<XMLNode*>(item->data);
        if (child->name != nullptr && name == child->name) {
            children.push_back(child);
        }
    }
    return children;
}

XMLNode* Child(const XMLNode* node, std::string_view name) {
    const std::vector<XMLNode*> children = Children(node, name);
    return children.empty() ? nullptr : children.front();
}

std::string_view Text(const XMLNode* node) {
    return node == nullptr || node->text == nullptr ? std::string_view() : node->text;
}

void SetText(XMLNode* node, const std::string& text) {
    g_free(node->text);
    node->text = g_strdup(text.c_str());
}

std::vector<XMLNode*> Engines(const XMLNode* component) {
    const XMLNode* engines = Child(component, "engines");
    return engines == nullptr ? std::vector<XMLNode*>() : Children(engines, "engine");
}

std::vector<std::string> EngineNames(const XMLNode* component) {
    std::vector<std::string> names;
    for (const XMLNode* engine : Engines(component)) {
        if (const std::string_view name = Text(Child(engine, "name")); !name.empty()) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::string ShellQuoted(const std::filesystem::path& path) {
    const GCharsPtr quoted(g_shell_quote(path.c_str()));
    return quoted.get();
}

// The daemon starts the engine from <exec>, split like a shell would, and the icons are looked
// up from wherever the panel runs: both must name the bundle's files absolutely.
bool FillInBundlePaths(XMLNode* component, const std::filesystem::path& executable,
                       const std::filesystem::path& resources) {
    XMLNode* exec = Child(component, "exec");
    if (exec == nullptr || Text(Child(component, "name")).empty()) {
        return false;
    }
    SetText(exec, ShellQuoted(executable) + " --ibus");
    for (const XMLNode* engine : Engines(component)) {
        XMLNode* icon = Child(engine, "icon");
        const std::filesystem::path name(Text(icon));
        std::error_code error;
        if (icon != nullptr && name.is_relative() && !name.empty() &&
            std::filesystem::is_regular_file(resources / name, error)) {
            SetText(icon, (resources / name).string());
        }
    }
    return true;
}

std::string Serialized(const XMLNode* component) {
    GString* text = g_string_new("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
    ibus_xml_output(component, text);
    std::string bytes(text->str, text->len);
    g_string_free(text, TRUE);
    return bytes;
}

// ---- Installing the description

// Writes, flushes to the disk and closes `fd`; the first error, as an errno value.
int WriteAndClose(int fd, std::string_view bytes) {
    // Readable by every user's daemon, whatever the installer's umask.
    int error = ::fchmod(fd, 0644) == 0 ? 0 : errno;
    while (error == 0 && !bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    // Closing is where a full disk may show first.
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

// A daemon starting meanwhile reads the old description or the new one, never half of one. An
// identical description is left alone, so that a user can tell the daemon about a description
// that an installer put into a folder only the administrator may write.
int WriteAtomically(const std::filesystem::path& folder, const std::string& name,
                    std::string_view bytes) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return error.value();
    }
    // A FIFO or device at the name is never opened: it would block or read for ever.
    if (HoldsExactly(folder / name, bytes)) {
        return 0;
    }
    std::string temporary = (folder / ("." + name + ".XXXXXX")).string();
    const int fd = g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) {
        return errno;
    }
    int result = WriteAndClose(fd, bytes);
    if (result == 0 && ::rename(temporary.c_str(), (folder / name).c_str()) != 0) {
        result = errno;
    }
    if (result != 0) {
        ::unlink(temporary.c_str());
    }
    return result;
}

// ---- Waiting for the daemon

// Runs the default main context, which is what lets the bus notice the daemon leaving and coming
// back, until `done` holds or the time is up.
bool IterateUntil(const std::function<bool()>& done, guint timeoutMilliseconds) {
    bool expired = false;
    const guint timer = g_timeout_add(
        timeoutMilliseconds,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    // Wakes the loop to ask the daemon again when no event comes.
    const guint poll = g_timeout_add(
        kPollMilliseconds, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool finished = done();
    while (!finished && !expired) {
        g_main_context_iteration(nullptr, TRUE);
        finished = done();
    }
    g_source_remove(poll);
    if (!expired) {
        g_source_remove(timer);
    }
    return finished;
}

bool DaemonKnows(IBusBus* bus, const std::vector<std::string>& engines) {
    IBusEngineDesc** found = ibus_bus_get_engines_by_names(bus, NullTerminated(engines).data());
    std::size_t count = 0;
    for (IBusEngineDesc** desc = found; desc != nullptr && *desc != nullptr; ++desc) {
        ++count;
        g_object_unref(*desc);
    }
    g_free(found);
    return count == engines.size();
}

// Whether the daemon already runs with this description of the engines: the icons name the
// bundle's files absolutely, so a bundle moved or replaced elsewhere tells by them.
bool DaemonLoaded(IBusBus* bus, const XMLNode* component) {
    std::map<std::string, std::string> wanted;
    for (const XMLNode* engine : Engines(component)) {
        wanted.emplace(Text(Child(engine, "name")), Text(Child(engine, "icon")));
    }
    std::vector<std::string> names;
    names.reserve(wanted.size());
    for (const auto& [name, icon] : wanted) {
        names.push_back(name);
    }
    IBusEngineDesc** found = ibus_bus_get_engines_by_names(bus, NullTerminated(names).data());
    std::size_t matching = 0;
    for (IBusEngineDesc** desc = found; desc != nullptr && *desc != nullptr; ++desc) {
        const auto entry = wanted.find(OrEmpty(ibus_engine_desc_get_name(*desc)));
        if (entry != wanted.end() && entry->second == OrEmpty(ibus_engine_desc_get_icon(*desc))) {
            ++matching;
        }
        g_object_unref(*desc);
    }
    g_free(found);
    return !wanted.empty() && matching == wanted.size();
}

bool PanelRuns(IBusBus* bus) {
    return ibus_bus_name_has_owner(bus, IBUS_SERVICE_PANEL) != FALSE;
}

// The library prints a warning for every error the daemon answers; where an error is an answer
// like any other, it would only mislead the user.
class QuietIBusWarnings {
  public:
    QuietIBusWarnings()
        : _handler(g_log_set_handler(
              "IBUS", G_LOG_LEVEL_WARNING,
              [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr)) {}
    ~QuietIBusWarnings() { g_log_remove_handler("IBUS", _handler); }
    QuietIBusWarnings(const QuietIBusWarnings&) = delete;
    QuietIBusWarnings& operator=(const QuietIBusWarnings&) = delete;

  private:
    guint _handler;
};

// Null when no engine is selected yet (the daemon then answers with an error).
GObjectPtr<IBusEngineDesc> GlobalEngine(IBusBus* bus) {
    const QuietIBusWarnings quiet;
    return GObjectPtr<IBusEngineDesc>(ibus_bus_get_global_engine(bus));
}

std::string GlobalEngineName(IBusBus* bus) {
    const GObjectPtr<IBusEngineDesc> desc = GlobalEngine(bus);
    return desc ? OrEmpty(ibus_engine_desc_get_name(desc.get())) : std::string();
}

// Whether `name` stays the global engine for the settling time.
bool StaysGlobal(IBusBus* bus, const std::string& name) {
    return !IterateUntil([&] { return GlobalEngineName(bus) != name; }, kSettleMilliseconds);
}

// Makes `name` the global engine; false when the daemon refused or another request cancelled it
// (a panel choosing at the same moment does).
bool SetGlobalEngine(IBusBus* bus, const std::string& name) {
    const QuietIBusWarnings quiet;
    return ibus_bus_set_global_engine(bus, name.c_str()) != FALSE;
}

// ---- Listing

struct InstalledEngine {
    std::string component;
    bool startable = false;
};

// Whether the daemon can start the component's program: it splits <exec> like a shell.
bool CanStart(const gchar* exec) {
    gchar** words = nullptr;
    if (exec == nullptr || !g_shell_parse_argv(exec, nullptr, &words, nullptr)) {
        return false;
    }
    const GStrvPtr argv(words);
    const GCharsPtr program(g_find_program_in_path(argv.get()[0]));
    return program != nullptr;
}

// The daemon tells no engine's component: read the component folders as it reads them.
std::map<std::string, InstalledEngine> InstalledEngines() {
    const GObjectPtr<IBusRegistry> registry(IBUS_REGISTRY(g_object_ref_sink(ibus_registry_new())));
    ibus_registry_load(registry.get());
    std::map<std::string, InstalledEngine> installed;
    GList* components = ibus_registry_get_components(registry.get());
    for (GList* item = components; item != nullptr; item = item->next) {
        auto* component = static_cast<IBusComponent*>(item->data);
        const InstalledEngine owner{OrEmpty(ibus_component_get_name(component)),
                                    CanStart(ibus_component_get_exec(component))};
        GList* engines = ibus_component_get_engines(component);
        for (GList* engine = engines; engine != nullptr; engine = engine->next) {
            installed.emplace(OrEmpty(ibus_engine_desc_get_name(IBUS_ENGINE_DESC(engine->data))),
                              owner);
        }
        g_list_free(engines);
    }
    g_list_free(components);
    return installed;
}

InputSource SourceOf(IBusEngineDesc* desc, const std::map<std::string, InstalledEngine>& installed,
                     std::uint64_t reference) {
    InputSource source;
    source.reference = reference;
    const std::string name = OrEmpty(ibus_engine_desc_get_name(desc));
    source.inputSourceID = name;
    source.inputSourceType = std::string(kSourceType);
    const auto found = installed.find(name);
    source.isSelectCapable = found != installed.end() && found->second.startable;
    if (found != installed.end()) {
        source.bundleID = found->second.component;
    }
    return source;
}

// ---- The user's list of input methods

GObjectPtr<GSettings> InputMethodSettings() {
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    GSettingsSchema* schema = schemas == nullptr
                                  ? nullptr
                                  : g_settings_schema_source_lookup(schemas, kSettingsSchema, TRUE);
    if (schema == nullptr) {
        return nullptr;
    }
    GObjectPtr<GSettings> settings(g_settings_new_full(schema, nullptr, nullptr));
    g_settings_schema_unref(schema);
    return settings;
}

std::vector<std::string> StoredEngines(GSettings* settings) {
    const GStrvPtr stored(g_settings_get_strv(settings, kPreloadEnginesKey));
    std::vector<std::string> engines;
    for (gchar** name = stored.get(); *name != nullptr; ++name) {
        engines.emplace_back(*name);
    }
    return engines;
}

void AddOnce(std::vector<std::string>& engines, const std::string& name) {
    if (std::find(engines.begin(), engines.end(), name) == engines.end()) {
        engines.push_back(name);
    }
}

}  // namespace

IBusInputSources::IBusInputSources() {
    ibus_init();
}

IBusInputSources::~IBusInputSources() = default;

std::filesystem::path IBusInputSources::componentFolder() {
    const gchar* path = g_getenv("IBUS_COMPONENT_PATH");
    std::string_view folders = path == nullptr ? std::string_view() : path;
    while (!folders.empty()) {
        const std::size_t end = std::min(folders.find(':'), folders.size());
        if (end > 0) {
            return folders.substr(0, end);
        }
        folders.remove_prefix(1);
    }
    return KV_IBUS_SYSTEM_COMPONENT_DIR;
}

IBusBus* IBusInputSources::connectedBus() {
    if (!_bus) {
        _bus.reset(ibus_bus_new());
    }
    return ibus_bus_is_connected(_bus.get()) ? _bus.get() : nullptr;
}

bool IBusInputSources::daemonAnswers() {
    IBusBus* const bus = connectedBus();
    if (bus == nullptr) {
        return false;
    }
    GVariant* engines = g_dbus_connection_call_sync(
        ibus_bus_get_connection(bus), IBUS_SERVICE_IBUS, IBUS_PATH_IBUS,
        "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", IBUS_INTERFACE_IBUS, "Engines"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, nullptr);
    if (engines == nullptr) {
        return false;
    }
    g_variant_unref(engines);
    return true;
}

std::int32_t IBusInputSources::registerInputSource(const std::filesystem::path& bundle) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(bundle / "Contents" / "Info.plist", error)) {
        return ENOENT;
    }
    const PlistBundle info(bundle);
    const std::optional<std::string> executable =
        info.objectForInfoDictionaryKey("CFBundleExecutable");
    const std::optional<std::string> fileName = info.objectForInfoDictionaryKey("KVIBusComponent");
    if (!executable || !fileName || executable->empty() ||
        executable->find('/') != std::string::npos) {
        return EINVAL;
    }
    const std::optional<std::filesystem::path> description = info.pathForResource(*fileName, "");
    if (!description) {
        return ENOENT;
    }
    const XmlTree component(ibus_xml_parse_file(description->c_str()));
    const std::filesystem::path contents = bundle / "Contents";
    if (!component || std::string_view(component->name) != "component" ||
        !FillInBundlePaths(component.get(), contents / "MacOS" / *executable,
                           contents / "Resources")) {
        return EINVAL;
    }
    const std::string bytes = Serialized(component.get());
    // A restart breaks running XIM clients until they restart: only a daemon that has not read
    // this description gets one.
    IBusBus* const bus = connectedBus();
    if (bus != nullptr && HoldsExactly(componentFolder() / *fileName, bytes) &&
        DaemonLoaded(bus, component.get())) {
        return 0;
    }
    if (const int written = WriteAtomically(componentFolder(), *fileName, bytes); written != 0) {
        return written;
    }
    return restartDaemonKnowing(EngineNames(component.get()));
}

std::int32_t IBusInputSources::restartDaemonKnowing(const std::vector<std::string>& engines) {
    IBusBus* const bus = connectedBus();
    // An address left behind by fcitx5's IBus frontend leads to a bus without a daemon.
    if (bus == nullptr || !daemonAnswers()) {
        return ENOTCONN;
    }
    _panelReturning = PanelRuns(bus);
    bool left = false;
    const gulong handler = g_signal_connect_swapped(
        bus, "disconnected", G_CALLBACK(+[](gpointer flag) { *static_cast<bool*>(flag) = true; }),
        &left);
    // The daemon reads component folders only when it starts; restarting keeps its process,
    // arguments and environment.
    const bool asked = ibus_bus_exit(bus, TRUE) != FALSE;
    const bool back =
        asked &&
        IterateUntil(
            [&] { return left && ibus_bus_is_connected(bus) && DaemonKnows(bus, engines); },
            kRestartTimeoutMilliseconds);
    g_signal_handler_disconnect(bus, handler);
    if (!asked) {
        return EIO;
    }
    return back ? 0 : ETIMEDOUT;
}

std::vector<InputSource> IBusInputSources::createInputSourceList(bool /*includeAllInstalled*/) {
    IBusBus* const bus = connectedBus();
    if (bus == nullptr) {
        return {};
    }
    const std::map<std::string, InstalledEngine> installed = InstalledEngines();
    std::vector<InputSource> sources;
    GList* engines = ibus_bus_list_engines(bus);
    for (GList* item = engines; item != nullptr; item = item->next) {
        sources.push_back(SourceOf(IBUS_ENGINE_DESC(item->data), installed, sources.size()));
    }
    g_list_free_full(engines, g_object_unref);
    return sources;
}

std::int32_t IBusInputSources::enableInputSource(const InputSource& source) {
    IBusBus* const bus = connectedBus();
    if (!source.inputSourceID) {
        return EINVAL;
    }
    if (bus == nullptr) {
        return ENOTCONN;
    }
    const GObjectPtr<GSettings> settings = InputMethodSettings();
    std::vector<std::string> engines = settings ? StoredEngines(settings.get()) : _preloaded;
    const std::size_t stored = engines.size();
    for (const std::string& name : _preloaded) {
        AddOnce(engines, name);
    }
    AddOnce(engines, *source.inputSourceID);
    if (settings && engines.size() != stored) {
        if (!g_settings_set_strv(settings.get(), kPreloadEnginesKey,
                                 NullTerminated(engines).data())) {
            return EPERM;
        }
        g_settings_sync();
    }
    if (!ibus_bus_preload_engines(bus, NullTerminated(engines).data())) {
        return EIO;
    }
    _preloaded = std::move(engines);
    return 0;
}

std::int32_t IBusInputSources::selectInputSource(const InputSource& source) {
    IBusBus* const bus = connectedBus();
    if (!source.inputSourceID) {
        return EINVAL;
    }
    if (bus == nullptr) {
        return ENOTCONN;
    }
    if (_panelReturning) {
        // Selecting before the restarted panel made its own choice would be undone by it.
        _panelReturning = false;
        IterateUntil([bus] { return PanelRuns(bus); }, kPanelTimeoutMilliseconds);
    }
    bool attached = false;
    for (int attempt = 0; attempt < kSelectAttempts; ++attempt) {
        attached = SetGlobalEngine(bus, *source.inputSourceID);
        if (attached && StaysGlobal(bus, *source.inputSourceID)) {
            return 0;
        }
        if (!attached) {
            // Whatever cancelled the request is still under way: let it finish first.
            IterateUntil([] { return false; }, kSettleMilliseconds);
        }
    }
    return attached ? EAGAIN : EIO;
}

std::optional<InputSource> IBusInputSources::copyCurrentKeyboardInputSource() {
    IBusBus* const bus = connectedBus();
    if (bus == nullptr) {
        return std::nullopt;
    }
    const GObjectPtr<IBusEngineDesc> desc = GlobalEngine(bus);
    if (!desc) {
        return std::nullopt;
    }
    return SourceOf(desc.get(), InstalledEngines(), 0);
}

}  // namespace kv
