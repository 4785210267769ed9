// The merge of letters: each field's value, the three written forms, escaping, and the
// parts of a proforma that are never touched.

#include "correspondence/LetterMerge.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kNow = EncodeDate(2027, 3, 2) + 14.5 / 24;  // Tuesday 2 March 2027, 14:30

class Merge : public ::testing::Test {
 protected:
  Merge() : t(kNow) {
    t.Load("[Common]\nver=V4.4\nTax=20\nNumProps=1\n[Prop01]\nPropName=Bramble & Co\nBalDue=6\nDepDue=7\n"
           "ExtChg1=Fuel\nExtChg2=Ret Deposit\nExtChg3=Booking Fee\nMgtFee=10\nOwner=4\n");
    r = MakeBooking(EncodeDate(2027, 6, 5), 7, "O'Neill");
    r.Fnames = "Mr J";
    r.Address = "1 High St\r\nYork";
    r.Phone = "01904 <123>";
    r.Special = "Dog & cat";
    r.Rent = 600;
    r.Chg1 = 30.5;
    r.Chg2 = 150;
    r.Chg3 = 20;
    r.Total = 800.5;
    r.Deposit = 200;
    r.Balance = 600.5;
    r.DateB = EncodeDate(2027, 2, 26);
  }
  std::string Value(const std::vector<MergeField>& fields, const std::string& name) {
    for (const MergeField& f : fields)
      if (f.name == name) return f.value;
    ADD_FAILURE() << name;
    return {};
  }
  TestSession t;
  Session& s = t.session;
  Book_Rec r;
};

TEST_F(Merge, EveryFieldHasItsValue) {
  const Session::OwnerContact owner{"Grey", "Ann", "ann@example.com"};
  const std::vector<MergeField> f = LetterFields(s, 1, r, ProformaKind::Txt, owner);
  ASSERT_EQ(f.size(), 27u);
  const std::pair<const char*, std::string> cases[] = {
      {"LetterDate", "Tuesday 2 March 2027"},
      {"Addressee", "Mr J O'Neill\r\n1 High St\r\nYork"},
      {"Subject", "Bramble & Co, Saturday 5 June - Saturday 12 June 2027"},
      {"Salutation", "Mr J O'Neill"},
      {"Names", "Mr J O'Neill"},
      {"Deposit", "\xA3" "200"},
      {"Balance", "\xA3" "600.50"},
      {"BalDue", "Saturday 24 April 2027"},
      {"PropName", "Bramble & Co"},
      {"Total", "\xA3" "800.50"},
      {"StartDate", "Saturday 5 June"},
      {"EndDate", "Saturday 12 June"},
      {"RetDep", "\xA3" "150"},
      {"NetBal", "\xA3" "450.50"},
      {"Special", "Dog & cat"},
      {"Rent", "\xA3" "600"},
      {"XChg1", "\xA3" "30.50"},
      {"XChg2", "\xA3" "150"},
      {"XChg3", "\xA3" "20"},
      {"Tax", "\xA3" "133.42"},  // 800.5 x 20 / 120 = 133.4166...
      {"NetOfTax", "\xA3" "667.08"},
      {"DepDue", "Friday 5 March 2027"},
      {"Time", "Tue 2027-03-02 14:30"},
      {"OwnerS", "Grey"},
      {"OwnerF", "Ann"},
      {"NetInc", "\xA3" "554.84"},  // 630.5 - 630.5 x 10% x 1.2
      {"Phone", "01904 <123>"},
  };
  for (size_t i = 0; i < 27; ++i) {
    EXPECT_EQ(f[i].name, cases[i].first);
    EXPECT_EQ(f[i].value, cases[i].second) << cases[i].first;
  }
  // No owner: the owner's fields are empty; first names alone when the surname is left out.
  r.Set(OmitSName, true);
  const std::vector<MergeField> none = LetterFields(s, 1, r, ProformaKind::Txt, std::nullopt);
  for (const char* name : {"OwnerS", "OwnerF", "NetInc"}) EXPECT_EQ(Value(none, name), "") << name;
  EXPECT_EQ(Value(none, "Salutation"), "Mr J");
  s.common.SpSCur = true;
  EXPECT_EQ(Value(LetterFields(s, 1, r, ProformaKind::Txt, std::nullopt), "Total"), "800.50");
  // The returnable deposit is merged whatever number of charges the property shows.
  s.Prop(1).ChargeCount = 1;
  EXPECT_EQ(Value(LetterFields(s, 1, r, ProformaKind::Txt, std::nullopt), "RetDep"), "150");
}

// The address breaks as each kind of letter breaks lines; texts are escaped for HTML and
// rich text, and the pound sign is written as HTML writes it.
TEST_F(Merge, TheThreeFormsBreakLinesAndEscapeTexts) {
  r.Address = "1 <High> St\r\nCaf\xE9 {York}";
  struct Case {
    ProformaKind kind;
    std::string addressee, special, deposit;
  } cases[] = {
      {ProformaKind::Txt, "Mr J O'Neill\r\n1 <High> St\r\nCaf\xE9 {York}", "Dog & cat", "\xA3" "200"},
      {ProformaKind::Htm, "Mr J O'Neill<br />\r\n1 &lt;High&gt; St<br />\r\nCaf\xE9 {York}", "Dog &amp; cat",
       "&pound;200"},
      {ProformaKind::Rtf, "Mr J O'Neill\r\n\\par 1 <High> St\r\n\\par Caf\\'e9 \\{York\\}", "Dog & cat",
       "\\'a3200"},
  };
  for (const Case& c : cases) {
    const std::vector<MergeField> f = LetterFields(s, 1, r, c.kind, std::nullopt);
    EXPECT_EQ(Value(f, "Addressee"), c.addressee);
    EXPECT_EQ(Value(f, "Special"), c.special);
    EXPECT_EQ(Value(f, "Deposit"), c.deposit);
  }
}

TEST_F(Merge, FieldsAreReplacedInTheirOwnFormOnlyAndOnce) {
  std::vector<MergeField> f = LetterFields(s, 1, r, ProformaKind::Txt, std::nullopt);
  struct Case {
    const char* what;
    ProformaKind kind;
    std::string in, out;
  } cases[] = {
      {"plain", ProformaKind::Txt, "Dear <!Salutation>,", "Dear Mr J O'Neill,"},
      {"last bytes", ProformaKind::Txt, "Total <!Total>", "Total \xA3" "800.50"},
      {"the whole text", ProformaKind::Txt, "<!Tax>", "\xA3" "133.42"},
      {"HTML form in a text", ProformaKind::Txt, "<-Total-> <!Total>", "<-Total-> \xA3" "800.50"},
      {"text form in HTML", ProformaKind::Htm, "<!Total> <-Total->", "<!Total> \xA3" "800.50"},
      {"HTML form at the end", ProformaKind::Htm, "<p><-Tax->", "<p>\xA3" "133.42"},
      {"unknown and cut short", ProformaKind::Txt, "<!Nope> <! <!Tot", "<!Nope> <! <!Tot"},
      {"case", ProformaKind::Txt, "<!total>", "<!total>"},
  };
  for (const Case& c : cases) EXPECT_EQ(MergeLetter(c.in, f, c.kind), c.out) << c.what;
  // A value holding a pattern is not expanded again.
  r.Special = "<!Total>";
  f = LetterFields(s, 1, r, ProformaKind::Txt, std::nullopt);
  EXPECT_EQ(MergeLetter("<!Special>", f, ProformaKind::Txt), "<!Total>");
}

// Rich text: fields in picture groups and "{\*" destinations stay, with the whole group,
// however its braces nest; escaped braces inside count for nothing.
TEST_F(Merge, RichTextPicturesAndDestinationsAreCopiedUntouched) {
  const std::vector<MergeField> f = LetterFields(s, 1, r, ProformaKind::Rtf, std::nullopt);
  const std::string in =
      "{\\rtf1 <!Names> {\\pict\\pngblip 89504e <!Names> {\\*\\x <!Total>} \\} <!Rent>} after <!Rent>"
      "{\\*\\bkmkstart <!Names>}{\\b <!Rent>}}";
  EXPECT_EQ(MergeLetter(in, f, ProformaKind::Rtf),
            "{\\rtf1 Mr J O'Neill {\\pict\\pngblip 89504e <!Names> {\\*\\x <!Total>} \\} <!Rent>} after \\'a3600"
            "{\\*\\bkmkstart <!Names>}{\\b \\'a3600}}");
  // A group that never closes runs to the end; a group that only starts alike is text.
  EXPECT_EQ(MergeLetter("a {\\pict <!Rent>", f, ProformaKind::Rtf), "a {\\pict <!Rent>");
  EXPECT_EQ(MergeLetter("{\\pic <!Rent>}", f, ProformaKind::Rtf), "{\\pic \\'a3600}");
}

// A rich-text reader takes every merged text back as it was typed, braces, backslashes
// and accents included.
TEST_F(Merge, RichTextLettersReadBackAsTyped) {
  r.Fnames = "Dr {Jo} \\ \xC9lise";
  r.Address = "Caf\xE9 }{ Row\r\nYork";
  const std::vector<MergeField> f = LetterFields(s, 1, r, ProformaKind::Rtf, std::nullopt);
  const std::string letter = MergeLetter("{\\rtf1\\ansi\\ansicpg1252 <!Addressee>\\par Rent <!Rent>}", f, ProformaKind::Rtf);
  const std::string path = t.dir.Path() + "letter.rtf";
  ASSERT_TRUE(WriteWholeFile(path, letter));
  PosixProcessRunner runner;
  std::string text;
  ASSERT_EQ(runner.Capture("unrtf", {"--text", path}, text), 0) << "unrtf is installed by scripts/setup";
  EXPECT_NE(text.find("Dr {Jo} \\ \xC9lise O'Neill\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Caf\xE9 }{ Row\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Rent \xA3" "600"), std::string::npos) << text;
}

// Whatever bytes a proforma holds, the merge neither fails nor reads past its end.
TEST_F(Merge, AnyBytesMergeSafely) {
  const std::vector<MergeField> f = LetterFields(s, 1, r, ProformaKind::Rtf, std::nullopt);
  std::mt19937 rng(3);
  const std::string alphabet = std::string("<!->{}\\*pict", 12) + std::string("\0\xFF", 2) + "NameTotal";
  for (int i = 0; i < 2000; ++i) {
    std::string in(rng() % 40, ' ');
    for (char& c : in) c = alphabet[rng() % alphabet.size()];
    for (const ProformaKind kind : {ProformaKind::Rtf, ProformaKind::Txt, ProformaKind::Htm}) {
      const std::string out = MergeLetter(in, f, kind);
      if (in.find('<') == std::string::npos) {
        EXPECT_EQ(out, in);
      }
    }
  }
}

}  // namespace
}  // namespace tb::test
