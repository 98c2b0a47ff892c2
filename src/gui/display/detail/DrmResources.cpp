#include "gui/display/detail/DrmResources.h"

#include <cstring>
#include <memory>
#include <xf86drm.h>
#include <xf86drmMode.h>

namespace OKU {

namespace {

// libdrm hands out objects that each have their own free function.
template <typename T, void (*Free)(T*)>
struct DrmFree {
    void operator()(T* object) const { Free(object); }
};

template <typename T, void (*Free)(T*)>
using DrmObject = std::unique_ptr<T, DrmFree<T, Free>>;

typedef DrmObject<drmModeRes, drmModeFreeResources> Resources;
typedef DrmObject<drmModeConnector, drmModeFreeConnector> Connector;
typedef DrmObject<drmModeEncoder, drmModeFreeEncoder> Encoder;
typedef DrmObject<drmModePlaneRes, drmModeFreePlaneResources> PlaneResources;
typedef DrmObject<drmModePlane, drmModeFreePlane> Plane;
typedef DrmObject<drmModeObjectProperties, drmModeFreeObjectProperties> Properties;
typedef DrmObject<drmModePropertyRes, drmModeFreeProperty> Property;

int indexOf(const std::vector<uint32_t>& ids, uint32_t id)
{
    for (size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == id)
            return static_cast<int>(i);
    }
    return -1;
}

DrmConnector describe(int fd, const drmModeConnector& connector,
                      const std::vector<uint32_t>& crtcIds)
{
    DrmConnector described;
    described.id = connector.connector_id;
    described.connected = connector.connection == DRM_MODE_CONNECTED;
    described.modes.assign(connector.modes, connector.modes + connector.count_modes);
    described.possibleCrtcs = drmModeConnectorGetPossibleCrtcs(fd, &connector);
    if (connector.encoder_id != 0) {
        const Encoder encoder(drmModeGetEncoder(fd, connector.encoder_id));
        if (encoder && encoder->crtc_id != 0)
            described.currentCrtc = indexOf(crtcIds, encoder->crtc_id);
    }
    return described;
}

bool isPrimary(int fd, uint32_t planeId)
{
    const Properties properties(drmModeObjectGetProperties(fd, planeId, DRM_MODE_OBJECT_PLANE));
    if (!properties)
        return false;
    for (uint32_t i = 0; i < properties->count_props; ++i) {
        const Property property(drmModeGetProperty(fd, properties->props[i]));
        if (property && std::strcmp(property->name, "type") == 0)
            return properties->prop_values[i] == DRM_PLANE_TYPE_PRIMARY;
    }
    return false;
}

} // namespace

bool readDrmResources(int fd, DrmResources& resources)
{
    const Resources device(drmModeGetResources(fd));
    if (!device)
        return false;
    resources.crtcIds.assign(device->crtcs, device->crtcs + device->count_crtcs);
    resources.connectors.clear();
    for (int i = 0; i < device->count_connectors; ++i) {
        const Connector connector(drmModeGetConnector(fd, device->connectors[i]));
        if (connector)
            resources.connectors.push_back(describe(fd, *connector, resources.crtcIds));
    }
    return true;
}

std::vector<uint32_t> primaryPlaneFormats(int fd, int crtcIndex)
{
    // Planes name the CRTCs they serve in a 32-bit mask.
    if (crtcIndex < 0 || crtcIndex >= 32)
        return {};
    // Without this the device lists only its overlay planes.
    if (drmSetClientCap(fd, DRM_CLIENT_CAP_UNIVERSAL_PLANES, 1) != 0)
        return {};
    const PlaneResources planes(drmModeGetPlaneResources(fd));
    if (!planes)
        return {};
    for (uint32_t i = 0; i < planes->count_planes; ++i) {
        const Plane plane(drmModeGetPlane(fd, planes->planes[i]));
        if (plane && (plane->possible_crtcs & (uint32_t(1) << crtcIndex)) &&
            isPrimary(fd, plane->plane_id))
            return std::vector<uint32_t>(plane->formats, plane->formats + plane->count_formats);
    }
    return {};
}

} // namespace OKU
