# Installs the build into a fresh prefix and checks what lands there:
#   cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/innkeld bin/innkeld-sql share/innkeld/HELPSYS.qch
          share/applications/example.innkeld.Innkeld.desktop share/metainfo/example.innkeld.Innkeld.metainfo.xml
          share/icons/hicolor/scalable/apps/innkeld.svg share/icons/hicolor/48x48/apps/innkeld.png
          share/icons/hicolor/256x256/apps/innkeld.png)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The installed programs run from there and know their version.
execute_process(COMMAND ${PREFIX}/bin/innkeld --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "innkeld 1.2")
  message(FATAL_ERROR "innkeld --version: ${rc} ${out}")
endif()
# The toolkit's own options are the toolkit's; only the program's unknown
# ones are refused.
execute_process(COMMAND ${PREFIX}/bin/innkeld -platform offscreen -style fusion -reverse --bogus
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT err MATCHES "Unknown option 'bogus'")
  message(FATAL_ERROR "innkeld with the toolkit's options: ${rc} ${err}")
endif()
execute_process(COMMAND ${PREFIX}/bin/innkeld-sql --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "innkeld-sql 1.2")
  message(FATAL_ERROR "innkeld-sql --version: ${rc} ${out}")
endif()
# The desktop's own validators, where they are installed.
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
  execute_process(COMMAND ${DESKTOP_VALIDATE} ${PREFIX}/share/applications/example.innkeld.Innkeld.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${PREFIX}/share/metainfo/example.innkeld.Innkeld.metainfo.xml
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
  endif()
endif()
message(STATUS "installed and checked in ${PREFIX}")
