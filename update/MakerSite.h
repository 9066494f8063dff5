#pragma once
// The maker's web host and support address, and the addresses the program reaches them by.
//
// Both are chosen when the program is built (CMake cache variables TESSEL_WEB_HOST and
// TESSEL_SUPPORT_MAIL); until the maker's real host exists they default to names under the
// reserved ".example" domain, which can never reach a stranger's server.

#include <string>

// The host name alone, as the messages name it ("www.tesselwork.example").
const char* makerWebHost();
// The support mail address ("support@tesselwork.example").
const char* supportMailAddress();

// "http://" + host + "/" + programName + ".ver": the published version of the program.
std::string versionFileUrl(const std::string& programName);
// The installer the browser fetches when the user accepts an update.
std::string downloadUrl();
// The maker's home page.
std::string homePageUrl();
// A new mail to the support address.
std::string mailUrl();
