# Creates an empty booking database at DB with the tool TOOL, unless DB exists.
if(NOT EXISTS "${DB}")
  execute_process(COMMAND "${TOOL}" --create "${DB}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not create ${DB}")
  endif()
  message(STATUS "Created empty ${DB}")
endif()
