// Pages saved from the web to be shown from a local file. Standard library
// only.
#pragma once

#include <string>

// The page with the "Mark of the Web" at its top, so the browser gives it
// the rights of the Internet zone rather than those of a local file (which
// may run anything). A byte-order mark stays first.
std::string MarkedAsFromInternet(const std::string& page);
