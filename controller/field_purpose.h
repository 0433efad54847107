// SPDX-License-Identifier: MIT
// What kind of field a session types into, as far as the input method cares: the framework
// tells it (IBus as a content purpose), the server decides what follows from it.
#pragma once

namespace kv {

enum class KVFieldPurpose { Text, Password, Pin };

// A password or PIN field gets every key untouched and never shows the panel: nothing typed
// there may stay in a composition or appear in a list.
constexpr bool KVIsSecureField(KVFieldPurpose purpose) {
    return purpose == KVFieldPurpose::Password || purpose == KVFieldPurpose::Pin;
}

}  // namespace kv
