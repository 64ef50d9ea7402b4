# The Debian package: `cpack -G DEB` in a build folder makes heliora_<version>_amd64.deb from everything that
# `cmake --install` lays out, with /usr as its prefix. scripts/package builds the release preset and runs it.
# Included last by the top-level CMakeLists.txt, once every folder has declared what it installs.

set(CPACK_PACKAGE_NAME heliora)
set(CPACK_PACKAGE_VENDOR "The Heliora developers")
set(CPACK_PACKAGE_CONTACT "The Heliora developers <feedback@heliora.app>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://heliora.app)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop orrery: the planets around the Sun on any day")
# The long description, as dpkg shows it: paragraphs of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [=[
Heliora shows the solar system as an orrery on a dark field: the Sun in
the middle and the planets from Mercury to Neptune, and Pluto on request,
on evenly spaced rings, each at the place its orbit gives it on the date
shown.
.
A clock runs at real time, pauses, and steps through speeds up to a
hundred million times real time, forwards and backwards. Every body opens
a window with its physical facts compared with Earth. Links such as
heliora://?date=20240131 open Heliora at that day, also in a window that
is already running.
.
heliora-widgets puts the orrery on the desktop as widgets that show the
present moment, renewed every quarter of an hour; on Plasma the same
widgets are in Plasma's widget gallery.
.
heliora-cli prints positions and facts as JSON and renders the orrery
into PNG or SVG pictures.]=])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Release builds carry debug information for profiling; the package ships stripped programs.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries that the programs link (Qt, ICU, the C++ run-time) and writes Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt opens links (the Help menu, the fact sheets) through xdg-open; under Wayland Qt needs its Wayland plug-in,
# without it Qt falls back to X11 through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Files under /etc (autostart entries) are configuration files: an upgrade keeps the administrator's edits.
get_property(heliora_conffiles GLOBAL PROPERTY HELIORA_CONFFILES)
if(heliora_conffiles)
    list(JOIN heliora_conffiles "\n" heliora_conffiles_text)
    file(WRITE ${PROJECT_BINARY_DIR}/package/conffiles "${heliora_conffiles_text}\n")
    list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/package/conffiles)
endif()

include(CPack)
