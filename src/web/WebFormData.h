#pragma once
// A booking form's data file from the user's web site: "[BOOKFORM]" and then lines of
// name "=" value, merged into the booking window's empty fields.

#include <string>
#include <string_view>
#include <vector>

namespace tb {

struct BookingFields;

// How much of a form's page is looked at for a server's own "not found" page, and how
// much of a data file is read at all.
inline constexpr size_t kFormTextLimit = 16384;

// True when the first kFormTextLimit bytes hold a server's "page not found" text in any
// letter case: many servers answer a missing page with a page of their own.
bool HoldsNotFoundText(std::string_view text);

// The data file's lines when it is form data (it begins with "[BOOKFORM]" in any
// letter case and holds no "not found" text), else none. A file written in UTF-8 is
// taken to Windows-1252 ("?" for what it cannot hold); any other bytes stay as they
// are. cut: the file was longer than what was read, so its last bytes may end inside
// a character.
std::vector<std::string> FormDataLines(std::string_view text, bool cut);

// The form's values in the fields as the web form fills them: a field already filled
// keeps its value (the comments get the form's text added), each value cut to what the
// window takes, the address to its five lines. "Mail=no" ticks "Omit from mailshots?",
// any other "Mail=" value unticks it.
void MergeFormData(BookingFields& f, const std::vector<std::string>& lines);

}  // namespace tb
