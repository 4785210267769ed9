// The letters of a booking: which proforma is used, the letter window's rows, and
// making, sending, recreating and deleting letters with every refusal on the way.

#include "correspondence/Letters.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

#include "bookings/BookingEditor.h"
#include "bookings/BrambleFixture.h"
#include "platform/FileSystem.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Records what was sent and answers as told.
class FakeDelivery : public LetterDelivery {
 public:
  HtmlSendResult SendHtml(const std::string& to, const std::string& subject, std::string& body) override {
    sent.push_back({to, subject, body});
    if (htmlResult == HtmlSendResult::Sent && !editedBody.empty()) body = editedBody;
    return htmlResult;
  }
  int HandOver(const std::string& to, const std::string& subject, const std::string& body) override {
    sent.push_back({to, subject, body});
    return handOverCode;
  }
  struct Message {
    std::string to, subject, body;
  };
  std::vector<Message> sent;
  HtmlSendResult htmlResult = HtmlSendResult::Sent;
  std::string editedBody;
  int handOverCode = 0;
};

const MsgButtons kAbort = MsgButton::Abort;
const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;
const MsgButtons kYesCancel = MsgButton::Yes | MsgButton::Cancel;

class Letters : public BrambleFixture {
 protected:
  Letters() : BrambleFixture("Owner=4\n") {
    ForceDirectories(t.Root() + "Bramble/Letters");
    CommonSettings& c = s.common;
    c.NLetters = 4;
    c.LetterDesc = {"", "Confirmation", "Balance due", "Arrival", "Thanks"};
    c.LetterEMail = {false, false, true, true, false};
    c.WordProc = "/opt/wp/bin/writer";
  }
  std::string Shared(const std::string& name) const { return t.Root() + name; }
  std::string Own(const std::string& name) const { return t.Root() + "Bramble/Data/" + name; }
  // Adams's letters start "270102L<type>Adams".
  std::string Letter(int type, const char* ext) const {
    return t.Root() + "Bramble/Letters/270102L" + std::to_string(type) + "Adams" + ext;
  }
  void Open(const std::string& email = "adams@example.com") {
    ed.OpenEdit(1, At(1));
    ed.fields.fnames = "Mr A";
    ed.fields.email = email;
    ed.FieldChanged();
  }
  LetterOutcome Create(int type, bool email, bool recreate = false) {
    return CreateLetter(s, ed, type, email, recreate, delivery);
  }
  void Html() {
    s.common.eAddr = "office@example.com";
    s.common.eHost = "smtp.example.com";
    s.common.eUser = "office";
    s.common.ePC = "secret";
  }
  std::vector<std::string> LetterFiles() const { return ListFiles(t.Root() + "Bramble/Letters/", "*"); }

  BookingEditor ed{s};
  FakeDelivery delivery;
};

std::string ReadFileText(const std::string& path) {
  std::string text;
  ReadWholeFile(path, text);
  return text;
}

void SetFileDay(const std::string& path, int year, int month, int day) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = 12;
  const timespec when[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), when, 0), 0);
}

TEST_F(Letters, TheProformaIsLookedUpPropertyFirstAndWhateverItsCase) {
  struct Case {
    const char* what;
    std::vector<std::string> files;  // relative to the root folder
    bool email;
    std::string found;
    ProformaKind kind;
  } cases[] = {
      {"the property's text before the shared HTML", {"Bramble/Data/Prof-L2.txt", "Prof-L2.htm"}, true,
       "Bramble/Data/Prof-L2.txt", ProformaKind::Txt},
      {"HTML before text in one folder", {"Prof-L2.txt", "Prof-L2.htm"}, true, "Prof-L2.htm", ProformaKind::Htm},
      {"a Windows copy", {"PROF-L2.RTF"}, false, "PROF-L2.RTF", ProformaKind::Rtf},
      {"e-mail never takes rich text", {"PROF-L2.RTF"}, true, "", ProformaKind::Rtf},
      {"post never takes text", {"Bramble/Data/Prof-L2.txt", "Prof-L2.rtf"}, false, "Prof-L2.rtf", ProformaKind::Rtf},
      {"the property's rich text", {"Bramble/Data/prof-l2.Rtf", "Prof-L2.rtf"}, false, "Bramble/Data/prof-l2.Rtf",
       ProformaKind::Rtf},
      {"another type", {"Prof-L12.rtf", "Prof-L1.rtf"}, false, "", ProformaKind::Rtf},
  };
  for (const Case& c : cases) {
    for (const std::string& f : c.files) WriteWholeFile(t.Root() + f, "x");
    const ProformaFound found = FindProforma(s, 1, 2, c.email);
    EXPECT_EQ(found.path, c.found.empty() ? "" : t.Root() + c.found) << c.what;
    if (!c.found.empty()) {
      EXPECT_EQ(found.kind, c.kind) << c.what;
    }
    for (const std::string& f : c.files) DeleteFileAt(t.Root() + f);
  }
}

TEST_F(Letters, RowsShowEachTypesLetterAndTheDeliveryAClickUses) {
  WriteWholeFile(Letter(1, ".rtf"), "{\\rtf1}");
  WriteWholeFile(Letter(3, ".htm"), "<p>");
  SetFileDay(Letter(1, ".rtf"), 2027, 3, 5);
  SetFileDay(Letter(3, ".htm"), 2027, 3, 6);
  const std::vector<LetterRow> rows = LetterRows(s, 1, kJan + 2, "Adams", "adams@example.com");
  ASSERT_EQ(rows.size(), 4u);
  const std::vector<std::vector<std::string>> expected = {
      {"L1", "Confirmation", "Post", "Exists", "05/03/2027"},
      {"L2", "Balance due", "EMail", "None", ""},
      {"L3", "Arrival", "EMail", "Exists(htm)", "06/03/2027"},
      {"L4", "Thanks", "Post", "None", ""},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const LetterRow& r = rows[i];
    EXPECT_EQ((std::vector<std::string>{r.no, r.description, r.defaultDelivery, r.status, r.modified}), expected[i]);
  }
  EXPECT_EQ(FirstRowToSelect(rows), 3);
  EXPECT_FALSE(OnlyPostPossible(s, rows, ""));
  // The last type has a letter: nothing is selected.
  WriteWholeFile(Letter(4, ".txt"), "x");
  EXPECT_EQ(FirstRowToSelect(LetterRows(s, 1, kJan + 2, "Adams", "")), -1);

  // No letters and no e-mail address: every row goes by post, and the window says so.
  for (const std::string& f : LetterFiles()) DeleteFileAt(t.Root() + "Bramble/Letters/" + f);
  const std::vector<LetterRow> blank = LetterRows(s, 1, kJan + 2, "Adams", "  ");
  for (const LetterRow& r : blank) EXPECT_EQ(r.defaultDelivery, "Post") << r.no;
  EXPECT_EQ(FirstRowToSelect(blank), 0);
  EXPECT_TRUE(OnlyPostPossible(s, blank, "  "));
  EXPECT_FALSE(OnlyPostPossible(s, blank, "adams@example.com"));
}

TEST_F(Letters, RefusalsShowTheirMessageAndWriteNothing) {
  WriteWholeFile(Shared("Prof-L3.htm"), "<p><-Names->");
  const std::string before = t.dir.Read("root/Bramble/Data/Bookings.bks");
  struct Case {
    const char* what;
    bool readOnly;
    std::function<void()> arrange;  // after opening
    int type;
    bool email;
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
    int help;
  } cases[] = {
      {"read-only", true, [] {}, 1, false, "Read-only mode: cannot create letter.", MsgIcon::Information,
       MsgButton::OK, 0},
      {"no surname", false, [&] { ed.fields.form.surname = "  "; }, 1, false, "No surname - cannot produce letter",
       MsgIcon::Information, MsgButton::OK, 270},
      {"no proforma", false, [] {}, 1, false,
       "Postal proforma Prof-L1 not found in either Root or Property folder\rCannot create letter.  Click HELP to "
       "read topic \"Managing Letter Proformas\"\rThen create a suitable proforma",
       MsgIcon::Error, kAbortHelp, 785},
      {"no e-mail proforma", false, [] {}, 2, true,
       "Email proforma Prof-L2 not found in either Root or Property folder\rCannot create letter.  Click HELP to "
       "read topic \"Managing Letter Proformas\"\rThen create a suitable proforma",
       MsgIcon::Error, kAbortHelp, 785},
      {"HTML without the sending settings", false, [&] { Html(); s.common.ePC.clear(); }, 3, true,
       "EMail client not configured correctly\rSee Help", MsgIcon::Error, kAbortHelp, 720},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    s.ReadOnly = c.readOnly;
    Open();
    c.arrange();
    t.dialogs.Expect(c.text, c.icon, c.buttons, c.help, MsgButton::OK);
    EXPECT_EQ(Create(c.type, c.email), LetterOutcome::Refused);
    t.dialogs.VerifyAllShown();
    EXPECT_TRUE(LetterFiles().empty());
    EXPECT_EQ(t.dir.Read("root/Bramble/Data/Bookings.bks"), before) << "the booking was not saved";
    EXPECT_TRUE(delivery.sent.empty());
    if (ed.Changed())
      t.dialogs.Expect("Quit and lose changes?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No, 0,
                       MsgButton::Yes);
    EXPECT_TRUE(ed.Quit());
    ed.Close();
    t.dialogs.VerifyAllShown();
  }
}

TEST_F(Letters, APostalLetterIsSavedWithTheBookingAndOpenedInTheWordProcessor) {
  WriteWholeFile(Shared("Prof-L1.rtf"), "{\\rtf1 Dear <!Salutation>,\\par <!Addressee>}");
  WriteWholeFile(Own("Prof-L1.rtf"), "{\\rtf1 Dear <!Salutation> at <!PropName>,}");
  Open();
  ed.fields.fnames = "Mrs {K}";
  ed.FieldChanged();
  EXPECT_EQ(Create(1, false), LetterOutcome::Created);
  EXPECT_EQ(FileRecords(File()).at(0).Fnames, "Mrs {K}");
  EXPECT_NE(Log().find("LUNIT"), std::string::npos);
  EXPECT_EQ(t.dir.Read("root/Bramble/Letters/270102L1Adams.rtf"), "{\\rtf1 Dear Mrs \\{K\\} Adams at Bramble,}");
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_EQ(t.runner.calls[0].program, "/opt/wp/bin/writer");
  EXPECT_EQ(t.runner.calls[0].args, std::vector<std::string>{Letter(1, ".rtf")});
  EXPECT_FALSE(t.runner.calls[0].wait);

  // A word processor that does not start is reported; the letter stays written. Without
  // one the desktop opens the letter.
  DeleteFileAt(Letter(1, ".rtf"));
  t.runner.exitCode = -1;
  t.dialogs.Expect("Error 1000. Cannot launch /opt/wp/bin/writer", MsgIcon::Error, kAbortHelp, 1000, MsgButton::Abort);
  EXPECT_EQ(Create(1, false), LetterOutcome::Created);
  EXPECT_TRUE(FileExists(Letter(1, ".rtf")));
  s.common.WordProc.clear();
  EXPECT_EQ(Create(1, false), LetterOutcome::Created);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{Letter(1, ".rtf")});
  ed.Close();
}

TEST_F(Letters, APlainTextEmailGoesToTheMailClientAndIsKeptWithItsHeader) {
  WriteWholeFile(Shared("Prof-L2.txt"), "Dear <!Salutation>,\r\nBalance <!Balance>");
  Open();
  EXPECT_EQ(Create(2, true), LetterOutcome::Created);
  ASSERT_EQ(delivery.sent.size(), 1u);
  EXPECT_EQ(delivery.sent[0].to, "adams@example.com");
  EXPECT_EQ(delivery.sent[0].subject, "Bramble, Saturday 2 January - Saturday 9 January 2027");
  EXPECT_EQ(delivery.sent[0].body, "Dear Mr A Adams,\r\nBalance \xA3" "700");
  EXPECT_EQ(t.dir.Read("root/Bramble/Letters/270102L2Adams.txt"),
            "** Sent by eMail.  09/12/2026 10:30 **\r\n"
            "** Note - text below was passed to mail client. It could have changed. **\r\n"
            "Dear Mr A Adams,\r\nBalance \xA3" "700");
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{Letter(2, ".txt")});

  // Not shown when the settings say so; a hand-over that fails keeps nothing.
  s.common.NoShowEM = true;
  DeleteFileAt(Letter(2, ".txt"));
  delivery.handOverCode = 31;
  t.dialogs.Expect("Error sending EMail.\rCheck email client is running\rError Code=31", MsgIcon::Error, kAbort, 0,
                   MsgButton::Abort);
  EXPECT_EQ(Create(2, true), LetterOutcome::Failed);
  EXPECT_TRUE(LetterFiles().empty());
  delivery.handOverCode = 0;
  EXPECT_EQ(Create(2, true), LetterOutcome::Created);
  EXPECT_EQ(t.runner.opened.size(), 1u);
  ed.Close();
}

TEST_F(Letters, AnOwnerProformaGoesToTheOwnerOnlyWhenThereIsOne) {
  // The marker line ends at CR LF or a lone LF; without a line break it is no marker.
  struct Case {
    const char* what;
    std::string proforma;
    bool hook;
    std::string to, body;
  } cases[] = {
      {"CR LF, owner known", "To owner *OWNER*\r\nIncome <!NetInc> for <!OwnerF>", true, "grey@example.com",
       "Income \xA3" "700 for Ann"},
      {"lone LF", "*OWNER*\nIncome <!NetInc>", true, "grey@example.com", "Income \xA3" "700"},
      {"no line break", "*OWNER* <!OwnerS>", true, "adams@example.com", "*OWNER* Grey"},
      {"no owner found", "*OWNER*\nIncome", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    s.ownerContact = nullptr;
    if (c.hook)
      s.ownerContact = [](uint16_t owner, Session::OwnerContact& contact) {
        if (owner != 4) return false;
        contact = {"Grey", "Ann", "grey@example.com"};
        return true;
      };
    WriteWholeFile(Shared("Prof-L2.txt"), c.proforma);
    delivery.sent.clear();
    Open();
    if (c.to.empty()) {
      t.dialogs.Expect("OWNER Proforma found but invalid owner.\rSee Help", MsgIcon::Error, kAbortHelp, 1090,
                       MsgButton::Abort);
      EXPECT_EQ(Create(2, true), LetterOutcome::Refused);
      EXPECT_TRUE(LetterFiles().empty());
    } else {
      EXPECT_EQ(Create(2, true), LetterOutcome::Created);
      ASSERT_EQ(delivery.sent.size(), 1u);
      EXPECT_EQ(delivery.sent[0].to, c.to);
      EXPECT_EQ(delivery.sent[0].body, c.body);
      DeleteFileAt(Letter(2, ".txt"));
    }
    t.dialogs.VerifyAllShown();
    ed.Close();
  }
  // A property without an owner has none, whatever the hook knows.
  s.Prop(1).Owner = 0;
  Open();
  t.dialogs.Expect("OWNER Proforma found but invalid owner.\rSee Help", MsgIcon::Error, kAbortHelp, 1090,
                   MsgButton::Abort);
  EXPECT_EQ(Create(2, true), LetterOutcome::Refused);
  ed.Close();
}

TEST_F(Letters, AnHtmlEmailIsKeptAsSentAndADraftWhenSendingFails) {
  Html();
  WriteWholeFile(Shared("Prof-L3.htm"), "<p>Dear <-Salutation-></p>");
  Open();
  delivery.editedBody = "<p>Dear Adams, see you soon</p>";
  EXPECT_EQ(Create(3, true), LetterOutcome::Created);
  EXPECT_EQ(delivery.sent.at(0).body, "<p>Dear Mr A Adams</p>");
  EXPECT_EQ(t.dir.Read("root/Bramble/Letters/270102L3Adams.htm"), "<p>Dear Adams, see you soon</p>");
  EXPECT_TRUE(t.runner.opened.empty()) << "an HTML letter is not opened";
  DeleteFileAt(Letter(3, ".htm"));

  // A failed send keeps the body for the user, readable by nobody else, and no letter.
  const std::string draft = s.common.TempFolder + "Draft.txt";
  delivery.htmlResult = HtmlSendResult::Failed;
  t.dialogs.Expect("Draft email saved in Windows Temp Folder as Draft.txt\rReply YES to open in a text editor or "
                   "Abort to delete",
                   MsgIcon::Information, MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Yes);
  EXPECT_EQ(Create(3, true), LetterOutcome::Failed);
  EXPECT_TRUE(LetterFiles().empty());
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{draft});
  EXPECT_EQ(ReadFileText(draft), "<p>Dear Mr A Adams</p>");
  struct stat st {};
  ASSERT_EQ(stat(draft.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
  // Abort deletes it; a link planted in its place is replaced, not followed.
  const std::string elsewhere = t.dir.Path() + "elsewhere.txt";
  WriteWholeFile(elsewhere, "keep");
  DeleteFileAt(draft);
  ASSERT_EQ(symlink(elsewhere.c_str(), draft.c_str()), 0);
  t.dialogs.Expect("Draft email saved in Windows Temp Folder as Draft.txt\rReply YES to open in a text editor or "
                   "Abort to delete",
                   MsgIcon::Information, MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_EQ(Create(3, true), LetterOutcome::Failed);
  EXPECT_FALSE(FileExists(draft));
  EXPECT_EQ(ReadFileText(elsewhere), "keep");
  ed.Close();
}

TEST_F(Letters, RecreateReplacesTheOldLettersOnlyOnceTheNewOneIsWritten) {
  Html();
  WriteWholeFile(Shared("Prof-L3.htm"), "<p>new</p>");
  WriteWholeFile(Letter(3, ".htm"), "old htm");
  WriteWholeFile(Letter(3, ".rtf"), "old rtf");
  s.ReadOnly = true;  // recreate is allowed in read-only mode
  Open();
  delivery.htmlResult = HtmlSendResult::Cancelled;
  t.dialogs.Expect("EMail cancelled - not sent.", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(Create(3, true, true), LetterOutcome::Cancelled);
  EXPECT_EQ(ReadFileText(Letter(3, ".htm")), "old htm");
  EXPECT_EQ(ReadFileText(Letter(3, ".rtf")), "old rtf");

  delivery.htmlResult = HtmlSendResult::Sent;
  EXPECT_EQ(Create(3, true, true), LetterOutcome::Created);
  EXPECT_EQ(LetterFiles(), std::vector<std::string>{"270102L3Adams.htm"});
  EXPECT_EQ(ReadFileText(Letter(3, ".htm")), "<p>new</p>");

  // Post over an e-mail letter: the text letter goes, the HTML one too.
  WriteWholeFile(Shared("Prof-L3.rtf"), "{\\rtf1 new}");
  WriteWholeFile(Letter(3, ".txt"), "old txt");
  EXPECT_EQ(Create(3, false, true), LetterOutcome::Created);
  EXPECT_EQ(LetterFiles(), std::vector<std::string>{"270102L3Adams.rtf"});
  ed.Close();
}

TEST_F(Letters, DeleteAsksAndTakesTheLetterARowShows) {
  t.dialogs.Expect("Error 1080. No letter found", MsgIcon::Error, MsgButton::OK, 1080, MsgButton::OK);
  EXPECT_FALSE(DeleteLetter(s, 1, kJan + 2, "Adams", 2));
  WriteWholeFile(Letter(2, ".txt"), "t");
  WriteWholeFile(Letter(2, ".htm"), "h");
  t.dialogs.Expect("Delete Letter 2 (Balance due)\rAre you sure?", MsgIcon::Confirmation, kYesCancel, 270,
                   MsgButton::Cancel);
  EXPECT_FALSE(DeleteLetter(s, 1, kJan + 2, "Adams", 2));
  t.dialogs.Expect("Delete Letter 2 (Balance due)\rAre you sure?", MsgIcon::Confirmation, kYesCancel, 270,
                   MsgButton::Yes);
  EXPECT_TRUE(DeleteLetter(s, 1, kJan + 2, "Adams", 2));
  EXPECT_EQ(LetterFiles(), std::vector<std::string>{"270102L2Adams.htm"});
}

// Editing a shared proforma the property has its own copy of asks first, however the
// copy's name is spelt.
TEST_F(Letters, EditingASharedProformaThePropertyOverridesAsks) {
  WriteWholeFile(Own("PROF-L2.RTF"), "own");
  WriteWholeFile(Shared("Prof-L2.rtf"), "shared");
  const std::vector<ProformaRow> rows = ProformaRows(s, 1);
  ASSERT_EQ(rows.size(), 4u);
  ASSERT_EQ(rows[3].fileName, "Prof-L2.rtf");
  s.common.WordProc.clear();
  t.dialogs.Expect("You selected shared proforma: Prof-L2.rtf\rA property specific version exists (this is always "
                   "used for this property)\rAre you sure you want to edit the shared proforma?",
                   MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Cancel);
  EditProforma(s, rows, 3);
  EXPECT_TRUE(t.runner.opened.empty());
  EditProforma(s, rows, 1);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{Own("PROF-L2.RTF")});
}

// "Edit Proforma" on an HTML proforma: the desktop's text editor, found by its entry.
TEST_F(Letters, AnHtmlProformaIsEditedInTheDesktopsTextEditor) {
  const std::string data = t.dir.Path() + "data/";
  ForceDirectories(data + "applications/kde");
  WriteWholeFile(data + "applications/kde/write.desktop", "[Desktop Entry]\n");
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_DATA_DIRS", (t.dir.Path() + "none").c_str(), 1);
  ProformaRow row;
  row.folder = t.Root();
  row.fileName = "Prof-L1.htm";
  row.kind = ProformaKind::Htm;
  t.runner.captured = "kde-write.desktop\n";
  EditProformaWithTextEditor(s, row);
  ASSERT_EQ(t.runner.calls.size(), 2u);
  EXPECT_EQ(t.runner.calls[0].args, (std::vector<std::string>{"query", "default", "text/plain"}));
  EXPECT_EQ(t.runner.calls[1].program, "gio");
  EXPECT_EQ(t.runner.calls[1].args,
            (std::vector<std::string>{"launch", data + "applications/kde/write.desktop", t.Root() + "Prof-L1.htm"}));

  struct Case {
    std::string captured;
    int exitCode;
    std::string text;
  } cases[] = {
      {"\n", 0, "Error 1005. FindExecutable error"},
      {"gone.desktop\n", 0, "Error 1005. Cannot launch gone.desktop"},
      {"kde-write.desktop", 1, "Error 1005. Cannot launch " + data + "applications/kde/write.desktop"},
  };
  for (const Case& c : cases) {
    t.runner.captured = c.captured;
    t.runner.exitCode = c.exitCode;
    t.dialogs.Expect(c.text, MsgIcon::Error, kAbortHelp, 1005, MsgButton::Abort);
    EditProformaWithTextEditor(s, row);
    t.dialogs.VerifyAllShown();
  }
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_DATA_DIRS");
}

// A proforma that cannot be read or a letter that cannot be written ends the letter with
// the path; the booking stays as saved and no part of a letter is left.
TEST_F(Letters, UnreadableProformaAndUnwritableFolderAreReported) {
  // A file every read of which fails.
  ASSERT_EQ(symlink("/proc/self/mem", Shared("Prof-L1.rtf").c_str()), 0);
  Open();
  ed.fields.phone = "01904 1";
  ed.FieldChanged();
  t.dialogs.Expect("Cannot read " + Shared("Prof-L1.rtf"), MsgIcon::Error, kAbort, 0, MsgButton::Abort);
  EXPECT_EQ(Create(1, false), LetterOutcome::Refused);
  EXPECT_EQ(FileRecords(File()).at(0).Phone, "01904 1");
  EXPECT_TRUE(LetterFiles().empty());

  DeleteFileAt(Shared("Prof-L1.rtf"));
  WriteWholeFile(Shared("Prof-L1.rtf"), "{\\rtf1 x}");
  std::filesystem::remove(t.Root() + "Bramble/Letters");
  WriteWholeFile(t.Root() + "Bramble/Letters", "not a folder");
  t.dialogs.Expect("Cannot write " + Letter(1, ".rtf"), MsgIcon::Error, kAbort, 0, MsgButton::Abort);
  EXPECT_EQ(Create(1, false), LetterOutcome::Refused);
  EXPECT_TRUE(t.runner.calls.empty());
  ed.Close();
}

}  // namespace
}  // namespace tb::test
