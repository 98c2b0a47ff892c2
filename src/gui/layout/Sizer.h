#ifndef OKU_GUI_LAYOUT_SIZER_H
#define OKU_GUI_LAYOUT_SIZER_H

#include "core/Geometry.h"
#include "core/NonCopyable.h"

namespace OKU {

class ContainerWidget;
class Widget;

/// Computes positions and sizes of widgets inside a rectangle and reports the
/// minimum size of its content. A container owns one sizer and runs it when
/// its size changes. GUI thread only.
class Sizer : private NonCopyable {
public:
    virtual ~Sizer();

    virtual int getMinWidth() const = 0;
    virtual int getMinHeight() const = 0;
    virtual void show(bool on) = 0;
    virtual bool isVisible() const = 0;
    virtual void doFitRect(const Rect& r, Widget* parent) = 0;

    /// Lays out into r; parent, when given, must be the parent of every widget.
    /// A fit asked for while this sizer is fitting is run again afterwards.
    void fitRect(const Rect& r, Widget* parent);
    /// fitRect on the container's content rectangle.
    void fitContainer(ContainerWidget* c);
    /// Lays out at minimum size centred in r.
    void fitCenter(const Rect& r);
    /// Warns (OKU_VALIDATESIZERS) when r is smaller than the minimum size.
    void validateSize(const char* name, const Rect& r);

    static bool s_noValidate;

protected:
    bool m_fitting = false;
    bool m_refitRequested = false;
};

} // namespace OKU

#endif
