// Registry: the per-user settings of the IDE and its packages, read and written the way
// INI files are (sections, value names, defaults).
#pragma once

#include <memory>

#include "Classes.h"

OM_EXCEPTION(ERegistryException, Exception)

struct sqlite3;

// A key below the current user, opened (and created when missing) by the constructor.
// A section is a subkey of that key; "" is the key itself. Every value is stored as a
// string, as the platform's INI view of the registry stores it: integers as decimal
// text, Booleans as "1" and "0".
class PACKAGE TRegIniFile : public TObject {
  OM_CLASS(TRegIniFile, TObject)
 public:
  // Raises ERegistryException naming the store when it cannot be opened or is not a
  // settings store; nothing is written to it then.
  explicit TRegIniFile(const String& FileName);
  ~TRegIniFile() override;

  // The key path as opened ("Software\\Vendor\\Tool").
  const String& FileName() const noexcept { return FFileName; }

  String ReadString(const String& Section, const String& Ident, const String& Default);
  // A value that is missing or holds no decimal number gives Default.
  int ReadInteger(const String& Section, const String& Ident, int Default);
  // True when the stored number is not zero.
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  void WriteString(const String& Section, const String& Ident, const String& Value);
  void WriteInteger(const String& Section, const String& Ident, int Value);
  void WriteBool(const String& Section, const String& Ident, bool Value);

  // The writes between BeginUpdate and the last EndUpdate are one transaction of the store:
  // they reach it together at EndUpdate, or not at all when one of them fails or the key
  // goes before its EndUpdate. Each transaction of its own syncs the disk, which costs far
  // more than the write. A key writing while another key of the same store holds its
  // update open takes part in that update.
  void BeginUpdate() noexcept { ++FUpdateCount; }
  // Raises ERegistryException when the writes cannot be committed; the store keeps what it
  // had before the update then.
  void EndUpdate();

  bool ValueExists(const String& Section, const String& Ident);
  void DeleteKey(const String& Section, const String& Ident);
  // Removes the subkey with its values and subkeys.
  void EraseSection(const String& Section);
  // The subkeys of the opened key.
  void ReadSections(TStrings* Strings);
  // The value names of one section.
  void ReadSection(const String& Section, TStrings* Strings);

 private:
  // Opens the store anew and makes sure it is a settings store of this IDE.
  void Open();
  String SectionPath(const String& Section) const;
  template <class F>
  void WriteTransaction(const char* What, F&& Body);
  template <class F>
  auto Reading(const char* What, F&& Body);
  [[noreturn]] void Fail(const String& What) const;

  String FFileName;
  String FStore;
  std::shared_ptr<sqlite3> FConnection;
  sqlite3* FDb = nullptr;
  int FUpdateCount = 0;
  bool FOwnsTransaction = false;  // began the transaction its update writes in
  bool FUpdateFailed = false;     // a write of the update failed: nothing more is written
  bool FWriter = false;  // holds the store's writer lock, from its first write on
};
