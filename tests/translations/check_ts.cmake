# Fails when a translation lacks a string the sources show, or keeps one
# they no longer show: lupdate brings a copy of each .ts file up to date
# with every source and form, and the copy must have nothing unfinished,
# vanished or obsolete.
#   cmake -DLUPDATE=... -DSOURCES=<src folder> -DWORK=<scratch folder> -DTS="a.ts;b.ts" -P check_ts.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(failed "")
foreach(ts ${TS})
  get_filename_component(name ${ts} NAME)
  file(COPY ${ts} DESTINATION ${WORK})
  execute_process(COMMAND ${LUPDATE} -locations none ${SOURCES} -ts ${WORK}/${name}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}: ${out}${err}")
  endif()
  file(READ ${WORK}/${name} text)
  string(REGEX MATCHALL "<message>[^<]*<source>[^<]*</source>[^<]*<translation type=\"(unfinished|vanished|obsolete)\"" bad "${text}")
  foreach(entry ${bad})
    string(REGEX REPLACE ".*<source>([^<]*)</source>.*type=\"([a-z]+)\".*" "\\2: \\1" said "${entry}")
    string(APPEND failed "  ${name} ${said}\n")
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Translations not up to date (run: cmake --build build --target innkeld_gui_lupdate, then translate):\n${failed}")
endif()
message(STATUS "Every translation has every string the sources show, and no other.")
