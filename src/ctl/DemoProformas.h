#pragma once
// Sample letter proformas for a demo root folder: a confirmation sent as HTML e-mail,
// a balance reminder sent as plain text, arrival instructions sent by post, and one
// property's own arrival instructions, and the owners' monthly accounts e-mail; with
// the attachment folders the e-mails use.

#include <string>

namespace tb {

// Writes them into root and into the first property's folder; "" or the error text.
std::string WriteDemoProformas(const std::string& root, const std::string& firstPropertyFolder);

}  // namespace tb
