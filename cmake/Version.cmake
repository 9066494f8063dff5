# The release number in every form the build stamps it in, from the one project version.
#
# A release is named by a version text such as "2.21" (the About box, the update check, the
# installer's title): a major number and at most two digits after the point, because the
# version file of the update check holds at most four characters. Version blocks need four
# numbers; the digits after the point become the second and third of them, so "2.21" is
# 2.2.1.0 and "2.3" is 2.3.0.0, the form in which the shell extension has always carried it.

set(TESSEL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
string(LENGTH "${TESSEL_VERSION_TEXT}" tessel_version_length)
if(NOT PROJECT_VERSION_MINOR MATCHES "^[0-9][0-9]?$" OR tessel_version_length GREATER 4)
  message(FATAL_ERROR "Release ${PROJECT_VERSION}: at most two digits after the point, four characters in all")
endif()
string(SUBSTRING "${PROJECT_VERSION_MINOR}0" 0 1 tessel_minor_first)
string(SUBSTRING "${PROJECT_VERSION_MINOR}0" 1 1 tessel_minor_second)
set(TESSEL_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${tessel_minor_first},${tessel_minor_second},0")
set(TESSEL_VERSION_DOTTED "${PROJECT_VERSION_MAJOR}.${tessel_minor_first}.${tessel_minor_second}.0")
set(TESSEL_VERSION_SPACED "${PROJECT_VERSION_MAJOR}, ${tessel_minor_first}, ${tessel_minor_second}, 0")

set(TESSEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/TesselVersion.h.in ${TESSEL_GENERATED_DIR}/TesselVersion.h @ONLY)
