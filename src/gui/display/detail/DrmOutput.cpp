#include "gui/display/detail/DrmOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <xf86drm.h>

#include "core/Paths.h"
#include "core/Trace.h"
#include "gui/display/detail/DisplayRotation.h"
#include "gui/display/detail/DisplayWake.h"
#include "gui/display/detail/DrmResources.h"
#include "gui/display/detail/SetupFailure.h"

namespace OKU {

namespace {

// Named after the root widget this output was first part of, as trace
// configurations know it.
const char* const c_traceCategory = "OKU::DrmRootWidget";

// A flip happens at the next vertical blank, a few milliseconds away; an
// event this late is not coming.
const int c_flipTimeoutMs = 1000;

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

DrmDisplayChoice chooseDisplayOrThrow(const DrmResources& resources, const std::string& path)
{
    const DrmDisplayChoice display = chooseDisplay(resources.connectors);
    switch (display.problem) {
    case DrmDisplayProblem::NONE:
        break;
    case DrmDisplayProblem::NO_CONNECTED_DISPLAY:
        throw SetupError("No connected display on " + quoted(path));
    case DrmDisplayProblem::NO_USABLE_MODE:
        throw SetupError("No usable mode on " + quoted(path));
    case DrmDisplayProblem::NO_CRTC:
        throw SetupError("No display controller for the connected display on " + quoted(path));
    }
    return display;
}

void onFlipDone(int, unsigned int, unsigned int, unsigned int, void* flips)
{
    static_cast<DrmFlipQueue*>(flips)->flipDone();
}

} // namespace

DrmOutput::DrmOutput() : m_path(getEnv("OKU_DRMDEV", "/dev/dri/card0"))
{
    std::memset(&m_mode, 0, sizeof m_mode);
    m_fd = Descriptor(::open(m_path.c_str(), O_RDWR | O_CLOEXEC));
    if (!m_fd.isOpen())
        throw deviceSetupError("Cannot open", m_path);

    DrmResources resources;
    if (!readDrmResources(m_fd.get(), resources))
        throw deviceSetupError("Not a display device", m_path);
    const DrmDisplayChoice display = chooseDisplayOrThrow(resources, m_path);
    const DrmConnector& connector = resources.connectors[display.connector];
    m_connectorId = connector.id;
    m_crtcId = resources.crtcIds[display.crtc];
    m_mode = connector.modes[display.mode];

    const int rotation = displayRotationFromEnv();

    uint64_t preferredDepth = 0;
    if (drmGetCap(m_fd.get(), DRM_CAP_DUMB_PREFERRED_DEPTH, &preferredDepth) != 0)
        preferredDepth = 0;
    DrmFormat format;
    if (!chooseFormat(primaryPlaneFormats(m_fd.get(), display.crtc), preferredDepth, format))
        throw SetupError("No usable pixel format on " + quoted(m_path));

    for (std::unique_ptr<DrmDumbBuffer>& buffer : m_buffers) {
        buffer.reset(new DrmDumbBuffer(m_fd.get(), m_mode.hdisplay, m_mode.vdisplay, format));
        if (!buffer->isValid())
            throw deviceSetupError("Cannot create a display buffer on", m_path,
                                   buffer->getError());
    }
    // The console stops drawing before the mode is set, so that none of its
    // output lands on the page.
    m_terminal.reset(new VirtualTerminal());
    const int result = setMode(m_flips.getShown());
    if (result != 0)
        throw deviceSetupError("Cannot set the mode on", m_path, -result);
    wakeDrmDisplay(m_fd.get(), m_connectorId);
    traceMessage(c_traceCategory, TRACE_INFO, "%s: %ux%u at %u Hz, %s, connector %u, CRTC %u",
                 m_path.c_str(), m_mode.hdisplay, m_mode.vdisplay, m_mode.vrefresh, format.name,
                 m_connectorId, m_crtcId);

    // The tree is laid out as the person in front of the panel sees it.
    m_writer.reset(new FrameWriter(format.pixelFormat, m_buffers[0]->getPitch(), m_mode.hdisplay,
                                   m_mode.vdisplay, rotation));
    m_aimDelayMs = c_humanReactionMs + 1000 / std::max<int>(m_mode.vrefresh, 1);
}

Size DrmOutput::getSize() const
{
    return Size(m_writer->getLogicalWidth(), m_writer->getLogicalHeight());
}

int DrmOutput::getRotation() const
{
    return m_writer->getRotation();
}

void DrmOutput::showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas, bool)
{
    for (const Rect& r : areas)
        m_flips.addDamage(r);
    waitForFlip();
    const int back = m_flips.getBack();
    for (const Rect& r : m_flips.takeBackDamage())
        m_writer->write(backBuffer, r, m_buffers[back]->getMemory());
    show(back);
}

void DrmOutput::waitForFlip()
{
    while (m_flips.isFlipPending()) {
        pollfd device = {m_fd.get(), POLLIN, 0};
        const int ready = poll(&device, 1, c_flipTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            giveUpFlips("no flip event within " + std::to_string(c_flipTimeoutMs) + " ms");
            return;
        }
        drmEventContext context;
        std::memset(&context, 0, sizeof context);
        context.version = 2;
        context.page_flip_handler = onFlipDone;
        if (ready < 0 || drmHandleEvent(m_fd.get(), &context) != 0) {
            giveUpFlips(std::string("reading its events failed: ") + std::strerror(errno));
            return;
        }
    }
}

void DrmOutput::show(int buffer)
{
    if (m_pageFlips) {
        const int result =
            drmModePageFlip(m_fd.get(), m_crtcId, m_buffers[buffer]->getFrameBufferId(),
                            DRM_MODE_PAGE_FLIP_EVENT, &m_flips);
        if (result == 0) {
            m_flips.flipQueued();
            return;
        }
        giveUpFlips(std::string("a page flip was refused: ") + std::strerror(-result));
    }
    const int result = setMode(buffer);
    if (result != 0) {
        // The frame stays in the back buffer, which the next frame completes.
        traceMessage(c_traceCategory, TRACE_ERROR, "Cannot show a frame on %s: %s",
                     quoted(m_path).c_str(), std::strerror(-result));
        return;
    }
    m_flips.shownNow();
}

int DrmOutput::setMode(int buffer)
{
    return drmModeSetCrtc(m_fd.get(), m_crtcId, m_buffers[buffer]->getFrameBufferId(), 0, 0,
                          &m_connectorId, 1, &m_mode);
}

void DrmOutput::giveUpFlips(const std::string& reason)
{
    traceMessage(c_traceCategory, TRACE_WARNING,
                 "%s: %s; every frame is now shown by setting the mode", m_path.c_str(),
                 reason.c_str());
    m_flips.flipDone();
    m_pageFlips = false;
}

} // namespace OKU
