# What `cmake --install` puts under the prefix: the libraries, the rows' and
# the SDK's headers (included as on the device, <UIKit/UIKit.h>), klprefs with
# its example and project template, and package files for CMake and pkg-config.
# Every path inside the installation is relative, so it may be moved.
include(CMakePackageConfigHelpers)

set(KL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/klcommon)
set(KL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/klcommon)
set(KL_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS klcommon klutils klsdk ${KL_SDK_FRAMEWORKS} EXPORT klcommonTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${KL_INSTALL_INCLUDEDIR})
# The private frameworks: klprefs loads them, nothing links them.
install(TARGETS SDKPrivate LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_SKIP)

# Headers by folder, so that every header a framework gains is installed.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sdk/ DESTINATION ${KL_INSTALL_INCLUDEDIR}
    FILES_MATCHING PATTERN "*.h" PATTERN "private" EXCLUDE)
file(GLOB KL_ROW_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/KL*.h)
install(FILES ${KL_ROW_HEADERS} ${PROJECT_SOURCE_DIR}/libklutils/libklutils.h
    DESTINATION ${KL_INSTALL_INCLUDEDIR})

# klprefs, its built-in example (with the demo bundle's executable) and the
# template of `klprefs new`, found beside the program.
install(TARGETS klprefs RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${KL_INSTALL_DATADIR}/examples
    PATTERN "CMakeLists.txt" EXCLUDE)
install(TARGETS demo_bundle LIBRARY DESTINATION
    ${KL_INSTALL_DATADIR}/examples/device-root/var/jb/Library/PreferenceBundles/Demo.bundle)
# The bundle is loaded from a copy of the device root, into a klprefs that
# has the libraries loaded already: it finds them by soname, by no path.
set_target_properties(demo_bundle PROPERTIES INSTALL_RPATH "")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/klprefs/template/ DESTINATION ${KL_INSTALL_DATADIR}/template)

# find_package(klcommon CONFIG): klcommon::klcommon, klcommon::klutils,
# klcommon::sdk (and each framework as klcommon::SDK<Framework>), and
# klcommon_add_preference_bundle().
install(EXPORT klcommonTargets NAMESPACE klcommon:: DESTINATION ${KL_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/klcommonConfig.cmake.in
    ${PROJECT_BINARY_DIR}/klcommonConfig.cmake INSTALL_DESTINATION ${KL_INSTALL_CMAKEDIR})
# Until 1.0 each minor version may change the libraries' ABI.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/klcommonConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/klcommonConfig.cmake
    ${PROJECT_BINARY_DIR}/klcommonConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/KlcommonPreferenceBundle.cmake
    DESTINATION ${KL_INSTALL_CMAKEDIR})

# pkg-config: klcommon, klutils and klcommon-sdk, with the prefix found from
# the .pc file's own folder.
file(RELATIVE_PATH KL_PKGCONFIG_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${KL_INSTALL_PKGCONFIGDIR}
     ${CMAKE_INSTALL_PREFIX})
foreach(module klcommon klutils klcommon-sdk)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${module}.pc.in ${PROJECT_BINARY_DIR}/${module}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${module}.pc DESTINATION ${KL_INSTALL_PKGCONFIGDIR})
endforeach()
