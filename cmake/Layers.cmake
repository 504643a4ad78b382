# Each folder under src/ is a layer: a static library of its own that links only the layers
# below it. The linker alone would not notice a header included from a layer above, so every
# layer also checks the includes of its own files when it builds: an include that runs upward
# fails the build and names the file.

# Project code builds warning-free. GCC 12's maybe-uninitialized misfires on std::optional of Qt
# types (and more so under the sanitizers), so that one check is left out there; so is
# subobject-linkage, which GCC keeps quiet for a fixture in the main file's anonymous namespace
# but not once a unity build has included that file into another.
function(luxlog_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
        $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized -Wno-subobject-linkage>)
endfunction()

# luxlog_layer(<target> FOLDER <dir under the source root>
#              INCLUDES <folders whose headers it may include, as includes name them>...
#              LINKS <targets>...)
# Sources are the folder's own .cpp and .h files; its ui/ subfolder is a layer of its own.
function(luxlog_layer target)
    cmake_parse_arguments(ARG "" "FOLDER" "INCLUDES;LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/${ARG_FOLDER}/*.cpp ${PROJECT_SOURCE_DIR}/${ARG_FOLDER}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        # A layer with nothing to compile yet still passes on what it links.
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${ARG_LINKS})
        return()
    endif()
    # Includes name headers from src/ without that prefix ("link/Clock.h").
    string(REGEX REPLACE "^src/" "" own ${ARG_FOLDER})
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_includes.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DLAYER=${target} "-DALLOWED=${own};${ARG_INCLUDES}"
                "-DSOURCES=${sources}" -DSTAMP=${stamp}
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
        DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
        COMMENT "Checking the includes of ${target}" VERBATIM)
    add_library(${target} STATIC ${sources} ${stamp})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
    luxlog_warnings(${target})
    luxlog_precompile(${target})
endfunction()

option(LUXLOG_PCH "Precompile the Qt and standard headers most files include" ON)

# Qt's headers are most of what each file costs to compile: each target parses them once.
function(luxlog_precompile target)
    if(NOT LUXLOG_PCH)
        return()
    endif()
    set(headers <QByteArray> <QDateTime> <QObject> <QString> <QStringList> <QTimer> <functional>
        <memory> <optional> <vector>)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(target MATCHES "_ui$|^luxgui_tests$|^luxintegration_tests$" OR "Qt6::Widgets" IN_LIST libraries)
        list(APPEND headers <QLabel> <QPainter> <QWidget>)
    endif()
    if(target MATCHES "_tests$|^luxtestsupport$")
        list(APPEND headers <gtest/gtest.h>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
