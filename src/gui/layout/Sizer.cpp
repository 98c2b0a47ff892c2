#include "gui/layout/Sizer.h"

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/Trace.h"
#include "gui/tree/ContainerWidget.h"

namespace OKU {

namespace {

// A widget whose resize handler runs the sizer again gets this many layout
// passes to settle before the loop counts as endless.
const int c_maxFitRuns = 12;

} // namespace

bool Sizer::s_noValidate = false;

Sizer::~Sizer() = default;

void Sizer::fitRect(const Rect& r, Widget* parent)
{
    if (m_fitting) {
        m_refitRequested = true;
        return;
    }
    m_fitting = true;
    for (int run = 0; run < c_maxFitRuns; ++run) {
        m_refitRequested = false;
        doFitRect(r, parent);
        if (!m_refitRequested) {
            m_fitting = false;
            return;
        }
    }
    fatalError("Sizer::fitRect loop detected");
}

void Sizer::fitContainer(ContainerWidget* c)
{
    fitRect(c->getContentRect(), c);
}

void Sizer::fitCenter(const Rect& r)
{
    const int w = getMinWidth();
    const int h = getMinHeight();
    fitRect(Rect(r.x + (r.width - w) / 2, r.y + (r.height - h) / 2, w, h), nullptr);
}

// The environment is read until it is found unset, so a program that does
// not ask for the check pays for one lookup only.
void Sizer::validateSize(const char* name, const Rect& r)
{
    if (s_noValidate)
        return;
    if (getEnv("OKU_VALIDATESIZERS", "").empty()) {
        s_noValidate = true;
        return;
    }
    const int minWidth = getMinWidth();
    if (minWidth > r.width)
        traceMessage(name, TRACE_WARNING, "Sizer width violation (%d > %d)", minWidth, r.width);
    const int minHeight = getMinHeight();
    if (minHeight > r.height)
        traceMessage(name, TRACE_WARNING, "Sizer height violation (%d > %d)", minHeight, r.height);
}

} // namespace OKU
