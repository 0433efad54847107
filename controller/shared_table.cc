// SPDX-License-Identifier: MIT
#include "controller/shared_table.h"

#include <mutex>
#include <string>

#include "platform/services.h"
#include "words/user_dictionary_url.h"

namespace kv {

namespace {

// Destroyed at exit in reverse order: the table before the mutex that guards its creation.
std::mutex gTableMutex;
std::shared_ptr<cqinput::CinTable> gTable;
// Whether a load of gTable's user dictionary has succeeded, so that its reloads can look for
// changes.
bool gUserDictionaryLoaded = false;

// The last refusal written, guarded by gTableMutex: a file refused again unchanged at every
// activation is written once.
std::string gLastRefusal;

constexpr std::string_view kTableResource = "CQInput-KV";
constexpr std::string_view kTableType = "cin";

void LogRefusal(std::string_view what, const std::filesystem::path& path,
                const cqinput::CinTable& table) {
    const cqinput::LoadProblem problem =
        table.lastProblem().value_or(cqinput::LoadProblem{0, "the file cannot be read"});
    std::string line =
        "refused the " + std::string(what) + " " + cqinput::describeProblem(path.string(), problem);
    if (line != gLastRefusal) {
        systemLog().write(line);
        gLastRefusal = std::move(line);
    }
}

bool LoadUserDictionary(cqinput::CinTable& table) {
    const std::optional<std::filesystem::path> user = KVUserDictionaryURL();
    if (!user) {
        systemLog().write("no place for the user dictionary: the support directory cannot be made");
        return false;
    }
    if (!table.loadUserDictionary(*user)) {
        LogRefusal("user dictionary", *user, table);
        return false;
    }
    gLastRefusal.clear();
    return true;
}

std::shared_ptr<cqinput::CinTable> LoadTable() {
    const std::optional<std::filesystem::path> resource =
        mainBundle().pathForResource(kTableResource, kTableType);
    if (!resource) {
        systemLog().write("the bundle holds no table " + std::string(kTableResource) + "." +
                          std::string(kTableType));
        return nullptr;
    }
    auto table = std::make_shared<cqinput::CinTable>();
    if (!table->load(*resource)) {
        LogRefusal("table", *resource, *table);
        return nullptr;
    }
    // Made empty when missing, so the user has a file to edit; a refused dictionary leaves the
    // table without user phrases and the start goes on.
    gUserDictionaryLoaded = LoadUserDictionary(*table);
    return table;
}

}  // namespace

std::shared_ptr<cqinput::CinTable> KVSharedTable() {
    const std::lock_guard lock(gTableMutex);
    if (!gTable) {
        gTable = LoadTable();
    }
    return gTable;
}

std::shared_ptr<cqinput::CinTable> KVLoadedSharedTable() {
    const std::lock_guard lock(gTableMutex);
    return gTable;
}

void KVReloadUserDictionary() {
    const std::lock_guard lock(gTableMutex);
    if (!gTable) {
        return;
    }
    if (gUserDictionaryLoaded) {
        if (gTable->reloadUserDictionaryIfChanged() == cqinput::ReloadResult::Failed) {
            LogRefusal("changed user dictionary", KVUserDictionaryURL().value_or(""), *gTable);
        }
    } else {
        gUserDictionaryLoaded = LoadUserDictionary(*gTable);
    }
}

void KVReloadTable(cqinput::CinTable& table) {
    const std::lock_guard lock(gTableMutex);
    if (table.reloadIfChanged() == cqinput::ReloadResult::Failed) {
        const std::optional<std::filesystem::path> resource =
            mainBundle().pathForResource(kTableResource, kTableType);
        LogRefusal("changed table", resource.value_or(""), table);
    }
}

void KVResetSharedTable() {
    const std::lock_guard lock(gTableMutex);
    gTable.reset();
    gUserDictionaryLoaded = false;
    gLastRefusal.clear();
}

}  // namespace kv
