// SPDX-License-Identifier: MIT
#include "controller/shared_table.h"

#include <mutex>

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

constexpr std::string_view kTableResource = "CQInput-KV";
constexpr std::string_view kTableType = "cin";

bool LoadUserDictionary(cqinput::CinTable& table) {
    const std::optional<std::filesystem::path> user = KVUserDictionaryURL();
    return user && table.loadUserDictionary(*user);
}

std::shared_ptr<cqinput::CinTable> LoadTable() {
    const std::optional<std::filesystem::path> resource =
        mainBundle().pathForResource(kTableResource, kTableType);
    if (!resource) {
        return nullptr;
    }
    auto table = std::make_shared<cqinput::CinTable>();
    if (!table->load(*resource)) {
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
        gTable->reloadUserDictionaryIfChanged();
    } else {
        gUserDictionaryLoaded = LoadUserDictionary(*gTable);
    }
}

void KVResetSharedTable() {
    const std::lock_guard lock(gTableMutex);
    gTable.reset();
    gUserDictionaryLoaded = false;
}

}  // namespace kv
