#include "game/physics/CxPointGravityBody.h"

#include <algorithm>
#include <cmath>

CxPhysicsVector CxPointGravityBody::GetForce(CxPhysicsVector position) const
{
    const float dx = m_centre.x - position.x, dy = m_centre.y - position.y, dz = m_centre.z - position.z;
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    // "not below" also turns a NaN range or distance into no pull.
    if (!(distance < m_range))
        return {};
    // A ball on the centre feels no pull rather than a division by zero.
    const float scale = m_strength / std::max(distance, 0.001f);
    return {dx * scale, dy * scale, dz * scale};
}

bool CxPointGravityBody::IsFinite() const
{
    return CxGravityBody::IsFinite() && std::isfinite(m_strength) && std::isfinite(m_range) &&
           std::isfinite(m_centre.x) && std::isfinite(m_centre.y) && std::isfinite(m_centre.z);
}
