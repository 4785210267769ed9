#pragma once
// A root folder with four properties linked to owners (1, 2, 2 and none), and small
// builders for owner records and files.

#include <string>
#include <vector>

#include "owners/OwnerDB.h"
#include "platform/FileSystem.h"
#include "support/TestSession.h"

namespace tb::test {

inline const TDateTime kOwnerToday = EncodeDate(2026, 12, 9);

inline Owner_Rec MakeOwner(uint16_t id, const std::string& surname, const std::string& firstNames = "",
                           const std::string& email = "") {
  Owner_Rec o;
  o.OwnerID = id;
  o.OwnerSurname = surname;
  o.OwnerFName = firstNames;
  o.OwnerEmail = email;
  o.OwnerCreated = kOwnerToday - 100;
  o.OwnerUpdated = kOwnerToday - 10 + 0.25;
  return o;
}

inline std::vector<std::string> OwnerSurnames(const std::vector<Owner_Rec>& owners) {
  std::vector<std::string> out;
  for (const Owner_Rec& o : owners) out.push_back(o.OwnerSurname);
  return out;
}

class OwnerFixture {
 public:
  OwnerFixture() {
    t.Load(
        "[Common]\nver=V4.4\nNumProps=4\n"
        "[Prop01]\nPropName=Bramble\nOwner=1\nAO=1\n"
        "[Prop02]\nPropName=Heron\nOwner=2\n"
        "[Prop03]\nPropName=Dairy\nOwner=2\n"
        "[Prop04]\nPropName=Kestrel\n");
  }
  std::string File() const { return OwnerFilePath(s); }
  std::string Archive() const { return OwnerArchivePath(s); }
  void WriteOwners(const std::vector<Owner_Rec>& owners) { WriteWholeFile(File(), OwnersImage(owners)); }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  std::string FileBytes(const std::string& path) const {
    std::string data;
    ReadWholeFile(path, data);
    return data;
  }
  std::vector<Owner_Rec> FileOwners(const std::string& path) const {
    std::vector<Owner_Rec> owners;
    ParseOwners(FileBytes(path), owners);
    return owners;
  }
  // Opens; the code of the fatal stop, or 0 when the open went through.
  int Open(bool lock = false) {
    try {
      OpenOwnerDB(s, lock);
      return 0;
    } catch (const ProcessExit& e) {
      return e.code;
    }
  }

  TestSession t{kOwnerToday + 0.5};
  Session& s = t.session;
};

}  // namespace tb::test
