# Installs the build into DEST and checks that every file is in its place.
file(REMOVE_RECURSE ${DEST})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${DEST} RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(path bin/orb8ed bin/orb8tool bin/orb8-sim share/orb8ed/OnLineHelp/index.html
        share/applications/com.example.orb8ed.desktop share/mime/packages/com.example.orb8ed.xml
        share/icons/hicolor/scalable/apps/com.example.orb8ed.svg share/metainfo/com.example.orb8ed.metainfo.xml)
  if(NOT EXISTS ${DEST}/${path})
    message(FATAL_ERROR "${path} was not installed")
  endif()
endforeach()
file(REMOVE_RECURSE ${DEST})
message(STATUS "1 passed, 0 failed")
