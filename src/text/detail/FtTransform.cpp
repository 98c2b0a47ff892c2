#include "text/detail/FtTransform.h"

#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace OKU {

FtTransform::FtTransform(float angle)
    : m_xx(static_cast<int32_t>(std::cos(angle) * 65536)),
      m_xy(static_cast<int32_t>(-std::sin(angle) * 65536)),
      m_yx(static_cast<int32_t>(std::sin(angle) * 65536)),
      m_yy(static_cast<int32_t>(std::cos(angle) * 65536))
{
}

FtVector FtTransform::operator()(FtVector v) const
{
    const FT_Matrix matrix{m_xx, m_xy, m_yx, m_yy};
    FT_Vector u{v.x, -v.y};
    FT_Vector_Transform(&u, &matrix);
    return FtVector(static_cast<int32_t>(u.x), static_cast<int32_t>(-u.y));
}

} // namespace OKU
