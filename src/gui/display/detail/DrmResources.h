#ifndef OKU_GUI_DISPLAY_DETAIL_DRMRESOURCES_H
#define OKU_GUI_DISPLAY_DETAIL_DRMRESOURCES_H

#include <cstdint>
#include <vector>

#include "gui/display/detail/DrmModeChoice.h"

namespace OKU {

/// What a KMS device offers, read into the plain values the choices of
/// DrmModeChoice.h work on.
struct DrmResources {
    std::vector<uint32_t> crtcIds;
    std::vector<DrmConnector> connectors;
};

/// False, with errno set, when the descriptor is no KMS device. Reading the
/// connectors probes them, which takes a moment on some outputs.
bool readDrmResources(int fd, DrmResources& resources);

/// The formats of the primary plane the CRTC of index crtcIndex scans out
/// from; empty when the device names no primary plane for it.
std::vector<uint32_t> primaryPlaneFormats(int fd, int crtcIndex);

} // namespace OKU

#endif
