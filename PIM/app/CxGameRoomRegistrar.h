#pragma once
// Room registration records: a static object per room type that enters
// itself in one global list when constructed, naming the room and the
// factory that makes it. The application creates every registered room once,
// at start, in registration order.

#include "PIM/core/PimDefs.h"

#include <vector>

class CxGameApp;
class CxGameWindow;

using PimRoomFactory = CxGameWindow* (*)(CxGameApp* app);

class CxGameRoomRegistrar
{
public:
    CxGameRoomRegistrar(const char* name, PimRoomFactory factory);
    ~CxGameRoomRegistrar();
    CxGameRoomRegistrar(const CxGameRoomRegistrar&) = delete;
    CxGameRoomRegistrar& operator=(const CxGameRoomRegistrar&) = delete;

    const char* GetName() const { return m_name; }
    PimRoomFactory GetFactory() const { return m_factory; }

    // Every record alive, in registration order.
    static const std::vector<CxGameRoomRegistrar*>& GetAll();

private:
    char m_name[33] = {};
    PimRoomFactory m_factory;
};

// A factory for a room class constructed from the application.
template <class Room>
CxGameWindow* MakeRoom(CxGameApp* app)
{
    return new Room(app);
}
