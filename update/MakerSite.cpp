// The maker's addresses, formed from the host and mail address chosen at build time.

#include "update/MakerSite.h"

// The build passes both; the fallbacks keep a build outside CMake harmless.
#ifndef TESSEL_WEB_HOST
#define TESSEL_WEB_HOST "www.tesselwork.example"
#endif
#ifndef TESSEL_SUPPORT_MAIL
#define TESSEL_SUPPORT_MAIL "support@tesselwork.example"
#endif

const char* makerWebHost()
{
    return TESSEL_WEB_HOST;
}

const char* supportMailAddress()
{
    return TESSEL_SUPPORT_MAIL;
}

std::string versionFileUrl(const std::string& programName)
{
    return std::string("http://") + makerWebHost() + "/" + programName + ".ver";
}

std::string downloadUrl()
{
    return std::string("http://") + makerWebHost() + "/download/tessel2.exe";
}

std::string homePageUrl()
{
    return std::string("http://") + makerWebHost();
}

std::string mailUrl()
{
    return std::string("mailto:") + supportMailAddress();
}
