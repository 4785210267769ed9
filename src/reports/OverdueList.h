#pragma once
// The overdue list: every booking of every property that needs the user's attention
// (late payments, expired waiting-list places, deposits to repay, cancellations not
// refunded, payments not acknowledged), one reason each, sortable by any column.

#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "store/BookRec.h"
#include "store/PropRec.h"

namespace tb {

class Session;
struct Book_Buffer;

// Why booking b of property p needs attention on `today`, or "" when it does not.
std::string OverdueReason(const Book_Rec& b, const Prop_Rec& p, TDateTime today);

struct OverdueRow {
  int prop = 0;
  std::string propName;
  int rec = 0;  // the booking's position in its property's list, from 1
  TDateTime start = 0;
  std::string surname, firstName;  // as the booking has them
  std::string reason;
  // The booking itself: valid only while its property's list has not been read again
  // (OpenOverdueRow checks it before use).
  Book_Buffer* node = nullptr;
};

enum class OverdueColumn { Prop, Property, Rec, LetStarts, Surname, FirstName, Comment };
inline constexpr int kOverdueColumns = 7;
const char* OverdueHeading(OverdueColumn c);  // " ", "Property", "Rec", ...
std::string OverdueCellText(const OverdueRow& r, OverdueColumn c);

// The properties the list covers, in number order: all but those named "Ruza Rorazed",
// which come only when the current property has that name.
std::vector<int> OverdueProperties(const Session& s);
// The rows of those properties from the lists in memory, in property and list order.
std::vector<OverdueRow> OverdueRows(const Session& s, const std::vector<int>& properties, TDateTime today);

// The list a window shows: built, sorted by a heading, built again keeping the sort.
class OverdueList {
 public:
  // Reads first the booking files the chart does not keep current (the other
  // properties in "C"), then builds the rows as of today and sorts them as the user
  // last chose. False when a booking file could not be read (its message shown): the
  // list then holds that property as it was last read.
  bool Build(Session& s);
  // A click on a heading: by that column's text ignoring case (Windows-1252 letters
  // folded), the same heading again reverses. Equal texts keep their order.
  void SortBy(OverdueColumn column);
  // The row that shows this booking (same property, start day and surname), or -1.
  int Find(const OverdueRow& like) const;

  std::vector<OverdueRow> rows;
  int sortColumn = -1;  // -1: property and list order
  bool descending = false;

 private:
  void Sort();
};

}  // namespace tb
