#pragma once
// How the owner editor was opened; it decides who holds the owner file's lock and
// what the editor shows first.

namespace tb {

enum class OwnerFormMode {
  PropertyOwner,   // a property's owner, from the main window or the chart: the editor takes the lock
  CreateDatabase,  // the first owner of a new database: the editor takes the lock
  EditFromList,    // an owner of the owner list, which holds the lock
  AddFromList,     // a new owner from the owner list, which holds the lock
};

}  // namespace tb
