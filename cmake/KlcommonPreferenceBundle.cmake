# klcommon_add_preference_bundle(NAME <name> SOURCES <file>... DEVICE_ROOT <folder>
#                                [TARGET <target>] [LINKS <library>...])
#
# Builds a preference bundle's executable, the shared library that exports
# its list controller by name, into <name>.bundle of a copy of DEVICE_ROOT in
# the build folder (<binary dir>/device-root), where klprefs loads it:
#
#     klprefs --device-root build/device-root render -o page.png
#
# The bundle is looked for under /var/jb/Library/PreferenceBundles (rootless)
# and /Library/PreferenceBundles (rootful) of DEVICE_ROOT; its Info.plist
# names <name> as CFBundleExecutable. The target is TARGET, else <name>.
function(klcommon_add_preference_bundle)
    cmake_parse_arguments(ARG "" "NAME;DEVICE_ROOT;TARGET" "SOURCES;LINKS" ${ARGN})
    if(NOT ARG_NAME OR NOT ARG_SOURCES OR NOT ARG_DEVICE_ROOT)
        message(FATAL_ERROR "klcommon_add_preference_bundle wants NAME, SOURCES and DEVICE_ROOT")
    endif()
    if(NOT ARG_TARGET)
        set(ARG_TARGET ${ARG_NAME})
    endif()
    get_filename_component(source_root "${ARG_DEVICE_ROOT}" ABSOLUTE)
    set(bundle "")
    foreach(folder var/jb/Library/PreferenceBundles Library/PreferenceBundles)
        if(IS_DIRECTORY "${source_root}/${folder}/${ARG_NAME}.bundle")
            set(bundle "${folder}/${ARG_NAME}.bundle")
            break()
        endif()
    endforeach()
    if(NOT bundle)
        message(FATAL_ERROR "klcommon_add_preference_bundle: no ${ARG_NAME}.bundle in "
                            "${source_root}/var/jb/Library/PreferenceBundles or "
                            "${source_root}/Library/PreferenceBundles")
    endif()

    set(built_root "${CMAKE_CURRENT_BINARY_DIR}/device-root")
    add_custom_target(${ARG_TARGET}_device_root
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${source_root}" "${built_root}"
        COMMENT "Copying the device root of ${ARG_NAME}.bundle")
    add_library(${ARG_TARGET} MODULE ${ARG_SOURCES})
    target_link_libraries(${ARG_TARGET} PRIVATE klcommon::klcommon ${ARG_LINKS})
    set_target_properties(${ARG_TARGET} PROPERTIES
        PREFIX "" SUFFIX "" OUTPUT_NAME ${ARG_NAME}
        LIBRARY_OUTPUT_DIRECTORY "${built_root}/${bundle}")
    add_dependencies(${ARG_TARGET} ${ARG_TARGET}_device_root)
endfunction()
