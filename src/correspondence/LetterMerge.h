#pragma once
// The merge of a letter: the 27 fields of a booking, written "<!Name>" in rich-text and
// plain-text proformas and "<-Name->" in HTML ones, replaced by their values in one pass
// over the proforma. Values are escaped for the letter's language; rich-text picture
// groups and "{\*" destinations are copied untouched.

#include <optional>
#include <string>
#include <vector>

#include "correspondence/Proformas.h"
#include "platform/DateTime.h"
#include "store/Session.h"

namespace tb {

struct Book_Rec;

struct MergeField {
  std::string name;
  std::string value;
};

// The fields of property n's booking `r`, in the order they are matched, as a letter
// of `kind` writes them; `owner` is the property's owner when there is one.
std::vector<MergeField> LetterFields(const Session& s, int n, const Book_Rec& r, ProformaKind kind,
                                     const std::optional<Session::OwnerContact>& owner);
// "<property>, <start day> - <end day and year>": the letter's subject, plain.
std::string LetterSubject(const Session& s, int n, const Book_Rec& r);
// The owner's net income from the let: the rent and the charges but the returnable
// deposit and the booking fee, less the management fee with tax on it.
double NetIncome(const Session& s, int n, const Book_Rec& r);
// The proforma with every field replaced wherever it starts; values are never scanned
// again.
std::string MergeLetter(const std::string& proforma, const std::vector<MergeField>& fields, ProformaKind kind);

}  // namespace tb
