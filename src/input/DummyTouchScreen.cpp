#include "input/DummyTouchScreen.h"

#include "core/Time.h"

namespace OKU {

TouchScreen::Event DummyTouchScreen::getEvent()
{
    for (;;)
        sleepMilliseconds(3600000);
}

} // namespace OKU
