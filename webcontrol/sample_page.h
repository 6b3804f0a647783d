// Where the page host finds the sample page it opens when it is given none. A build tree
// keeps it in page/ beside the host (build/bin/page/); an installed host lives in
// <prefix>/lib/<install name>/ and the page in <prefix>/share/<install name>/page/.
#pragma once

#include <string>

// The file name of the sample page.
extern const char kSamplePageName[];

// The sample page of the host whose folder is hostFolder: hostFolder/page/<page> when it is
// there, else hostFolder/../../share/<installName>/page/<page> when that is there, else "".
std::string SamplePageFor(const std::string& hostFolder, const std::string& installName);
