#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <random>

#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);

class BookingFile : public ::testing::Test {
 protected:
  BookingFile() {
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Bramble\n[Prop02]\nPropName=Heron\nExtChg1=Linen\n"
           "ExtChg2=Ret Deposit\n");
    ForceDirectories(t.Root() + "Bramble/Data");
    ForceDirectories(t.Root() + "Heron/Data");
  }
  std::string Path(int n = 1) const { return BookingFilePath(t.session, n); }
  void WriteFile(const std::string& bytes, int n = 1) { WriteWholeFile(Path(n), bytes); }
  // Reads; the code of the fatal stop, or 0 when the read went through.
  int Read(int n = 1, bool lock = false, bool refresh = false) {
    try {
      ReadBookings(s, n, lock, refresh);
      return 0;
    } catch (const ProcessExit& e) {
      return e.code;
    }
  }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  void ExpectFatal(const std::string& message) {
    t.dialogs.Expect(message, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1220, MsgButton::Abort);
  }

  TestSession t{kToday + 0.5};
  Session& s = t.session;
};

// Little-endian writers for building a file by hand from the layout.
void PutLE(std::string& b, size_t at, const void* v, size_t n) { std::memcpy(&b[at], v, n); }
void PutText(std::string& b, const std::string& text) {
  b.push_back(static_cast<char>(text.size() & 0xFF));
  b.push_back(static_cast<char>(text.size() >> 8));
  b += text;
}

TEST_F(BookingFile, HandBuiltRecordReadsFieldForFieldAndWritesBackByteIdentical) {
  std::string b(144, '\0');
  b[0] = 3;  // DepositPaid
  b[1] = static_cast<char>(DepAck | FlagSp);
  const uint16_t numV = 2;
  PutLE(b, 2, &numV, 2);
  b[4] = 'x';  // spare bytes are carried
  const double money[9] = {700, 30, 0, 0, 0.25, 730, 182.5, 547.5, 0};
  for (int i = 0; i < 9; ++i) PutLE(b, 8 + 8 * static_cast<size_t>(i), &money[i], 8);
  const TDateTime dates[7] = {EncodeDate(2027, 5, 1), EncodeDate(2027, 5, 8), EncodeDate(2026, 11, 2),
                              EncodeDate(2026, 11, 5), 1.0, 1.0, EncodeDate(2026, 11, 5) + 0.75};
  for (int i = 0; i < 7; ++i) PutLE(b, 80 + 8 * static_cast<size_t>(i), &dates[i], 8);
  b[143] = 9;
  for (const char* text : {"Smith", "Mr John", "", "1 High St\r\nLeeds", "0113 496 0000", "js@example.com",
                           "Dog", "Late arrival \xA3 noted", "Web"})
    PutText(b, text);
  WriteFile(b + b);  // two records

  ASSERT_EQ(Read(), 0);
  const BookingList& list = s.Prop(1).Bookings;
  ASSERT_EQ(list.Count(), 2);
  const Book_Rec& r = list.First()->Rec;
  EXPECT_EQ(r.Status, DepositPaid);
  EXPECT_EQ(r.Flag, DepAck | FlagSp);
  EXPECT_EQ(r.NumV, 2);
  EXPECT_EQ(r.Spare1[0], 'x');
  EXPECT_EQ(r.Rent, 700);
  EXPECT_EQ(r.Chg1, 30);
  EXPECT_EQ(r.Spare2, 0.25);
  EXPECT_EQ(r.Total, 730);
  EXPECT_EQ(r.Deposit, 182.5);
  EXPECT_EQ(r.Balance, 547.5);
  EXPECT_EQ(r.StartD, dates[0]);
  EXPECT_EQ(r.EndD, dates[1]);
  EXPECT_EQ(r.DateD, dates[3]);
  EXPECT_EQ(r.DateP, kNotPaid);
  EXPECT_EQ(r.DateUpD, dates[6]);
  EXPECT_EQ(r.Spare3[7], 9);
  EXPECT_EQ(r.Surname, "Smith");
  EXPECT_EQ(r.Fnames, "Mr John");
  EXPECT_EQ(r.Address, "1 High St\r\nLeeds");
  EXPECT_EQ(r.Comments, "Late arrival \xA3 noted");
  EXPECT_EQ(r.Source, "Web");
  EXPECT_EQ(list.Last()->Rec.Surname, "Smith");

  EXPECT_EQ(BookingsImage(list), b + b);
  ASSERT_EQ(Read(1, true), 0);
  s.Prop(1).ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  std::string back;
  ReadWholeFile(Path(), back);
  EXPECT_EQ(back, b + b);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(BookingFile, CorruptFilesStopTheRunWithTheExactMessageAndLogLine) {
  const std::string one = BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")});
  ASSERT_EQ(one.size(), 167u);
  struct Case {
    std::string bytes;
    bool refresh;
    std::string log;
    std::string message;
  };
  const std::string p = Path();
  const std::string please = "\rPlease investigate and recover lost data before continuing - see Help.";
  const Case cases[] = {
      {std::string(99, '\0'), false, "QZ1220A File " + p + " corrupt. Size =99 bytes. DIE",
       "Error 1220. Corrupt Data file=" + p + please},
      {"", false, "QZ1220A File " + p + " corrupt. Size =0 bytes. DIE", "Error 1220. Corrupt Data file=" + p + please},
      {one + one.substr(0, 161), false, "QZ1220C File " + p + " corrupt - short on bytes",
       "Error 1220. Corrupt data. File=" + p + "\rInvestigate and recover lost data before continuing - see Help."},
      // The last text's length points past the end.
      {one.substr(0, one.size() - 3) + "\x09\x00" + "ab", false, "QZ1220B File " + p + " corrupt structure.",
       "Error 1220. Corrupt data in file=" + p + please},
  };
  for (const Case& c : cases) {
    WriteFile(c.bytes);
    s.Prop(1).BookFileAge = 0;
    ExpectFatal(c.message);
    EXPECT_EQ(Read(1, false, c.refresh), 1220) << c.log;
    EXPECT_NE(Log().find(c.log + "\r\n"), std::string::npos) << c.log;
    t.dialogs.VerifyAllShown();
  }
}

TEST_F(BookingFile, RefreshOfAnEmptyFileKeepsTheList) {
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")}));
  ASSERT_EQ(Read(), 0);
  WriteFile("");
  s.Prop(1).BookFileAge = 0;
  EXPECT_EQ(Read(1, false, true), 0);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 1);
  EXPECT_NE(Log().find("QZ1220E File " + Path() + " returned size=0. Possible corrupt data ignored"),
            std::string::npos);
}

TEST_F(BookingFile, LetsThatEndedAreCompletedAsTheyAreRead) {
  Book_Rec ended = MakeBooking(kToday - 8, 7, "Ended", Paid);  // ended yesterday
  Book_Rec endsToday = MakeBooking(kToday - 7, 7, "Today", Paid);
  Book_Rec withDeposit = ended;
  withDeposit.Chg2 = 150;  // Heron's Ret Deposit is charge 2
  Book_Rec noDeposit = ended;
  WriteFile(BookingFileImage({ended, endsToday}), 1);
  WriteFile(BookingFileImage({withDeposit, noDeposit}), 2);
  ASSERT_EQ(Read(1), 0);
  ASSERT_EQ(Read(2), 0);
  const BookingList& a = s.Prop(1).Bookings;
  EXPECT_EQ(a.First()->Rec.Status, Complete);
  EXPECT_EQ(a.First()->Rec.DateR, kNotPaid);  // no returnable deposit charge
  EXPECT_EQ(a.Last()->Rec.Status, Paid);
  const BookingList& b = s.Prop(2).Bookings;
  EXPECT_EQ(b.First()->Rec.Status, RepayDeposit);
  EXPECT_EQ(b.Last()->Rec.Status, Complete);
  EXPECT_EQ(b.Last()->Rec.DateR, noDeposit.EndD);
}

TEST_F(BookingFile, EndBeforeStartIsReportedAndReadOn) {
  Book_Rec bad = MakeBooking(EncodeDate(2027, 2, 6), 7, "Back");
  bad.EndD = bad.StartD;
  WriteFile(BookingFileImage({MakeBooking(EncodeDate(2027, 1, 2), 7, "Good"), bad}));
  t.dialogs.Expect("Booking file error: Property Bramble\rStart Date >= End date. Booking 2 starting 06/02/2027\r"
                   "Make a note. Page through file to locate",
                   MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  ASSERT_EQ(Read(), 0);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 2);
}

TEST_F(BookingFile, ReadsOnlyWhenTheFileChanged) {
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")}));
  EXPECT_TRUE(ReadBookings(s, 1, false, false));
  EXPECT_FALSE(ReadBookings(s, 1, false, false));
  DeleteFileAt(Path());
  EXPECT_TRUE(ReadBookings(s, 1, false, false));  // gone: the list is emptied
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 0);
  EXPECT_FALSE(ReadBookings(s, 1, false, false));
}

TEST_F(BookingFile, WritesAreSafeShorterAndLeaveNoStaleBytes) {
  std::vector<Book_Rec> three;
  for (int i = 0; i < 3; ++i) three.push_back(MakeBooking(kToday + 7 * i, 7, "Family " + std::to_string(i)));
  three[1].Comments = std::string(500, 'c');
  const std::string before = BookingFileImage(three);
  WriteFile(before);
  ASSERT_TRUE(ReadBookings(s, 1, true, false));
  Prop_Rec& p = s.Prop(1);
  p.Bookings.Remove(p.Bookings.At(2));
  p.ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  std::string after;
  ReadWholeFile(Path(), after);
  EXPECT_EQ(after, BookingFileImage({three[0], three[2]}));
  std::string copy;
  ReadWholeFile(s.common.TempFolder + "P1-Bookings.bks", copy);
  EXPECT_EQ(copy, before);  // the safety copy holds the file as it was
  struct stat st {};
  ASSERT_EQ(::stat((s.common.TempFolder + "P1-Bookings.bks").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "customers' details are this user's only";
  EXPECT_EQ(p.ListModified, 0);
  EXPECT_EQ(p.BookFileAge, FileTimeAsDateTime(Path()));
  EXPECT_FALSE(ReadBookings(s, 1, false, false));  // our own write is not re-read

  // A safety copy that cannot be made is logged; the write goes on.
  s.common.TempFolder = t.dir.Path() + "gone/";
  p.Bookings.Remove(p.Bookings.At(1));
  p.ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  EXPECT_NE(Log().find("QZ1015 Cannot write safety copy " + t.dir.Path() + "gone/P1-Bookings.bks of " + Path()),
            std::string::npos);
}

// File times are coarse: another user's write can leave the time the list was read
// at. Before an edit, the bytes decide.
TEST_F(BookingFile, AnEditStartsFromTheFileEvenWhenItsTimeDidNotMove) {
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")}));
  ASSERT_TRUE(ReadBookings(s, 1, false, false));
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith"), MakeBooking(kToday + 20, 7, "Jones")}));
  // As if both writes had fallen within one tick of the file system's clock.
  s.Prop(1).BookFileAge = FileTimeAsDateTime(Path());
  EXPECT_FALSE(ReadBookings(s, 1, false, false)) << "a refresh goes by the time";
  EXPECT_TRUE(ReadBookings(s, 1, true, false)) << "an edit goes by the bytes";
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 2);
}

TEST_F(BookingFile, DeletingTheLastBookingDeletesTheFile) {
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")}));
  ASSERT_TRUE(ReadBookings(s, 1, true, false));
  FreeBookings(s, 1);
  s.Prop(1).ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  EXPECT_FALSE(FileExists(Path()));
  ReleaseBookingFile(s);
  EXPECT_FALSE(ReadBookings(s, 1, false, false));
  EXPECT_TRUE(s.Prop(1).Bookings.Empty());
}

TEST_F(BookingFile, NewFileIsCreatedAndHeldAgainstOtherWriters) {
  s.Prop(1).Bookings.Append(MakeBooking(kToday + 10, 7, "First"));
  s.Prop(1).ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  EXPECT_TRUE(FileExists(Path()));
  SharedFile other;
  EXPECT_EQ(other.OpenReadWriteDenyWriters(Path()), SharedFile::Result::Locked);
  ReleaseBookingFile(s);
  EXPECT_EQ(other.OpenReadWriteDenyWriters(Path()), SharedFile::Result::Ok);
}

TEST_F(BookingFile, ASecondUserGetsAReadOnlyHandleAndCannotWrite) {
  WriteFile(BookingFileImage({MakeBooking(kToday + 10, 7, "Smith")}));
  ASSERT_TRUE(ReadBookings(s, 1, true, false));
  EXPECT_FALSE(s.FileReadOnly);

  TestSession other(kToday);
  other.WriteSettings("[Common]\nNumProps=1\n[Prop01]\nPropName=Bramble\n");
  other.session.common = s.common;
  other.session.props = s.props;
  other.session.Prop(1).BookFileAge = 0;
  other.session.Prop(1).Bookings.Clear();
  ASSERT_TRUE(ReadBookings(other.session, 1, true, false));
  EXPECT_TRUE(other.session.FileReadOnly);
  EXPECT_EQ(other.session.Prop(1).Bookings.Count(), 1);

  other.session.Prop(1).ListModified = 1;
  other.dialogs.Expect("QZ1080 Should not occur: P1- booking file not open", MsgIcon::Error,
                       MsgButton::Abort | MsgButton::Help, 1080, MsgButton::Abort);
  EXPECT_FALSE(WriteBookings(other.session, 1));
  EXPECT_EQ(other.session.Prop(1).ListModified, 1);  // kept for a later save
}

TEST_F(BookingFile, AppendAsksToRetryWhileTheFileIsInUse) {
  const std::string log = t.Root() + "Bramble/Archive/Changed.bks";
  ForceDirectories(t.Root() + "Bramble/Archive");
  const Book_Rec r = MakeBooking(kToday + 10, 7, "Smith");
  ASSERT_TRUE(AppendBooking(s, r, log));
  ASSERT_TRUE(AppendBooking(s, r, log));
  std::string bytes;
  ReadWholeFile(log, bytes);
  EXPECT_EQ(bytes, BookingFileImage({r, r}));

  SharedFile holder;
  ASSERT_EQ(holder.OpenReadWriteDenyWriters(log), SharedFile::Result::Ok);
  const std::string question = "E1015 Cannot write to file " + log + "\rIn use? Try again\rAlso check permissions";
  const MsgButtons buttons = MsgButton::Abort | MsgButton::Retry | MsgButton::Help;
  t.dialogs.Expect(question, MsgIcon::Error, buttons, 1015, MsgButton::Retry)
      .Expect(question, MsgIcon::Error, buttons, 1015, MsgButton::Abort);
  EXPECT_FALSE(AppendBooking(s, r, log));
  ReadWholeFile(log, bytes);
  EXPECT_EQ(bytes.size(), 2 * BookRecordSize(r));
}

TEST_F(BookingFile, SortKeepsEqualStartDatesInOrderAndFindSkipsCancelled) {
  Prop_Rec& p = s.Prop(1);
  p.Bookings.Append(MakeBooking(kToday + 14, 7, "C"));
  p.Bookings.Append(MakeBooking(kToday, 7, "A1", Cancelled));
  p.Bookings.Append(MakeBooking(kToday + 14, 3, "D"));
  p.Bookings.Append(MakeBooking(kToday, 7, "A2"));
  EXPECT_TRUE(SortBookings(s, 1));
  std::string order;
  for (const Book_Buffer* b = p.Bookings.First(); b; b = b->Next) order += b->Rec.Surname + " ";
  EXPECT_EQ(order, "A1 A2 C D ");
  EXPECT_FALSE(SortBookings(s, 1));
  CheckBookingList(s, p.Bookings.First(), p.Bookings.Last(), p.Bookings.Count());  // no reports

  auto [node, position] = FindBookingAt(s, 1, kToday + 3);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Rec.Surname, "A2");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(FindBookingAt(s, 1, kToday + 7).first, nullptr);  // the departure day is free
  EXPECT_EQ(FindBookingAt(s, 1, kToday + 16).first->Rec.Surname, "C");
}

TEST_F(BookingFile, CheckReportsBrokenLinks) {
  Book_Buffer a, b;
  a.Next = &b;
  b.Prev = nullptr;  // should point back at a
  t.dialogs.Expect("E1005 Rec=1 PrevPtr error", MsgIcon::Error, MsgButton::Ignore, 1005, MsgButton::Ignore)
      .Expect("E1005 Rec=2 LICPtr error", MsgIcon::Error, MsgButton::Ignore, 1005, MsgButton::Ignore)
      .Expect("Count Disparity.", MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  CheckBookingList(s, &a, &a, 3);
}

TEST_F(BookingFile, SeparateListsLoadAndSaveWithASafetyCopy) {
  const std::string archive = t.Root() + "Bramble/Archive2020.bks";
  const std::vector<Book_Rec> recs{MakeBooking(kToday - 700, 7, "Old"), MakeBooking(kToday - 600, 7, "Older")};
  WriteWholeFile(archive, BookingFileImage(recs));
  LoadedList loaded = LoadBookingList(s, archive);
  ASSERT_EQ(loaded.count, 2);
  loaded.list.Remove(loaded.list.First());
  ASSERT_TRUE(SaveBookingList(s, loaded.handle, loaded.list, 1, archive));
  std::string bytes;
  ReadWholeFile(archive, bytes);
  EXPECT_EQ(bytes, BookingFileImage({recs[1]}));
  ReadWholeFile(s.common.TempFolder + "P1-Archive2020.bks", bytes);
  EXPECT_EQ(bytes, BookingFileImage(recs));
  EXPECT_EQ(LoadBookingList(s, t.Root() + "none.bks").count, 0);
}

// A list read from a file keeps its records' texts in blocks of its own. Records and
// lists taken out of it must not lean on those blocks once it is read again or gone.
TEST_F(BookingFile, RecordsAndListsTakenOutOfAListOutliveItsRereadAndItsEnd) {
  std::vector<Book_Rec> before;
  for (int i = 0; i < 300; ++i) {  // more than one block of texts
    Book_Rec r = MakeBooking(kToday + 7 * i, 7, "Family " + std::to_string(i));
    r.Address = std::to_string(i) + " High St\r\nLeeds";
    r.Email = "f" + std::to_string(i) + "@example.com";
    r.Comments = std::string(static_cast<size_t>(i % 5) * 90, 'c');
    before.push_back(r);
  }
  WriteFile(BookingFileImage(before));
  ASSERT_TRUE(ReadBookings(s, 1, false, false));
  BookingList& list = s.Prop(1).Bookings;

  const Book_Rec copied = list.First()->Rec;
  const BookingList copiedList = list;
  std::vector<Book_Rec> intoVector;
  for (const Book_Buffer* b = list.First(); b; b = b->Next) intoVector.push_back(b->Rec);
  const Prop_Rec copiedProperty = s.Prop(1);

  // The property's file is read again with other texts: the texts read before go.
  std::vector<Book_Rec> after = before;
  for (Book_Rec& r : after) r.Surname = "Later";
  WriteFile(BookingFileImage(after));
  s.Prop(1).BookFileAge = 0;
  ASSERT_TRUE(ReadBookings(s, 1, false, false));
  EXPECT_EQ(BookingsImage(list), BookingFileImage(after));
  EXPECT_TRUE(SameBooking(copied, before[0]));
  EXPECT_EQ(BookingsImage(copiedList), BookingFileImage(before));
  EXPECT_EQ(BookingFileImage(intoVector), BookingFileImage(before));
  EXPECT_EQ(BookingsImage(copiedProperty.Bookings), BookingFileImage(before));

  // A list moved away keeps its texts; a record moved out of it outlives it.
  BookingList movedList = std::move(list);
  const Book_Rec moved = std::move(movedList.At(150)->Rec);  // the 150th
  EXPECT_TRUE(SameBooking(movedList.Last()->Rec, after[299]));
  movedList.Clear();
  EXPECT_TRUE(SameBooking(moved, after[149]));
}

// A text changed in a list read from a file gets bytes of its own; its neighbours in
// the list's blocks stay as read, and the file keeps its layout.
TEST_F(BookingFile, TextsChangedInPlaceAreWrittenExactlyAndTouchNothingElse) {
  std::vector<Book_Rec> recs;
  for (int i = 0; i < 3; ++i) {
    Book_Rec r = MakeBooking(kToday + 7 * i, 7, "Brown" + std::to_string(i));
    r.Fnames = "Ann";
    r.Address = "1 High St\r\nBath";
    r.Comments = "Wants bath salts";
    recs.push_back(r);
  }
  WriteFile(BookingFileImage(recs));
  ASSERT_TRUE(ReadBookings(s, 1, true, false));
  Prop_Rec& p = s.Prop(1);
  Book_Rec& middle = p.Bookings.At(2)->Rec;
  middle.Comments += " and towels";
  middle.Surname = "Browne";
  middle.Address = middle.Address.view().substr(0, 9);  // a piece of its own text
  middle.Fnames.clear();
  recs[1].Comments = "Wants bath salts and towels";
  recs[1].Surname = "Browne";
  recs[1].Address = "1 High St";
  recs[1].Fnames = "";
  p.ListModified = 1;
  ASSERT_TRUE(WriteBookings(s, 1));
  std::string bytes;
  ReadWholeFile(Path(), bytes);
  EXPECT_EQ(bytes, BookingFileImage(recs));
  EXPECT_EQ(BookingsImage(p.Bookings), BookingFileImage(recs));
  // Before the next edit the list is compared with the file: they agree.
  EXPECT_FALSE(ReadBookings(s, 1, true, false));
}

// Saving writes from the list as it is, and a read replaces the texts it had: however
// often either happens, a list holds one file's texts.
TEST_F(BookingFile, AListHoldsOneFilesTextsHoweverOftenItIsSavedOrRead) {
  std::vector<Book_Rec> recs;
  for (int i = 0; i < 600; ++i) recs.push_back(MakeBooking(kToday + 7 * i, 7, std::string(100, 'n')));
  WriteFile(BookingFileImage(recs));
  ASSERT_TRUE(ReadBookings(s, 1, true, false));
  Prop_Rec& p = s.Prop(1);
  const size_t held = p.Bookings.KeptTextBytes();
  EXPECT_GE(held, 600u * (100 + 18));
  for (int round = 0; round < 20; ++round) {
    p.Bookings.First()->Rec.Comments = "Round " + std::to_string(round);
    p.ListModified = 1;
    ASSERT_TRUE(WriteBookings(s, 1));
    EXPECT_EQ(p.Bookings.KeptTextBytes(), held);
    p.BookFileAge = 0;
    ASSERT_TRUE(ReadBookings(s, 1, true, false));
    EXPECT_EQ(p.Bookings.KeptTextBytes(), held);
  }
  EXPECT_EQ(p.Bookings.First()->Rec.Comments, "Round 19");
}

// Any bytes either read or end in the exact 1220 stop; nothing else may happen.
TEST_F(BookingFile, DamagedFilesNeverCrash) {
  std::vector<Book_Rec> recs;
  for (int i = 0; i < 4; ++i) {
    Book_Rec r = MakeBooking(kToday + 7 * i, 7, "Name" + std::to_string(i));
    r.Comments = std::string(static_cast<size_t>(i * 37), 'x');
    recs.push_back(r);
  }
  const std::string good = BookingFileImage(recs);
  std::mt19937 rng(12345);
  int stops = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes = good.substr(0, rng() % (good.size() + 1));
    for (int flips = static_cast<int>(rng() % 4); flips > 0 && !bytes.empty(); --flips)
      bytes[rng() % bytes.size()] = static_cast<char>(rng());
    WriteFile(bytes);
    s.Prop(1).BookFileAge = 0;
    TestSession quiet(kToday);
    quiet.dialogs.permissive = true;  // a damaged date may show its message too
    quiet.session.common = s.common;
    quiet.session.props = s.props;
    try {
      ReadBookings(quiet.session, 1, false, false);
    } catch (const ProcessExit& e) {
      EXPECT_EQ(e.code, 1220);
      ++stops;
    }
  }
  EXPECT_GT(stops, 0);
}

}  // namespace
}  // namespace tb::test
