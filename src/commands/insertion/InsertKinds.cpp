#include "commands/insertion/InsertKinds.h"

#include <algorithm>
#include <array>

namespace mw {

namespace {

constexpr std::array<InsertKind, 10> Kinds{{
    {"&Human", "human", "----------------- Human ----------------------", "Enemy12K.i3d", InsertGroup::Human},
    {"&Car", "car", "---------------------- Car -----------------------", "blackha00.i3d", InsertGroup::None},
    {"&Truck", "truck", "-------------------- Truck -----------------------", "Truck02.i3d", InsertGroup::None},
    {"&Policecar", "policecar", "------------------ Policecar ---------------------", "polimTud00.i3d",
     InsertGroup::None},
    {"&Building", "building", "------------------ Building ----------------------", "4build10.i3d",
     InsertGroup::None},
    {"&Door", "door", "--------------------- Door -----------------------", "FMVDidiOutDoor.i3d", InsertGroup::Door},
    {"&Things", "things", "------------------- Things -----------------------", "xbarel 2.i3d", InsertGroup::Things},
    {"&Light", "light", "------------------- Light ------------------------", "", InsertGroup::Light},
    {"&Sound", "sound", "------------------- Sound ---------------------", "", InsertGroup::Sound},
    {"&Other", "other", "------------------- Other ------------------------", "", InsertGroup::Script},
}};

} // namespace

std::span<const InsertKind> insertKinds() { return Kinds; }

const InsertKind* insertKindNamed(std::string_view kind)
{
    const auto it = std::find_if(Kinds.begin(), Kinds.end(), [&](const InsertKind& k) { return k.kind == kind; });
    return it == Kinds.end() ? nullptr : &*it;
}

} // namespace mw
