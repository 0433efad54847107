// SPDX-License-Identifier: MIT
#include "tools/cqkv/render_services.h"

#include <utility>

#include "platform/linux/pango_text_measurer.h"

namespace kv {

RenderServices::RenderServices() : _measurer(std::make_unique<PangoTextMeasurer>()) {
    SwapMeasurer();
}

RenderServices::~RenderServices() {
    // The memory bodies go back whole, as they came.
    SwapMeasurer();
}

void RenderServices::SwapMeasurer() {
    ServiceSet installed = installServices({});
    std::swap(installed.textMeasurer, _measurer);
    installServices(std::move(installed));
}

}  // namespace kv
