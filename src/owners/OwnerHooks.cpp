#include "owners/OwnerHooks.h"

#include "owners/OwnerDB.h"
#include "owners/OwnerOrder.h"
#include "store/Session.h"

namespace tb {

namespace {

const Owner_Rec* Find(const Session& s, uint16_t id) {
  const int at = FindOwner(s, id);
  return at < 0 ? nullptr : &OwnerList(s)[static_cast<size_t>(at)];
}

}  // namespace

void InstallOwnerHooks(Session& s) {
  // The session outlives its hooks: they are its own members.
  s.ownerName = [&s](uint16_t id) {
    const Owner_Rec* o = Find(s, id);
    return o ? o->OwnerFName + " " + o->OwnerSurname : std::string();
  };
  s.ownerSurname = [&s](uint16_t id) {
    const Owner_Rec* o = Find(s, id);
    return o ? o->OwnerSurname : std::string();
  };
  s.ownerContact = [&s](uint16_t id, Session::OwnerContact& contact) {
    const Owner_Rec* o = Find(s, id);
    if (!o) return false;
    contact = {o->OwnerSurname, o->OwnerFName, o->OwnerEmail};
    return true;
  };
}

bool LoadOwnerDatabase(Session& s) {
  InstallOwnerHooks(s);
  OpenOwnerDB(s, false);
  return !OwnerList(s).empty();
}

}  // namespace tb
