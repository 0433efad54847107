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

constexpr std::string_view kTableResource = "CQInput-KV";
constexpr std::string_view kTableType = "cin";

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
    if (const std::optional<std::filesystem::path> user = KVUserDictionaryURL()) {
        table->loadUserDictionary(*user);
    }
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

void KVResetSharedTable() {
    const std::lock_guard lock(gTableMutex);
    gTable.reset();
}

}  // namespace kv
