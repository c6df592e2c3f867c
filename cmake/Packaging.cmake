# `cpack -G DEB` in the build folder makes klprefs_<version>_amd64.deb: klprefs
# with its example and template, the libraries and their development files
# (headers, CMake package, pkg-config). Its dependencies on the system's
# libraries come from dpkg-shlibdeps (dpkg-dev) reading what they link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME klprefs)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "libklcommon developers <klcommon@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "preview and test the settings pages of iOS tweaks, with libklcommon's rows")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "klprefs loads a tweak's preference bundle from a folder that stands for the device, "
    "shows its page as the Settings app does, runs scripts on it and draws it to PNG. "
    "With libklcommon, libklutils, the system frameworks' stand-in they run on, and their "
    "headers, CMake package and pkg-config files, to build a bundle's list controller.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for packages built against these libraries, and ldconfig's trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The packaged libraries depend on each other; dpkg-shlibdeps finds them here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-Linux/usr/${CMAKE_INSTALL_LIBDIR})
# Pages are drawn in Inter, with Noto for emoji and other scripts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-inter")
# What building a bundle against the package needs: the compiler, CMake and
# the development files of the libraries the frameworks link.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-core, fonts-noto-color-emoji, fonts-noto-cjk, cmake, g++, pkg-config, libplist-dev, libglib2.0-dev, libcurl4-openssl-dev, libpango1.0-dev, libcairo2-dev, libgdk-pixbuf-2.0-dev, librsvg2-dev")
include(CPack)
