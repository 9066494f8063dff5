// The version text the program shows and compares is the release number the build stamps.

#include "base/Identity.h"

#include "TesselVersion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

TEST(ReleaseNumber, ProgramTextIsTheProjectVersion)
{
    EXPECT_STREQ(versionText, TESSEL_VERSION_TEXT);
    // The update check's version file holds at most four characters.
    EXPECT_LE(std::string(versionText).size(), 4u);
}

TEST(ReleaseNumber, FourPartFormsSpellTheVersionText)
{
    // "2.21" -> 2.2.1.0: the digits after the point become the second and third numbers.
    const std::string text = versionText;
    const std::string::size_type point = text.find('.');
    ASSERT_NE(point, std::string::npos);
    std::string digits = text.substr(point + 1) + "00";
    std::ostringstream dotted;
    dotted << text.substr(0, point) << '.' << digits[0] << '.' << digits[1] << ".0";
    EXPECT_EQ(dotted.str(), TESSEL_VERSION_DOTTED);
    std::string spaced = dotted.str();
    for (std::string::size_type at = spaced.find('.'); at != std::string::npos; at = spaced.find('.', at + 2))
        spaced.replace(at, 1, ", ");
    EXPECT_EQ(spaced, TESSEL_VERSION_SPACED);
}
