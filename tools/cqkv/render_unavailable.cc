// SPDX-License-Identifier: MIT
// The render commands where the build has no Linux bodies (-DKV_LINUX=OFF): the pictures are
// painted by Cairo and Pango and the windows are GTK's, so such a build says it cannot.
#include <ostream>

#include "tools/cqkv/render_candidates.h"
#include "tools/cqkv/render_keyboard.h"
#include "tools/cqkv/render_windows.h"

namespace kv {

namespace {

int Unavailable(std::ostream& err) {
    err << "cqkv render: this cqkv was built without the Linux bodies (-DKV_LINUX=OFF), which "
           "paint the pictures\n";
    return 1;
}

}  // namespace

int runRender(std::span<const std::string_view> /*args*/, std::ostream& /*out*/,
              std::ostream& err) {
    return Unavailable(err);
}

int runRenderKeyboard(std::span<const std::string_view> /*args*/, std::ostream& /*out*/,
                      std::ostream& err) {
    return Unavailable(err);
}

int runRenderWindow(RenderedWindow /*window*/, std::span<const std::string_view> /*args*/,
                    std::ostream& /*out*/, std::ostream& err) {
    return Unavailable(err);
}

}  // namespace kv
