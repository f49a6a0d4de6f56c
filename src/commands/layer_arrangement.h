// Commands that arrange the target layers or act on all visible layers, and
// the queries of the layer dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Where layers are aligned or distributed, by k: top edges, vertical
// centres, bottom edges, left edges, horizontal centres, right edges (the
// host's `ADSt` values, in menu order).
constexpr std::array<std::string_view, 6> kAlignments = {"AdTp", "AdCV", "AdBt", "AdLf", "AdCH", "AdRg"};

// The host's name of alignment k; empty for any other k.
constexpr std::string_view AlignmentOf(int k) {
  return k >= 0 && k < int(kAlignments.size()) ? kAlignments[std::size_t(k)] : std::string_view{};
}

// k as above; any other k plays nothing.
std::int32_t AlignLayers(int k);
std::int32_t DistributeLayers(int k);
// With the host's own dialog.
std::int32_t AutoBlendLayers();
// A new layer holding what is visible; when the host stamps nothing, a
// copy of the target layer with its layer mask applied. 0 when either is
// whole; otherwise the step that failed, so that the caller's history step
// is dropped.
std::int32_t StampVisible();
// The host's layer style dialog for the target layer.
std::int32_t EditLayerStyle();
// The target layer's fill opacity as the host keeps it; -1 when it cannot
// be read.
std::int32_t GetFillOpacity();
