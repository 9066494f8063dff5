# The maker's web host and support address, fixed when the program is built. A release
# build names the real ones, for example:
#   cmake -DTESSEL_WEB_HOST=www.example.com -DTESSEL_SUPPORT_MAIL=support@example.com ...
# The defaults lie under the reserved .example domain, which no server answers for.

set(TESSEL_WEB_HOST "www.tesselwork.example" CACHE STRING
  "Host name of the maker's web site: version file, download and home page")
set(TESSEL_SUPPORT_MAIL "support@tesselwork.example" CACHE STRING
  "Support mail address behind the program's mail button")

# Both end up in C string literals and URLs: a host name (with an optional port) and a
# plain address, nothing that would need quoting.
if(NOT TESSEL_WEB_HOST MATCHES "^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:[0-9]+)?$")
  message(FATAL_ERROR "TESSEL_WEB_HOST \"${TESSEL_WEB_HOST}\" is not a host name (www.example.com)")
endif()
if(NOT TESSEL_SUPPORT_MAIL MATCHES "^[A-Za-z0-9._%+-]+@[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$")
  message(FATAL_ERROR "TESSEL_SUPPORT_MAIL \"${TESSEL_SUPPORT_MAIL}\" is not a mail address (support@example.com)")
endif()

set_source_files_properties(${CMAKE_SOURCE_DIR}/update/MakerSite.cpp PROPERTIES COMPILE_DEFINITIONS
  "TESSEL_WEB_HOST=\"${TESSEL_WEB_HOST}\";TESSEL_SUPPORT_MAIL=\"${TESSEL_SUPPORT_MAIL}\"")
