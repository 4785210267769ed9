#pragma once
// A local web site for the demo: per property a folder "Web/P<n>/" holding its
// availability page, ready for "Update selected", and the row template the rows are
// made from.

#include <string>

namespace tb {

inline constexpr const char* kDemoWebPage = "availability.htm";
// "Web/P<n>/", relative to the root folder.
std::string DemoWebFolder(int n);
// Writes the page and the template of property n; "" or the error text.
std::string WriteDemoWebFolder(const std::string& root, int n, const std::string& propertyName);

}  // namespace tb
