#pragma once
// The per-user and machine registry, kept as a text file per hive in the .reg
// export format (REGEDIT4, Windows-1252, CR LF):
//   [HKEY_CURRENT_USER\Software\Orvane\Cotlyn]
//   "UPrefs"=hex:00,01,...
//   "AupFREQ"=dword:0000012c
//   "BUP"="C:\\Backup"
// Every call reads the file afresh and every change rewrites it, so several running
// copies of the program see each other's values.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tb {

class RegistryStore {
 public:
  // hiveName: "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE"; filePath: the .reg file.
  RegistryStore(std::string hiveName, std::string filePath);

  const std::string& FilePath() const { return filePath_; }
  const std::string& HiveName() const { return hiveName_; }

  // key: a path below the hive, such as "Software\\Orvane\\Cotlyn" (case-insensitive).
  bool KeyExists(const std::string& key) const;
  std::optional<std::vector<uint8_t>> ReadBinary(const std::string& key, const std::string& name) const;
  std::optional<std::string> ReadString(const std::string& key, const std::string& name) const;
  std::optional<uint32_t> ReadDword(const std::string& key, const std::string& name) const;
  std::vector<std::string> ValueNames(const std::string& key) const;
  std::vector<std::string> SubKeys(const std::string& key) const;

  // Writes create the key (and the file) as needed; false when the file cannot be written.
  // Deletes give false too when there is nothing to delete.
  bool CreateKey(const std::string& key);
  bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& data);
  bool WriteString(const std::string& key, const std::string& name, const std::string& value);
  bool WriteDword(const std::string& key, const std::string& name, uint32_t value);
  bool DeleteValue(const std::string& key, const std::string& name);
  bool DeleteKey(const std::string& key);  // with its subkeys

  // The whole hive as .reg text (what a backup includes).
  std::string ExportText() const;

 private:
  std::string hiveName_;
  std::string filePath_;
};

}  // namespace tb
