# Installs the build into a fresh prefix and checks that a Linux desktop finds
# the programs, the .desktop entry and the icons there.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<empty folder> -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
set(expected bin/arkleton bin/arkleton-cli share/applications/arkleton.desktop
  share/icons/hicolor/scalable/apps/arkleton.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/arkleton.png)
endforeach()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/arkleton.desktop" exec REGEX "^(Exec|Icon)=")
if(NOT exec STREQUAL "Exec=arkleton;Icon=arkleton")
  message(FATAL_ERROR "the entry does not start the installed program with its icon: ${exec}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${PREFIX}/share/applications/arkleton.desktop"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR out)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
else()
  message(WARNING "desktop-file-validate is not installed; the entry was not validated")
endif()
file(REMOVE_RECURSE "${PREFIX}")
