#include "UML/Model/HotSpotList.h"

#include <vector>

namespace {

struct HotSpot {
    RECT rect;
    int id;
    int owner;
};

int theOwner = 0;

std::vector<HotSpot>& Spots()
{
    static std::vector<HotSpot> spots;
    return spots;
}

} // namespace

void HotSpotList::Reserve()
{
    if (Spots().capacity() < 100)
        Spots().reserve(100);
}

void HotSpotList::Clear()
{
    Spots().clear();
}

void HotSpotList::Add(const RECT& rect, int id)
{
    Spots().push_back(HotSpot{rect, id, theOwner});
}

void HotSpotList::SetOwner(int symbolId)
{
    theOwner = symbolId;
}

int HotSpotList::Hit(POINT point, int* owner)
{
    for (const HotSpot& s : Spots())
        if (CRect(s.rect).PtInRect(point)) {
            if (owner)
                *owner = s.owner;
            return s.id;
        }
    return -1;
}

int HotSpotList::Count()
{
    return static_cast<int>(Spots().size());
}
