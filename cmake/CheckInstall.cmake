# Installs the build into a scratch prefix and checks that a desktop finds the program there:
cmake_minimum_required(VERSION 3.22)
# cmake -DBUILD=<build dir> -DPREFIX=<scratch dir> -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path bin/luxlog bin/luxlog-cli share/applications/luxlog.desktop
        share/icons/hicolor/scalable/apps/luxlog.svg share/luxlog/luxlog-publish@.service)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/luxlog.desktop" entry)
foreach(line "Exec=luxlog" "Icon=luxlog" "Type=Application")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "luxlog.desktop lacks ${line}")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
