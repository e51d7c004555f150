#include "PIM/app/CxGameRoomRegistrar.h"

#include "PIM/core/Pimstr.h"

#include <algorithm>

namespace {

// A function-local list: registrations are static objects of other files,
// constructed in an order nobody controls.
std::vector<CxGameRoomRegistrar*>& Registrations()
{
    static std::vector<CxGameRoomRegistrar*> list;
    return list;
}

} // namespace

CxGameRoomRegistrar::CxGameRoomRegistrar(const char* name, PimRoomFactory factory) : m_factory(factory)
{
    PimStrCopy(m_name, name, sizeof m_name);
    Registrations().push_back(this);
}

CxGameRoomRegistrar::~CxGameRoomRegistrar()
{
    auto& list = Registrations();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

const std::vector<CxGameRoomRegistrar*>& CxGameRoomRegistrar::GetAll()
{
    return Registrations();
}
