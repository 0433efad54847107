// SPDX-License-Identifier: MIT
#include "platform/linux/fcitx5_input_sources.h"

#include <gio/gio.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <memory>
#include <string_view>
#include <system_error>
#include <thread>
#include <variant>

#include "platform/file_reading.h"
#include "platform/linux/fcitx5_description.h"
#include "platform/linux/plist_bundle.h"
#include "platform/linux/replaced_file.h"
#include "platform/linux/xdg_locations.h"

namespace kv {

namespace {

constexpr const char* kFcitxName = "org.fcitx.Fcitx5";
constexpr const char* kControllerPath = "/controller";
constexpr const char* kController = "org.fcitx.Fcitx.Controller1";
constexpr const char* kFrontendPath = "/org/freedesktop/portal/inputmethod";
constexpr const char* kFrontend = "org.fcitx.Fcitx.InputMethod1";
constexpr const char* kInputContext = "org.fcitx.Fcitx.InputContext1";
constexpr std::string_view kSourceType = "fcitx5-input-method";
// The addon's name is its description's file name, and the input method takes the same.
constexpr std::string_view kAddonName = "cqinputkv";
constexpr std::string_view kLibraryName = "cqinputkv-fcitx5";
constexpr std::string_view kIconName = "cqinputkv.svg";
// Far larger than a description; what keeps a hostile bundle from filling memory.
constexpr std::uint64_t kLargestDescription = std::uint64_t{1} << 20;
constexpr int kCallTimeoutMilliseconds = 5000;
constexpr auto kRestartTimeout = std::chrono::seconds(20);
// How long a selection may take to reach the input context it switches.
constexpr auto kSelectTimeout = std::chrono::seconds(1);
constexpr auto kPoll = std::chrono::milliseconds(50);

struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

// One method call; null on any error. Never starts the service: without an owner of the name the
// call fails, where the bus would otherwise launch a second fcitx5 beside the running one.
VariantPtr Call(GDBusConnection* connection, const char* destination, const char* path,
                const char* interface, const char* method, GVariant* arguments,
                const char* replyType) {
    return VariantPtr(g_dbus_connection_call_sync(
        connection, destination, path, interface, method, arguments,
        replyType == nullptr ? nullptr : G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NO_AUTO_START,
        kCallTimeoutMilliseconds, nullptr, nullptr));
}

VariantPtr CallController(GDBusConnection* connection, const char* method,
                          GVariant* arguments = nullptr, const char* replyType = nullptr) {
    return Call(connection, kFcitxName, kControllerPath, kController, method, arguments, replyType);
}

std::string StringOf(const VariantPtr& reply) {
    if (!reply) {
        return {};
    }
    const gchar* text = nullptr;
    g_variant_get(reply.get(), "(&s)", &text);
    return text;
}

// The unique name of fcitx5's connection, empty when nobody owns the name.
std::string NameOwner(GDBusConnection* connection) {
    return StringOf(Call(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus", "GetNameOwner", g_variant_new("(s)", kFcitxName),
                         "(s)"));
}

bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

// The session bus, as the session names it. Where it names none, no bus is launched for the
// run: a bus of its own would outlive the tool and hold no fcitx5 anyway.
std::string SessionBusAddress() {
    const gchar* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') {
        return address;
    }
    const gchar* runtime = g_getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path socket =
        std::filesystem::path(runtime == nullptr ? "" : runtime) / "bus";
    std::error_code error;
    if (runtime != nullptr && std::filesystem::is_socket(socket, error)) {
        return "unix:path=" + socket.string();
    }
    return {};
}

// ---- Installing the descriptions

// fcitx5 appends ".so" to the library's name itself.
std::filesystem::path LibraryOf(const std::filesystem::path& bundle) {
    return bundle / "Contents" / "PlugIns" / kLibraryName;
}

struct InstalledFile {
    std::filesystem::path path;
    std::string bytes;
};

// The bundle's description `name` as installed under `kind`, with `key` of `section` naming
// `value`; or an errno value.
std::variant<InstalledFile, int> Rewritten(const std::filesystem::path& bundle,
                                           std::string_view name, const char* section,
                                           const char* key, const std::filesystem::path& value,
                                           std::string_view kind) {
    const std::filesystem::path file = bundle / "Contents" / "Resources" / "fcitx5" / name;
    const BoundedRead read = ReadRegularFile(file, kLargestDescription);
    if (!read.bytes) {
        std::error_code error;
        return std::filesystem::exists(file, error) ? EINVAL : ENOENT;
    }
    std::optional<std::string> text = WithFcitxValue(*read.bytes, section, key, value.string());
    if (!text) {
        return EINVAL;
    }
    return InstalledFile{
        FcitxInputSources::descriptionFolder() / kind / (std::string(kAddonName) + ".conf"),
        std::move(*text)};
}

// Both descriptions, the addon's first: the input method's names it.
std::variant<std::vector<InstalledFile>, int> InstalledFiles(const std::filesystem::path& bundle) {
    const std::filesystem::path resources = bundle / "Contents" / "Resources";
    std::vector<InstalledFile> files;
    for (std::variant<InstalledFile, int> file :
         {Rewritten(bundle, "addon.conf", "Addon", "Library", LibraryOf(bundle), "addon"),
          Rewritten(bundle, "inputmethod.conf", "InputMethod", "Icon", resources / kIconName,
                    "inputmethod")}) {
        if (const int* failed = std::get_if<int>(&file)) {
            return *failed;
        }
        files.push_back(std::move(std::get<InstalledFile>(file)));
    }
    return files;
}

// Whether a file changed; or an errno value.
std::variant<bool, int> WriteChanged(const std::vector<InstalledFile>& files) {
    bool changed = false;
    for (const InstalledFile& file : files) {
        if (HoldsExactly(file.path, file.bytes, kLargestDescription)) {
            continue;
        }
        if (const int written = ReplaceFileAtomically(file.path, file.bytes); written != 0) {
            return written;
        }
        changed = true;
    }
    return changed;
}

// ---- Groups of input methods

struct Group {
    std::string layout;
    std::vector<std::pair<std::string, std::string>> items;  // input method, its layout

    bool holds(const std::string& inputMethod) const {
        return std::any_of(items.begin(), items.end(),
                           [&](const auto& item) { return item.first == inputMethod; });
    }
};

std::optional<Group> GroupNamed(GDBusConnection* bus, const std::string& name) {
    const VariantPtr reply =
        CallController(bus, "InputMethodGroupInfo", g_variant_new("(s)", name.c_str()), "(sa(ss))");
    if (name.empty() || !reply) {
        return std::nullopt;
    }
    Group group;
    const gchar* layout = nullptr;
    GVariantIter* entries = nullptr;
    g_variant_get(reply.get(), "(&sa(ss))", &layout, &entries);
    group.layout = layout;
    const gchar* inputMethod = nullptr;
    const gchar* itemLayout = nullptr;
    while (g_variant_iter_next(entries, "(&s&s)", &inputMethod, &itemLayout)) {
        group.items.emplace_back(inputMethod, itemLayout);
    }
    g_variant_iter_free(entries);
    // fcitx5 answers an unknown group with an empty one.
    return group.items.empty() ? std::nullopt : std::optional<Group>(std::move(group));
}

bool SetGroup(GDBusConnection* bus, const std::string& name, const Group& group) {
    GVariantBuilder items;
    g_variant_builder_init(&items, G_VARIANT_TYPE("a(ss)"));
    for (const auto& [inputMethod, layout] : group.items) {
        g_variant_builder_add(&items, "(ss)", inputMethod.c_str(), layout.c_str());
    }
    // The builder's contents are taken by the new variant, which the call sinks.
    return CallController(bus, "SetInputMethodGroupInfo",
                          g_variant_new("(ssa(ss))", name.c_str(), group.layout.c_str(), &items)) !=
           nullptr;
}

}  // namespace

FcitxInputSources::FcitxInputSources() = default;

FcitxInputSources::~FcitxInputSources() = default;

std::filesystem::path FcitxInputSources::descriptionFolder() {
    return XdgDataHome() / "fcitx5";
}

GDBusConnection* FcitxInputSources::connection() {
    if (!_connectionTried) {
        _connectionTried = true;
        const std::string address = SessionBusAddress();
        if (!address.empty()) {
            _connection.reset(g_dbus_connection_new_for_address_sync(
                address.c_str(),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr));
        }
    }
    return _connection.get();
}

bool FcitxInputSources::running() {
    GDBusConnection* const bus = connection();
    if (bus == nullptr) {
        return false;
    }
    const VariantPtr reply =
        Call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
             "NameHasOwner", g_variant_new("(s)", kFcitxName), "(b)");
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply.get(), "(b)", &owned);
    }
    return owned != FALSE;
}

bool FcitxInputSources::lists(const std::string& name) {
    const VariantPtr reply =
        CallController(connection(), "AvailableInputMethods", nullptr, "(a(ssssssb))");
    if (!reply) {
        return false;
    }
    GVariantIter* methods = nullptr;
    g_variant_get(reply.get(), "(a(ssssssb))", &methods);
    const gchar* unique = nullptr;
    bool found = false;
    while (!found && g_variant_iter_next(methods, "(&s&s&s&s&s&sb)", &unique, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr)) {
        found = name == unique;
    }
    g_variant_iter_free(methods);
    return found;
}

std::int32_t FcitxInputSources::registerInputSource(const std::filesystem::path& bundle) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(bundle / "Contents" / "Info.plist", error)) {
        return ENOENT;
    }
    const std::variant<std::vector<InstalledFile>, int> files = InstalledFiles(bundle);
    if (const int* failed = std::get_if<int>(&files)) {
        return *failed;
    }
    _bundleID = PlistBundle(bundle).bundleIdentifier();
    _library = LibraryOf(bundle);

    const bool fcitxRuns = running();
    const bool known = fcitxRuns && lists(std::string(kAddonName));
    const std::variant<bool, int> changed = WriteChanged(std::get<0>(files));
    if (const int* failed = std::get_if<int>(&changed)) {
        return *failed;
    }
    if (!fcitxRuns) {
        return ENOTCONN;
    }
    if (known && !std::get<bool>(changed)) {
        return 0;
    }
    // A loaded addon keeps the library it was loaded from until fcitx5 starts again.
    if (known) {
        return restart();
    }
    return CallController(connection(), "Refresh") ? 0 : EIO;
}

std::int32_t FcitxInputSources::restart() {
    GDBusConnection* const bus = connection();
    const std::string before = NameOwner(bus);
    if (!CallController(bus, "Restart")) {
        return EIO;
    }
    // The new process takes the name once the old one let it go, and lists the input methods
    // once it has read the descriptions.
    const std::string name(kAddonName);
    const bool back = PollUntil(
        [&] {
            const std::string owner = NameOwner(bus);
            return !owner.empty() && owner != before && lists(name);
        },
        kRestartTimeout);
    return back ? 0 : ETIMEDOUT;
}

InputSource FcitxInputSources::sourceNamed(const std::string& name, std::uint64_t reference) {
    InputSource source;
    source.reference = reference;
    source.inputSourceID = name;
    source.inputSourceType = std::string(kSourceType);
    auto addon = _addonOfInputMethod.find(name);
    if (addon == _addonOfInputMethod.end()) {
        addon =
            _addonOfInputMethod
                .emplace(name, StringOf(CallController(connection(), "AddonForIM",
                                                       g_variant_new("(s)", name.c_str()), "(s)")))
                .first;
    }
    const bool own = addon->second == kAddonName;
    if (own) {
        source.bundleID = _bundleID;
    }
    // fcitx5 loads an addon only when one of its input methods is first used: without its
    // library, the input method is listed but would never turn on.
    std::error_code error;
    std::filesystem::path library = _library;
    library += ".so";
    source.isSelectCapable = !own || std::filesystem::is_regular_file(library, error);
    return source;
}

std::vector<InputSource> FcitxInputSources::createInputSourceList(bool /*includeAllInstalled*/) {
    std::vector<InputSource> sources;
    if (!running()) {
        return sources;
    }
    const VariantPtr reply =
        CallController(connection(), "AvailableInputMethods", nullptr, "(a(ssssssb))");
    if (!reply) {
        return sources;
    }
    GVariantIter* methods = nullptr;
    g_variant_get(reply.get(), "(a(ssssssb))", &methods);
    const gchar* unique = nullptr;
    while (g_variant_iter_next(methods, "(&s&s&s&s&s&sb)", &unique, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr)) {
        sources.push_back(sourceNamed(unique, sources.size()));
    }
    g_variant_iter_free(methods);
    return sources;
}

std::int32_t FcitxInputSources::enableInputSource(const InputSource& source) {
    if (!source.inputSourceID) {
        return EINVAL;
    }
    if (!running()) {
        return ENOTCONN;
    }
    GDBusConnection* const bus = connection();
    const std::string name =
        StringOf(CallController(bus, "CurrentInputMethodGroup", nullptr, "(s)"));
    std::optional<Group> group = GroupNamed(bus, name);
    if (group && group->holds(*source.inputSourceID)) {
        return 0;
    }
    if (!group) {
        return EIO;
    }
    group->items.emplace_back(*source.inputSourceID, "");
    if (!SetGroup(bus, name, *group)) {
        return EIO;
    }
    // fcitx5 drops an input method it cannot offer from the group without a word.
    group = GroupNamed(bus, name);
    return group && group->holds(*source.inputSourceID) ? 0 : EIO;
}

std::optional<std::string> FcitxInputSources::currentInputMethod() {
    const VariantPtr reply = CallController(connection(), "CurrentInputMethod", nullptr, "(s)");
    return reply ? std::optional<std::string>(StringOf(reply)) : std::nullopt;
}

std::int32_t FcitxInputSources::selectInputSource(const InputSource& source) {
    if (!source.inputSourceID) {
        return EINVAL;
    }
    if (!running()) {
        return ENOTCONN;
    }
    if (!CallController(connection(), "SetCurrentIM",
                        g_variant_new("(s)", source.inputSourceID->c_str()))) {
        return EIO;
    }
    // Switching a context loads the addon on its first use, which the answer does not wait for.
    PollUntil(
        [&] {
            const std::optional<std::string> current = currentInputMethod();
            return !current || current->empty() || *current == *source.inputSourceID;
        },
        kSelectTimeout);
    return 0;
}

std::optional<InputSource> FcitxInputSources::copyCurrentKeyboardInputSource() {
    if (!running()) {
        return std::nullopt;
    }
    std::optional<std::string> current = currentInputMethod();
    if (current && current->empty()) {
        current = inputMethodOfANewField();
    }
    if (!current || current->empty()) {
        return std::nullopt;
    }
    return sourceNamed(*current, 0);
}

std::optional<std::string> FcitxInputSources::inputMethodOfANewField() {
    GDBusConnection* const bus = connection();
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a(ss)"));
    g_variant_builder_add(&builder, "(ss)", "program", "ime-enlist");
    const VariantPtr created = Call(bus, kFcitxName, kFrontendPath, kFrontend, "CreateInputContext",
                                    g_variant_new("(a(ss))", &builder), "(oay)");
    if (!created) {
        return std::nullopt;
    }
    const gchar* path = nullptr;
    g_variant_get(created.get(), "(&o@ay)", &path, nullptr);
    const std::string context = path;
    // Turned on, a field gets the group's default input method.
    Call(bus, kFcitxName, context.c_str(), kInputContext, "FocusIn", nullptr, nullptr);
    CallController(bus, "Activate");
    std::optional<std::string> current = currentInputMethod();
    Call(bus, kFcitxName, context.c_str(), kInputContext, "DestroyIC", nullptr, nullptr);
    return current;
}

}  // namespace kv
