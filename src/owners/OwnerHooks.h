#pragma once
// The owner database seen from the layers below it: property titles, the chart's
// property column and letters ask for an owner through the session's hooks.

namespace tb {

class Session;

// Sets Session::ownerName, ownerSurname and ownerContact to look owners up in the
// session's owner database (as it stands at each call).
void InstallOwnerHooks(Session& s);
// At start-up: the hooks, then the database read without lock. True when it holds
// owners (the main window then shows its owner commands).
bool LoadOwnerDatabase(Session& s);

}  // namespace tb
